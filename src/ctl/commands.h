#pragma once
// The commands of tk410ctl. Database commands work on the current profile of
// the settings database; device commands open the HID side, scan as the
// window does and run the window's routines.
#include <string>
#include <vector>

#include "ctl/ctl_result.h"

namespace tk410::ctl_tool {

class Session;
using Args = std::vector<std::string>;

// Settings database (store_commands.cpp, assign_command.cpp).
Outcome ProfileCommand(Session& session, const Args& args);
Outcome GetCommand(Session& session, const Args& args);
Outcome SetCommand(Session& session, const Args& args);
Outcome AssignCommand(Session& session, const Args& args);
Outcome MacroCommand(Session& session, const Args& args);
// Per-program profile rules (rule_commands.cpp).
Outcome RuleCommand(Session& session, const Args& args);
// profile export|import FILE (profile_file_commands.cpp); args[0] is the verb.
Outcome ProfileFileCommand(Session& session, const Args& args);

// Macro files (macro_file_commands.cpp): args as MacroCommand has them.
Outcome MacroExportCommand(Session& session, const Args& args);
Outcome MacroImportCommand(Session& session, const Args& args);

// Device (device_commands.cpp).
Outcome DevicesCommand(Session& session, const Args& args);
Outcome StatusCommand(Session& session, const Args& args);
Outcome ReadCommand(Session& session, const Args& args);
Outcome WriteCommand(Session& session, const Args& args);
Outcome RestoreCommand(Session& session, const Args& args);
Outcome UdevRulesCommand(const Args& args);

// The window's start-up, hot-plug and status poll, printed (watch_command.cpp).
Outcome WatchCommand(Session& session, const Args& args);

}  // namespace tk410::ctl_tool
