#pragma once
// Commands that work on the settings database only: profiles, configuration
// values, button assignments and macros of the current profile.
#include <string>
#include <vector>

#include "ctl/ctl_result.h"

namespace tk410::ctl_tool {

class Session;
using Args = std::vector<std::string>;

Outcome ProfileCommand(Session& session, const Args& args);
Outcome GetCommand(Session& session, const Args& args);
Outcome SetCommand(Session& session, const Args& args);
Outcome AssignCommand(Session& session, const Args& args);
Outcome MacroCommand(Session& session, const Args& args);

}  // namespace tk410::ctl_tool
