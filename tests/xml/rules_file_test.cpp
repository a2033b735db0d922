// The rules file: written from the database, read back whole or not at all.

#include <gtest/gtest.h>

#include <filesystem>

#include "rules/app_rule.h"
#include "store/config_database.h"
#include "support/temp_dir.h"
#include "xml/rules_file.h"

namespace tk410 {
namespace {

class RulesFileTest : public ::testing::Test {
 protected:
  RulesFileTest() {
    std::filesystem::create_directories(dir_.path() / "db");
    EXPECT_TRUE(db_.OpenForDevice(dir_.wide(), L"TK410"));
    db_.EnsureDefaultProfiles();
  }
  int Add(int type, const std::wstring& text, int profile) {
    AppRuleRecord rule;
    rule.match_type = type;
    rule.match_text = text;
    rule.profile = profile;
    return db_.AddAppRule(rule);
  }
  std::wstring File(const std::string& name) const { return (dir_.path() / name).wstring(); }

  testing::TempDir dir_;
  ConfigDatabase db_;
};

TEST_F(RulesFileTest, WrittenExactlyAndReadBack) {
  Add(kMatchExecutable, L"Fight & \"Flight\".exe", 3);
  Add(kMatchSteamApp, L"570", 2);
  Add(kMatchOtherPrograms, L"", 1);
  ASSERT_TRUE(SaveRulesFile(db_, File("rules.xml")));
  EXPECT_EQ(dir_.Read("rules.xml"),
            "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n<apprules>\r\n"
            "<rule match=\"exe\" text=\"Fight &amp; &quot;Flight&quot;.exe\" profile=\"3\"/>\r\n"
            "<rule match=\"steam\" text=\"570\" profile=\"2\"/>\r\n"
            "<rule match=\"other\" text=\"\" profile=\"1\"/>\r\n</apprules>\r\n");

  // Into a database that has one of them with another profile: that rule
  // takes the file's profile, the others are added; nothing is doubled.
  for (int i = 0; i < 2; ++i) {
    RecordList<AppRuleRecord> rules;
    db_.LoadAppRules(rules);
    for (const auto& r : rules) db_.DeleteAppRule(r->rule_id);
    Add(kMatchSteamApp, L"570", 5);
    const RulesImportReport report = ImportRulesFile(db_, File("rules.xml"));
    EXPECT_EQ(report.status, RulesImportStatus::kImported);
    EXPECT_EQ(report.stored, 3);
    db_.LoadAppRules(rules);
    ASSERT_EQ(rules.size(), 3u);
    EXPECT_EQ(rules[0]->match_text, L"570");
    EXPECT_EQ(rules[0]->profile, 2);
  }
  ASSERT_TRUE(SaveRulesFile(db_, File("again.xml")));
  EXPECT_EQ(dir_.Read("again.xml").size(), dir_.Read("rules.xml").size());
}

TEST_F(RulesFileTest, OneBadRuleChangesNothing) {
  Add(kMatchWindowClass, L"keep", 4);
  struct Case {
    const char* rule;
    RulesImportStatus status;
    int bad_rule;
  };
  const Case cases[] = {
      {"<rule match=\"exe\" text=\"a\" profile=\"1\"/><rule match=\"exe\" text=\"b\" profile=\"9\"/>",
       RulesImportStatus::kBadRule, 2},
      {"<rule match=\"window\" text=\"a\" profile=\"1\"/>", RulesImportStatus::kBadRule, 1},
      {"<rule match=\"steam\" text=\"0x1\" profile=\"1\"/>", RulesImportStatus::kBadRule, 1},
      {"<rule match=\"other\" text=\"a\" profile=\"1\"/>", RulesImportStatus::kBadRule, 1},
  };
  for (const Case& c : cases) {
    dir_.Write("bad.xml", std::string("<apprules>") + c.rule + "</apprules>");
    const RulesImportReport report = ImportRulesFile(db_, File("bad.xml"));
    EXPECT_EQ(report.status, c.status) << c.rule;
    EXPECT_EQ(report.bad_rule, c.bad_rule) << c.rule;
    EXPECT_FALSE(report.problem.empty());
  }
  dir_.Write("profile.xml", "<profile><profileinfo name=\"x\"/></profile>");
  EXPECT_EQ(ImportRulesFile(db_, File("profile.xml")).status, RulesImportStatus::kUnreadable);
  EXPECT_EQ(ImportRulesFile(db_, File("missing.xml")).status, RulesImportStatus::kUnreadable);
  RecordList<AppRuleRecord> rules;
  ASSERT_EQ(db_.LoadAppRules(rules), 1);
  EXPECT_EQ(rules[0]->match_text, L"keep");
}

}  // namespace
}  // namespace tk410
