#pragma once
// The command line of tk410ctl: global options first, then the command and
// its arguments.
//
//   tk410ctl [--simulate wired|receiver|nordic] [--sim-state FILE]
//            [--sim-fault FAULT] [--data-dir DIR]
//            [--device-type N] [--trace-frames FILE|-] [--json] COMMAND [ARGS]
#include <string>
#include <utility>
#include <vector>

namespace tk410::ctl_tool {

struct CtlOptions {
  std::string simulate;      // empty: the real HID devices
  std::string sim_state;     // firmware state file of the virtual mouse
  // Fault switch of the virtual mouse: no-reply, open-denied, or a timing
  // fault (stray-report, late-reply, duplicate-reply, optionally ":N").
  std::string sim_fault;
  std::string data_dir;      // empty: the normal data directory
  int device_type = 101;
  std::string trace_frames;  // empty: no trace; "-": stdout
  bool json = false;
  bool help = false;
  // What `rule add` names, in the order given: ("exe", NAME), ("class",
  // CLASS), ("steam", APPID) from --exe, --class, --steam; ("other", "")
  // from --other.
  std::vector<std::pair<std::string, std::string>> rule_matches;
  std::string command;
  std::vector<std::string> args;
};

// Parses argv[1..]. Options may also follow the command (so `profile list
// --json` works); "--" ends option parsing. False with a one-line `error`
// on a malformed line.
bool ParseOptions(const std::vector<std::string>& argv, CtlOptions* options, std::string* error);

// Strict decimal (optionally "0x" hexadecimal) integer; false for anything else.
bool ParseInt(const std::string& text, long long* value);

// The usage text printed by --help and after usage errors.
const char* UsageText();

}  // namespace tk410::ctl_tool
