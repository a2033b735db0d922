#pragma once
// Which rule decides the profile for the window in front.
//
// A Steam app id rule wins over an executable rule, which wins over a window
// class rule (from the most to the least specific); among rules of one kind
// the oldest (lowest rule_id) wins. When none matches, the rule for every
// other program decides; without it nothing changes.

#include "platform/active_window_source.h"
#include "rules/program_identity.h"
#include "store/records.h"

namespace tk410 {

struct RuleDecision {
  int profile = 0;  // 0: leave the profile as it is
  int rule_id = 0;  // the rule that decided; 0 when none did
};

// Whether `rule` names the program of this window. An executable rule with a
// '/' is an absolute path and is compared with the executable and the first
// argument exactly; without one it is a file name, compared (case aside)
// with the file names of the executable, of the first argument and of any
// ".exe" argument. A class rule is compared (case aside) with both names of
// WM_CLASS; a Steam rule with SteamAppId and with a class "steam_app_<id>".
bool RuleMatches(const AppRuleRecord& rule, const WindowIdentity& window, const ProgramIdentity& program);

RuleDecision DecideProfile(const RecordList<AppRuleRecord>& rules, const WindowIdentity& window,
                           const ProgramIdentity& program);

}  // namespace tk410
