#pragma once
// Tells a running window what a command changed in the settings database it
// shares with the command line (app/instance_request.h): the window then
// follows a selected profile or the changed rules. Nothing happens when no
// window runs.

#include <string>

namespace tk410::ctl_tool {

// Sends `line` to the running window of this user; false when none took it.
bool NotifyRunningWindow(const std::string& line);

}  // namespace tk410::ctl_tool
