#include "ctl/ctl_options.h"

#include <cerrno>
#include <cctype>
#include <cstdlib>

#include "sim/timing_faults.h"

namespace tk410::ctl_tool {

bool ParseInt(const std::string& text, long long* value) {
  if (text.empty() || text.size() > 20) return false;
  size_t start = (text[0] == '-' || text[0] == '+') ? 1 : 0;
  int base = 10;
  if (text.size() > start + 2 && text[start] == '0' && (text[start + 1] == 'x' || text[start + 1] == 'X')) {
    base = 16;
  }
  if (start >= text.size()) return false;
  errno = 0;
  char* end = nullptr;
  const long long parsed = std::strtoll(text.c_str(), &end, base);
  if (errno != 0 || end == text.c_str() || *end != '\0') return false;
  // strtoll skips leading white space; a number must not.
  if (text[0] == ' ' || text[0] == '\t') return false;
  *value = parsed;
  return true;
}

namespace {

// Options that take a value, and where it goes.
std::string* ValueSlot(const std::string& name, CtlOptions* o) {
  if (name == "--simulate") return &o->simulate;
  if (name == "--sim-state") return &o->sim_state;
  if (name == "--sim-fault") return &o->sim_fault;
  if (name == "--data-dir") return &o->data_dir;
  if (name == "--trace-frames") return &o->trace_frames;
  return nullptr;
}

}  // namespace

bool ParseOptions(const std::vector<std::string>& argv, CtlOptions* options, std::string* error) {
  CtlOptions& o = *options;
  bool options_ended = false;
  for (size_t i = 0; i < argv.size(); ++i) {
    std::string arg = argv[i];
    const bool is_option = !options_ended && arg.size() > 1 && arg[0] == '-' &&
                           !(arg.size() > 1 && (std::isdigit(static_cast<unsigned char>(arg[1]))));
    if (!is_option) {
      if (o.command.empty()) {
        o.command = arg;
      } else {
        o.args.push_back(arg);
      }
      continue;
    }
    if (arg == "--") {
      options_ended = true;
      continue;
    }
    if (arg == "--json") {
      o.json = true;
      continue;
    }
    if (arg == "--help" || arg == "-h") {
      o.help = true;
      continue;
    }
    if (arg == "--other") {
      o.rule_matches.emplace_back("other", "");
      continue;
    }
    // --name=value or --name value
    std::string value;
    bool has_value = false;
    const size_t eq = arg.find('=');
    if (eq != std::string::npos) {
      value = arg.substr(eq + 1);
      arg = arg.substr(0, eq);
      has_value = true;
    }
    std::string* slot = ValueSlot(arg, &o);
    const bool is_device_type = arg == "--device-type";
    const bool is_rule_match = arg == "--exe" || arg == "--class" || arg == "--steam";
    if (is_rule_match) {
      o.rule_matches.emplace_back(arg.substr(2), "");
      slot = &o.rule_matches.back().second;
    }
    if (!slot && !is_device_type) {
      *error = "unknown option " + arg;
      return false;
    }
    if (!has_value) {
      if (i + 1 >= argv.size()) {
        *error = "option " + arg + " needs a value";
        return false;
      }
      value = argv[++i];
    }
    if (value.empty()) {
      *error = "option " + arg + " needs a non-empty value";
      return false;
    }
    if (is_device_type) {
      long long type = 0;
      if (!ParseInt(value, &type) || type < 1 || type > 65535) {
        *error = "--device-type needs a number from 1 to 65535, not '" + value + "'";
        return false;
      }
      o.device_type = static_cast<int>(type);
    } else {
      *slot = value;
    }
  }
  if (!o.simulate.empty() && o.simulate != "wired" && o.simulate != "receiver" &&
      o.simulate != "nordic") {
    *error = "--simulate takes wired, receiver or nordic, not '" + o.simulate + "'";
    return false;
  }
  TimingFaultSwitch timing;
  int silent_from = 0;
  if (!o.sim_fault.empty() && o.sim_fault != "open-denied" &&
      !ParseNamedFault(o.sim_fault, "no-reply", &silent_from) && !ParseTimingFault(o.sim_fault, &timing)) {
    *error = "--sim-fault takes no-reply[:N], open-denied, stray-report[:N], late-reply[:N] or "
             "duplicate-reply[:N] (N from 1), not '" + o.sim_fault + "'";
    return false;
  }
  if ((!o.sim_state.empty() || !o.sim_fault.empty()) && o.simulate.empty()) {
    *error = "--sim-state and --sim-fault need --simulate";
    return false;
  }
  if (o.command.empty() && !o.help) {
    *error = "no command given";
    return false;
  }
  return true;
}

const char* UsageText() {
  return
      "usage: tk410ctl [--simulate wired|receiver|nordic] [--sim-state FILE]\n"
      "                [--sim-fault FAULT] [--data-dir DIR]\n"
      "                [--device-type N] [--trace-frames FILE|-] [--json] COMMAND [ARGS]\n"
      "commands:\n"
      "  devices                      attached interfaces: index, vid:pid, mode, online, path\n"
      "  status                       connection text, active mode, battery, firmware versions\n"
      "  read                         read the mouse into the current profile\n"
      "  write                        write settings, keys and macros to the mouse\n"
      "  restore                      restore the current profile's defaults and write them\n"
      "  profile list | profile select N\n"
      "  profile export FILE          the current profile to a profile file\n"
      "  profile import FILE          a profile file into the current profile (whole or not at all)\n"
      "  get [KEY] | set KEY VALUE    configuration values of the current profile\n"
      "  assign KEY_CODE KIND [VALUE [VALUE2]]   store a button function\n"
      "  macro list | macro new [NAME] | macro show ID\n"
      "  macro export ID DIR          write the macro to DIR/NAME-TICK.xml; print the file\n"
      "  macro import FILE            add the macro of a macro file; print its id\n"
      "  rule list                    the per-program profile rules (--json: as JSON)\n"
      "  rule add PROFILE --exe NAME|--class CLASS|--steam APPID|--other\n"
      "                               use PROFILE while that program is in front; print the id\n"
      "  rule remove ID | rule export FILE | rule import FILE\n"
      "  udev-rules                   print the udev rule for the catalogue's devices\n"
      "  watch [SECONDS]              run start-up, hot-plug and the status poll; print changes\n"
      "FAULT (the virtual mouse): no-reply[:N], open-denied, stray-report[:N], late-reply[:N],\n"
      "  duplicate-reply[:N]; N is the request it hits (1-based), without N every request;\n"
      "  no-reply:N: the mouse stops answering from request N on\n"
      "exit codes: 0 success, 1 device absent or not answering, 2 usage error,\n"
      "            3 file or data error, 4 permission denied on a present device\n";
}

}  // namespace tk410::ctl_tool
