#include "rules/rule_for_window.h"

#include "base/text.h"
#include "rules/app_rule.h"
#include "rules/name_compare.h"

namespace tk410 {

AppRuleRecord RuleForWindow(const WindowIdentity& window, const ProgramIdentity& program) {
  AppRuleRecord rule;
  rule.match_type = -1;
  const std::string candidates[] = {program.steam_app_id, SteamAppOfClass(window.wm_class),
                                    SteamAppOfClass(window.wm_instance)};
  for (const std::string& app : candidates) {
    if (!app.empty() && MatchTextProblem(kMatchSteamApp, FromUtf8(app)).empty()) {
      rule.match_type = kMatchSteamApp;
      rule.match_text = FromUtf8(app);
      return rule;
    }
  }
  const std::string name = ProgramName(program);
  if (!name.empty() && MatchTextProblem(kMatchExecutable, FromUtf8(name)).empty()) {
    rule.match_type = kMatchExecutable;
    rule.match_text = FromUtf8(name);
    return rule;
  }
  for (const std::string& cls : {window.wm_class, window.wm_instance}) {
    if (!cls.empty() && MatchTextProblem(kMatchWindowClass, FromUtf8(cls)).empty()) {
      rule.match_type = kMatchWindowClass;
      rule.match_text = FromUtf8(cls);
      return rule;
    }
  }
  return rule;
}

}  // namespace tk410
