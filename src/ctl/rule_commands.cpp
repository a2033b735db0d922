// rule list|add|remove|export|import: the per-program profile rules of the
// settings database. A running window hears of every change.

#include <cstdio>
#include <limits>

#include "app/instance_request.h"
#include "base/text.h"
#include "ctl/commands.h"
#include "ctl/ctl_options.h"
#include "ctl/ctl_session.h"
#include "ctl/json_text.h"
#include "ctl/terminal_text.h"
#include "ctl/window_notify.h"
#include "rules/app_rule.h"
#include "store/config_database.h"
#include "xml/rules_file.h"

namespace tk410::ctl_tool {

namespace {

void Print(const std::string& line) { std::printf("%s\n", line.c_str()); }

Outcome Usage(const std::string& message) { return Outcome::Fail(kExitUsage, message); }

bool ParsePositive(const std::string& text, int* value) {
  long long parsed = 0;
  if (!ParseInt(text, &parsed) || parsed < 1 || parsed > std::numeric_limits<int>::max()) return false;
  *value = static_cast<int>(parsed);
  return true;
}

void RulesChanged(Session& session) { NotifyRunningWindow(RulesRequestLine(session.Db().GetPath())); }

Outcome ListRules(Session& session) {
  RecordList<AppRuleRecord> rules;
  session.Db().LoadAppRules(rules);
  const bool json = session.Options().json;
  std::string out = "[";
  for (const auto& rule : rules) {
    const char* kind = MatchTypeName(rule->match_type);
    const std::string kind_text = kind ? kind : std::to_string(rule->match_type);
    if (json) {
      if (out.size() > 1) out += ",";
      out += "{\"id\":" + std::to_string(rule->rule_id) + ",\"match\":" + JsonString(FromUtf8(kind_text)) +
             ",\"text\":" + JsonString(rule->match_text) + ",\"profile\":" + std::to_string(rule->profile) + "}";
    } else {
      std::string line = std::to_string(rule->rule_id) + " " + kind_text;
      if (!rule->match_text.empty()) line += " " + TerminalText(rule->match_text);
      Print(line + " -> profile " + std::to_string(rule->profile));
    }
  }
  if (json) Print(out + "]");
  return Outcome::Ok();
}

Outcome AddRule(Session& session, const Args& args) {
  const auto& matches = session.Options().rule_matches;
  int profile = 0;
  if (args.size() != 2 || !ParsePositive(args[1], &profile) || matches.size() != 1) {
    return Usage("rule add needs a PROFILE and one of --exe NAME, --class CLASS, --steam APPID, --other");
  }
  ConfigDatabase& db = session.Db();
  if (!db.HasProfile(profile)) return Outcome::Fail(kExitData, "no profile " + args[1]);
  AppRuleRecord rule;
  rule.match_type = MatchTypeOfName(matches[0].first);
  rule.match_text = FromUtf8(matches[0].second);
  rule.profile = profile;
  const std::string problem = MatchTextProblem(rule.match_type, rule.match_text);
  if (!problem.empty()) return Usage("cannot add the rule: " + problem);
  const int id = db.AddAppRule(rule);
  if (id == 0) return Outcome::Fail(kExitData, "cannot store the rule");
  Print(session.Options().json ? "{\"id\":" + std::to_string(id) + "}" : std::to_string(id));
  RulesChanged(session);
  return Outcome::Ok();
}

Outcome RemoveRule(Session& session, const Args& args) {
  int id = 0;
  if (args.size() != 2 || !ParsePositive(args[1], &id)) return Usage("rule remove needs a rule id");
  if (!session.Db().DeleteAppRule(id)) return Outcome::Fail(kExitData, "no rule " + args[1]);
  RulesChanged(session);
  return Outcome::Ok();
}

Outcome RulesFileCommand(Session& session, const Args& args) {
  const std::string& verb = args[0];
  if (args.size() != 2 || args[1].empty()) return Usage("rule " + verb + " needs one FILE");
  const std::string& file = args[1];
  if (verb == "export") {
    if (!SaveRulesFile(session.Db(), FromUtf8(file))) return Outcome::Fail(kExitData, "cannot write the rules file " + file);
    return Outcome::Ok();
  }
  const RulesImportReport report = ImportRulesFile(session.Db(), FromUtf8(file));
  switch (report.status) {
    case RulesImportStatus::kImported:
      Print(std::to_string(report.stored) + " rules imported from " + file);
      RulesChanged(session);
      return Outcome::Ok();
    case RulesImportStatus::kBadRule:
      return Outcome::Fail(kExitData, "cannot import " + file + ": rule " + std::to_string(report.bad_rule) + ": " +
                                          report.problem + "; nothing was changed");
    case RulesImportStatus::kNotStored:
      return Outcome::Fail(kExitData, "cannot store " + file + " in the settings database; nothing was changed");
    default:
      return Outcome::Fail(kExitData, "cannot read " + file + ": missing, unreadable or not a rules file");
  }
}

}  // namespace

Outcome RuleCommand(Session& session, const Args& args) {
  if (args.empty()) return Usage("rule needs list, add, remove, export or import");
  const std::string& verb = args[0];
  if (verb != "add" && !session.Options().rule_matches.empty()) {
    return Usage("--exe, --class, --steam and --other belong to rule add");
  }
  if (verb == "list") {
    if (args.size() != 1) return Usage("rule list takes no arguments");
    return ListRules(session);
  }
  if (verb == "add") return AddRule(session, args);
  if (verb == "remove") return RemoveRule(session, args);
  if (verb == "export" || verb == "import") return RulesFileCommand(session, args);
  return Usage("unknown rule command '" + verb + "'");
}

}  // namespace tk410::ctl_tool
