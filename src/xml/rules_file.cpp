#include "xml/rules_file.h"

#include "base/text.h"
#include "rules/app_rule.h"
#include "xml/xml_file_io.h"

namespace tk410 {

namespace {

constexpr wchar_t kRoot[] = L"apprules";
constexpr wchar_t kRule[] = L"rule";

bool StoreRule(ConfigDatabase& db, const AppRuleRecord& rule) {
  RecordList<AppRuleRecord> existing;
  db.LoadAppRules(existing);
  for (const auto& old : existing) {
    if (old->match_type == rule.match_type && old->match_text == rule.match_text) {
      return db.SetAppRuleProfile(old->rule_id, rule.profile);
    }
  }
  return db.AddAppRule(rule) != 0;
}

}  // namespace

std::wstring BuildRulesDocument(ConfigDatabase& db) {
  RecordList<AppRuleRecord> rules;
  db.LoadAppRules(rules);
  XmlDocument doc;
  StartXmlDocument(doc);
  doc.AddElement(kRoot);
  doc.EnterElement();
  for (const auto& rule : rules) {
    const char* name = MatchTypeName(rule->match_type);
    if (!name) continue;
    doc.AddElement(kRule);
    doc.SetAttribute(L"match", FromUtf8(name));
    doc.SetAttribute(L"text", rule->match_text);
    doc.SetAttribute(L"profile", FormatInt(rule->profile));
  }
  doc.LeaveElement();
  return doc.GetDocText();
}

bool SaveRulesFile(ConfigDatabase& db, const std::wstring& path) {
  XmlDocument doc;
  return doc.SetDocText(BuildRulesDocument(db)) && doc.SaveFile(path);
}

RulesImportReport ImportRulesFile(ConfigDatabase& db, const std::wstring& path) {
  RulesImportReport report;
  XmlDocument doc;
  if (!LoadXmlFileWithRoot(doc, path, kRoot)) return report;
  std::vector<AppRuleRecord> rules;
  if (doc.EnterElement()) {
    while (doc.FindElement(kRule)) {
      AppRuleRecord rule;
      rule.match_type = MatchTypeOfName(ToUtf8(doc.GetAttribute(L"match")));
      rule.match_text = doc.GetAttribute(L"text");
      rule.profile = IntAttribute(doc, L"profile");
      std::string problem = rule.match_type < 0 ? "unknown kind of rule"
                                                : MatchTextProblem(rule.match_type, rule.match_text);
      if (problem.empty() && !db.HasProfile(rule.profile)) problem = "no profile " + std::to_string(rule.profile);
      if (!problem.empty()) {
        report.status = RulesImportStatus::kBadRule;
        report.bad_rule = static_cast<int>(rules.size()) + 1;
        report.problem = problem;
        return report;
      }
      rules.push_back(rule);
    }
  }
  const bool stored = db.RunTransaction([&] {
    for (const AppRuleRecord& rule : rules) {
      if (!StoreRule(db, rule)) return false;
    }
    return true;
  });
  report.status = stored ? RulesImportStatus::kImported : RulesImportStatus::kNotStored;
  report.stored = stored ? static_cast<int>(rules.size()) : 0;
  return report;
}

}  // namespace tk410
