#pragma once
// Commands that talk to the mouse through the main window's routines, and the
// udev rule for the catalogue's devices.
#include <string>
#include <vector>

#include "ctl/ctl_result.h"

namespace tk410::ctl_tool {

class Session;
using Args = std::vector<std::string>;

Outcome DevicesCommand(Session& session, const Args& args);
Outcome StatusCommand(Session& session, const Args& args);
Outcome ReadCommand(Session& session, const Args& args);
Outcome WriteCommand(Session& session, const Args& args);
Outcome RestoreCommand(Session& session, const Args& args);
Outcome UdevRulesCommand(const Args& args);

}  // namespace tk410::ctl_tool
