#pragma once
// Exit codes of tk410ctl and the outcome of one command: the code and, for a
// failure, the one-line message printed on stderr.
#include <string>

namespace tk410::ctl_tool {

enum ExitCode : int {
  kExitOk = 0,
  kExitNoDevice = 1,          // device absent or not answering
  kExitUsage = 2,             // bad arguments, unknown command, unavailable family
  kExitData = 3,              // file or data error (database, state file, unknown record)
  kExitPermission = 4,        // a matching device is present but may not be opened
};

struct Outcome {
  int code = kExitOk;
  std::string message;  // empty on success

  bool ok() const { return code == kExitOk; }
  static Outcome Ok() { return {}; }
  static Outcome Fail(int code, std::string message) { return {code, std::move(message)}; }
};

// The fix for a permission failure, named in every message about one.
inline constexpr char kUdevFix[] =
    "tk410ctl udev-rules | sudo tee /etc/udev/rules.d/70-tk410.rules && "
    "sudo udevadm control --reload && sudo udevadm trigger";

}  // namespace tk410::ctl_tool
