// Rows of t_app_rule: the profile the mouse takes while a program's window is
// in front. The rules belong to no profile and are kept by "reset all data",
// which renumbers the profiles from 1 again.

#include "store/config_database.h"
#include "store/sql_query.h"

namespace tk410 {

namespace {

// The rule for every other program.
constexpr int kOtherPrograms = 0;

bool RuleExists(SQLiteDB& connection, int rule_id) {
  SqlQuery query(connection);
  query.Prepare("SELECT count(*) FROM t_app_rule WHERE rule_id = ?", {rule_id});
  return query.NextRow() && query.Int(0) > 0;
}

}  // namespace

int ConfigDatabase::AddAppRule(const AppRuleRecord& record) {
  std::lock_guard<std::recursive_mutex> hold(lock_);
  int rule_id = 0;
  auto insert = [&] {
    SqlQuery query(connection_);
    if (record.match_type == kOtherPrograms) {
      query.Prepare("DELETE FROM t_app_rule WHERE match_type = ?", {kOtherPrograms});
      if (!query.Run()) return false;
    }
    query.Prepare("INSERT INTO t_app_rule(match_type, match_text, profile) VALUES (?, ?, ?)",
                  {record.match_type, record.match_text, record.profile});
    rule_id = InsertedId(query.Run());
    return rule_id != 0;
  };
  // Inside a caller's transaction the statements join it.
  if (connection_.InTransaction()) return insert() ? rule_id : 0;
  return RunTransaction(insert) ? rule_id : 0;
}

int ConfigDatabase::LoadAppRules(RecordList<AppRuleRecord>& list) {
  std::lock_guard<std::recursive_mutex> hold(lock_);
  list.clear();
  SqlQuery query(connection_);
  query.Prepare("SELECT rule_id, match_type, match_text, profile FROM t_app_rule ORDER BY rule_id");
  return AppendRows(query, list, [](const SqlQuery& row, AppRuleRecord& record) {
    record.rule_id = row.Int(0);
    record.match_type = row.Int(1);
    record.match_text = row.Text(2);
    record.profile = row.Int(3);
  });
}

bool ConfigDatabase::DeleteAppRule(int rule_id) {
  std::lock_guard<std::recursive_mutex> hold(lock_);
  if (!RuleExists(connection_, rule_id)) return false;
  SqlQuery query(connection_);
  query.Prepare("DELETE FROM t_app_rule WHERE rule_id = ?", {rule_id});
  return query.Run();
}

bool ConfigDatabase::SetAppRuleProfile(int rule_id, int profile) {
  std::lock_guard<std::recursive_mutex> hold(lock_);
  if (!RuleExists(connection_, rule_id)) return false;
  SqlQuery query(connection_);
  query.Prepare("UPDATE t_app_rule SET profile = ? WHERE rule_id = ?", {profile, rule_id});
  return query.Run();
}

bool ConfigDatabase::HasAppRules() {
  std::lock_guard<std::recursive_mutex> hold(lock_);
  SqlQuery query(connection_);
  query.Prepare("SELECT count(*) FROM t_app_rule");
  return query.NextRow() && query.Int(0) > 0;
}

}  // namespace tk410
