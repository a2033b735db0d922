#include "rules/rule_match.h"

#include "base/text.h"
#include "rules/app_rule.h"
#include "rules/name_compare.h"

namespace tk410 {

namespace {

bool ExecutableMatches(const std::string& rule, const ProgramIdentity& program) {
  const std::string first = program.args.empty() ? "" : program.args[0];
  if (rule.find('/') != std::string::npos) return rule == program.exe_path || rule == first;
  if (!program.exe_path.empty() && SameName(rule, PathFileName(program.exe_path))) return true;
  if (!first.empty() && SameName(rule, PathFileName(first))) return true;
  for (const std::string& arg : program.args) {
    if (EndsWithExe(arg) && SameName(rule, PathFileName(arg))) return true;
  }
  return false;
}

bool SteamMatches(const std::string& rule, const WindowIdentity& window, const ProgramIdentity& program) {
  if (!program.steam_app_id.empty() && program.steam_app_id == rule) return true;
  return SteamAppOfClass(window.wm_class) == rule || SteamAppOfClass(window.wm_instance) == rule;
}

// The kinds in the order they are tried.
constexpr int kPrecedence[] = {kMatchSteamApp, kMatchExecutable, kMatchWindowClass};

}  // namespace

bool RuleMatches(const AppRuleRecord& rule, const WindowIdentity& window, const ProgramIdentity& program) {
  const std::string text = ToUtf8(rule.match_text);
  if (text.empty()) return false;
  switch (rule.match_type) {
    case kMatchExecutable:
      return ExecutableMatches(text, program);
    case kMatchWindowClass:
      return SameName(text, window.wm_class) || SameName(text, window.wm_instance);
    case kMatchSteamApp:
      return SteamMatches(text, window, program);
    default:
      return false;
  }
}

RuleDecision DecideProfile(const RecordList<AppRuleRecord>& rules, const WindowIdentity& window,
                           const ProgramIdentity& program) {
  for (int type : kPrecedence) {
    for (const auto& rule : rules) {
      if (rule->match_type == type && RuleMatches(*rule, window, program)) return {rule->profile, rule->rule_id};
    }
  }
  for (const auto& rule : rules) {
    if (rule->match_type == kMatchOtherPrograms) return {rule->profile, rule->rule_id};
  }
  return {};
}

}  // namespace tk410
