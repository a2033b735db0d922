// The per-program rules table: its rows, and an older database (a file made
// by the program before the table existed) opening with it added and
// nothing lost.

#include <gtest/gtest.h>

#include <filesystem>

#include "store/store_fixture.h"

namespace tk410::testing {
namespace {

namespace fs = std::filesystem;

AppRuleRecord Rule(int type, const std::wstring& text, int profile) {
  AppRuleRecord rule;
  rule.match_type = type;
  rule.match_text = text;
  rule.profile = profile;
  return rule;
}

std::vector<std::string> RuleRows(ConfigDatabase& db) {
  RecordList<AppRuleRecord> rules;
  db.LoadAppRules(rules);
  std::vector<std::string> rows;
  for (const auto& r : rules) {
    rows.push_back(std::to_string(r->rule_id) + " " + std::to_string(r->match_type) + " " +
                   std::string(r->match_text.begin(), r->match_text.end()) + " " + std::to_string(r->profile));
  }
  return rows;
}

TEST_F(StoreTest, RulesAreAddedChangedAndRemoved) {
  ASSERT_TRUE(Open());
  EXPECT_FALSE(db_.HasAppRules());
  EXPECT_EQ(db_.AddAppRule(Rule(1, L"Game.exe", 3)), 1);
  EXPECT_EQ(db_.AddAppRule(Rule(3, L"570", 2)), 2);
  EXPECT_TRUE(db_.HasAppRules());

  // The rule for every other program is one: a second replaces the first.
  EXPECT_EQ(db_.AddAppRule(Rule(0, L"", 4)), 3);
  EXPECT_EQ(db_.AddAppRule(Rule(0, L"", 5)), 4);
  EXPECT_EQ(RuleRows(db_), (std::vector<std::string>{"1 1 Game.exe 3", "2 3 570 2", "4 0  5"}));

  EXPECT_TRUE(db_.SetAppRuleProfile(2, 1));
  EXPECT_FALSE(db_.SetAppRuleProfile(9, 1));
  EXPECT_TRUE(db_.DeleteAppRule(1));
  EXPECT_FALSE(db_.DeleteAppRule(1));
  EXPECT_EQ(RuleRows(db_), (std::vector<std::string>{"2 3 570 1", "4 0  5"}));

  // Reset all data keeps the rules: they name profiles 1 to 5, which the
  // reset makes again.
  db_.ClearAll();
  EXPECT_EQ(RuleRows(db_), (std::vector<std::string>{"2 3 570 1", "4 0  5"}));
  EXPECT_EQ(db_.AddAppRule(Rule(2, L"steam", 1)), 5);
}

// Every row of every table but sqlite_sequence, as text, table by table.
std::vector<std::string> AllRows(RawDb& raw, const std::vector<std::string>& tables) {
  std::vector<std::string> rows;
  for (const std::string& table : tables) {
    std::string columns;
    for (const std::string& column : raw.Column("SELECT name FROM pragma_table_info('" + table + "')")) {
      columns += (columns.empty() ? "quote(\"" : " || ',' || quote(\"") + column + "\")";
    }
    for (const std::string& row : raw.Column("SELECT " + columns + " FROM " + table)) rows.push_back(table + ": " + row);
  }
  return rows;
}

TEST_F(StoreTest, OlderDatabaseGainsTheRulesTableAndLosesNothing) {
  // Made by tk410ctl before rules existed: five profiles, profile 2 active,
  // changed values, two button assignments, two macros with steps.
  const fs::path fixture = fs::path(TK410_TEST_DATA_DIR) / "db" / "TK410_data_kvr-3f3c52c.db";
  ASSERT_TRUE(fs::exists(fixture));
  fs::copy_file(fixture, FilePath());

  const std::vector<std::string> tables = {"t_configdata", "t_profile_data", "t_key_macro_data", "t_key_otherdata",
                                           "t_macro_data", "t_macrorecord",  "t_light_data",     "t_key_light_data",
                                           "sqlite_sequence"};
  std::vector<std::string> before;
  {
    RawDb raw(FilePath());
    ASSERT_EQ(raw.Int("SELECT count(*) FROM sqlite_master WHERE name = 't_app_rule'"), 0);
    before = AllRows(raw, tables);
  }
  ASSERT_EQ(before.size(), 125u + 5 + 2 + 2 + 3 + 5);

  ASSERT_TRUE(Open());
  EXPECT_EQ(db_.GetActiveProfile(), 2);
  std::wstring value;
  EXPECT_TRUE(db_.GetConfigValue(1, L"dpi_group2_value", value));
  EXPECT_EQ(value, L"3300");
  EXPECT_FALSE(db_.HasAppRules());
  EXPECT_EQ(db_.AddAppRule(Rule(1, L"Game.exe", 2)), 1);
  ASSERT_TRUE(db_.Close());

  RawDb raw(FilePath());
  EXPECT_EQ(raw.Int("SELECT count(*) FROM t_app_rule"), 1);
  std::vector<std::string> after = AllRows(raw, tables);
  // The new table's numbering joined sqlite_sequence; nothing else changed.
  EXPECT_EQ(std::erase(after, "sqlite_sequence: 't_app_rule',1"), 1u);
  EXPECT_EQ(after, before);
}

}  // namespace
}  // namespace tk410::testing
