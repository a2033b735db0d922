#pragma once
// The rule that names the program of a window, for "add the program in
// front": its Steam app id where it has one (a game keeps it whatever its
// executable is called), else its program name (the ".exe" of a Windows
// program), else its window class.

#include "platform/active_window_source.h"
#include "rules/program_identity.h"
#include "store/records.h"

namespace tk410 {

// match_type -1 when the window names no program at all; profile is left 0.
AppRuleRecord RuleForWindow(const WindowIdentity& window, const ProgramIdentity& program);

}  // namespace tk410
