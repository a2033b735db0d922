// The command line of tk410ctl: arguments (separated by NUL bytes in the
// input) through the option parser, the number and fault parsers, and the
// escaping that prints them back in error lines and listings.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "ctl/ctl_options.h"
#include "ctl/json_text.h"
#include "ctl/terminal_text.h"
#include "sim/timing_faults.h"
#include "support/check.h"

namespace {

using namespace tk410;

// No C0 control (nor DEL, for the terminal) is left unescaped.
bool Printable(const std::string& text, bool del_allowed) {
  for (unsigned char c : text) {
    if (c < 0x20 || (c == 0x7F && !del_allowed)) return false;
  }
  return true;
}

void Escapes(const std::string& arg) {
  TK410_FUZZ_CHECK(Printable(ctl_tool::TerminalText(arg), false));
  const std::string json = ctl_tool::JsonString(arg);
  TK410_FUZZ_CHECK(json.size() >= 2 && json.front() == '"' && json.back() == '"');
  TK410_FUZZ_CHECK(Printable(json, true));
}

void Number(const std::string& arg) {
  long long value = 0;
  if (!ctl_tool::ParseInt(arg, &value)) return;
  long long again = 0;
  TK410_FUZZ_CHECK(ctl_tool::ParseInt(std::to_string(value), &again) && again == value);
}

void Faults(const std::string& text) {
  TimingFaultSwitch fault;
  if (ParseTimingFault(text, &fault)) {
    TK410_FUZZ_CHECK(fault.request >= TimingFaultSwitch::kEveryRequest && fault.request <= 1000000);
  }
  int request = -1;
  if (ParseNamedFault(text, "no-reply", &request)) TK410_FUZZ_CHECK(request >= 0 && request <= 1000000);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::vector<std::string> argv;
  std::string arg;
  for (size_t i = 0; i < size; ++i) {
    if (data[i] == 0) {
      argv.push_back(arg);
      arg.clear();
    } else {
      arg += static_cast<char>(data[i]);
    }
  }
  argv.push_back(arg);

  ctl_tool::CtlOptions options;
  std::string error;
  if (ctl_tool::ParseOptions(argv, &options, &error)) {
    TK410_FUZZ_CHECK(options.device_type >= 1 && options.device_type <= 65535);
    for (const std::string& a : options.args) Number(a);
    Faults(options.sim_fault);
  } else {
    TK410_FUZZ_CHECK(!error.empty());
  }
  for (const std::string& a : argv) {
    Escapes(a);
    Number(a);
    Faults(a);
  }
  return 0;
}
