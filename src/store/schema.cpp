#include "store/schema.h"

#include <cwchar>

#include "base/text.h"
#include "store/config_database.h"
#include "store/sql_query.h"

namespace tk410 {

const std::vector<const char*>& SchemaStatements() {
  static const std::vector<const char*> statements = {
      "CREATE TABLE IF NOT EXISTS t_configdata(config_id INTEGER PRIMARY KEY AUTOINCREMENT, "
      "profile INTEGER, key TEXT, value TEXT)",
      "CREATE TABLE IF NOT EXISTS t_profile_data(profile INTEGER PRIMARY KEY AUTOINCREMENT, "
      "name TEXT, status INTEGER, app TEXT, type INTEGER)",
      "CREATE INDEX IF NOT EXISTS profileindex ON t_profile_data(profile)",
      "CREATE TABLE IF NOT EXISTS t_key_macro_data(key_id INTEGER PRIMARY KEY AUTOINCREMENT, "
      "profile INTEGER, fn_layer INTEGER, key_code INTEGER, layout_value INTEGER, "
      "layout_desc TEXT, macro_type INTEGER, macro_value INTEGER, macro_value2 INTEGER, "
      "macro_value3 INTEGER, macro_desc TEXT)",
      "CREATE INDEX IF NOT EXISTS keyindex ON t_key_macro_data(key_id)",
      // Every button row is found by these three; files made before the index
      // gain it on their next open.
      "CREATE INDEX IF NOT EXISTS keycodeindex ON t_key_macro_data(profile, fn_layer, key_code)",
      "CREATE TABLE IF NOT EXISTS t_key_otherdata(macro_value INTEGER PRIMARY KEY AUTOINCREMENT, "
      "macro_desc TEXT, param TEXT, type INTEGER)",
      "CREATE INDEX IF NOT EXISTS otheridindex ON t_key_otherdata(macro_value)",
      "CREATE TABLE IF NOT EXISTS t_macro_data(macro_id INTEGER PRIMARY KEY AUTOINCREMENT, "
      "name TEXT, play_type INTEGER, play_times INTEGER, delay_type INTEGER, delay_time INTEGER)",
      "CREATE INDEX IF NOT EXISTS macroidindex ON t_macro_data(macro_id)",
      "CREATE TABLE IF NOT EXISTS t_macrorecord(record_id INTEGER PRIMARY KEY AUTOINCREMENT, "
      "macro_id INTEGER, type INTEGER, record_index INTEGER, desc TEXT, value INTEGER, "
      "delay_time INTEGER)",
      "CREATE INDEX IF NOT EXISTS macrorecordindex ON t_macrorecord(record_id)",
      "CREATE TABLE IF NOT EXISTS t_light_data(light_id INTEGER PRIMARY KEY AUTOINCREMENT, "
      "profile INTEGER, name TEXT, mode INTEGER, brightness INTEGER, speed INTEGER, "
      "direction INTEGER, colorful INTEGER, colorindex INTEGER, color_value INTEGER, "
      "config_func INTEGER, reserved INTEGER, status INTEGER)",
      "CREATE INDEX IF NOT EXISTS lightindex ON t_light_data(light_id)",
      "CREATE TABLE IF NOT EXISTS t_key_light_data(keylight_id INTEGER PRIMARY KEY "
      "AUTOINCREMENT, profile INTEGER, light_id INTEGER, key_code INTEGER, key_rgb INTEGER)",
      "CREATE INDEX IF NOT EXISTS keylightindex ON t_key_light_data(keylight_id)",
      // The per-program profile rules; files made before them gain the empty
      // table on their next open. Not among the tables a file must hold: a
      // read-only older file still serves, with no rules.
      "CREATE TABLE IF NOT EXISTS t_app_rule(rule_id INTEGER PRIMARY KEY AUTOINCREMENT, "
      "match_type INTEGER, match_text TEXT, profile INTEGER)",
  };
  return statements;
}

const std::vector<const char*>& SchemaTables() {
  static const std::vector<const char*> tables = {
      "t_configdata",    "t_profile_data", "t_key_macro_data", "t_key_otherdata",
      "t_macro_data",    "t_macrorecord",  "t_light_data",     "t_key_light_data"};
  return tables;
}

const std::vector<DefaultConfigRow>& DefaultConfigRows() {
  static const std::vector<DefaultConfigRow> rows = {
      {L"version", L"1.0.1", L"1.0.1"},
      {L"light_mode", L"0", L"0"},
      {L"sleep_light", L"20", L"20"},
      {L"report_rate", L"2", L"3"},
      {L"button_respondtime", L"8", L"4"},
      {L"sensor_flag", L"53", L"53"},
      {L"liftoff_height", L"1", L"1"},
      {L"scroll_flag", L"0", L"0"},
      {L"e-sports_flag", L"1", L"1"},
      {L"leftbtn_lock", L"1", L"1"},
      {L"dpi_flag", L"5", L"5"},
      {L"dpi_index", L"2", L"2"},
      {L"dpi_count", L"5", L"5"},
      {L"dpi_group0_value", L"800", L"800"},
      {L"dpi_group1_value", L"1600", L"1600"},
      {L"dpi_group2_value", L"3200", L"3200"},
      {L"dpi_group3_value", L"4800", L"4800"},
      {L"dpi_group4_value", L"8000", L"8000"},
      {L"dpi_group5_value", L"12000", L"12000"},
      {L"dpi_group0_rgb", L"255", L"255"},
      {L"dpi_group1_rgb", L"65280", L"65280"},
      {L"dpi_group2_rgb", L"16711680", L"16711680"},
      {L"dpi_group3_rgb", L"65535", L"65535"},
      {L"dpi_group4_rgb", L"16776960", L"16776960"},
      {L"dpi_group5_rgb", L"8388736", L"8388736"},
  };
  return rows;
}

bool ConfigDatabase::CreateSchema() {
  std::lock_guard<std::recursive_mutex> hold(lock_);
  if (connection_.IsOpen()) return true;
  if (!connection_.Open(path_.c_str(), kOpenCreate)) return false;
  return RunSchemaStatements();
}

bool ConfigDatabase::RunSchemaStatements() {
  bool all = true;
  for (const char* sql : SchemaStatements()) {
    if (connection_.Exec(sql) != 0) all = false;
  }
  return all;
}

bool ConfigDatabase::CompleteSchema() {
  if (RunSchemaStatements()) return true;
  // A file that cannot be written (read-only) still serves when it holds
  // every table; only an index it lacks is missing then.
  SqlQuery query(connection_);
  for (const char* table : SchemaTables()) {
    query.Prepare("SELECT count(*) FROM sqlite_master WHERE type = 'table' AND name = ?",
                  {FromUtf8(table)});
    if (!query.NextRow() || query.Int(0) != 1) return false;
  }
  return true;
}

bool ConfigDatabase::GetConfigValue(int profile, const std::wstring& key, std::wstring& value) {
  std::lock_guard<std::recursive_mutex> hold(lock_);
  value.clear();
  SqlQuery query(connection_);
  query.Prepare("SELECT value FROM t_configdata WHERE profile = ? and key = ?", {profile, key});
  if (!query.NextRow()) return false;
  value = query.Text(0);
  return true;
}

bool ConfigDatabase::SetConfigValue(int profile, const std::wstring& key,
                                    const std::wstring& value) {
  std::lock_guard<std::recursive_mutex> hold(lock_);
  SqlQuery query(connection_);
  query.Prepare("UPDATE t_configdata SET value = ? WHERE profile = ? and key = ?",
                {value, profile, key});
  return query.Run();
}

void ConfigDatabase::InsertDefaultConfig(int profile) {
  std::lock_guard<std::recursive_mutex> hold(lock_);
  const bool nordic = IsNordic();
  SqlQuery query(connection_);
  for (const DefaultConfigRow& row : DefaultConfigRows()) {
    query.Prepare("INSERT INTO t_configdata(profile, key, value) VALUES (?, ?, ?);",
                  {profile, row.key, nordic ? row.nordic : row.wired});
    query.Step();
  }
}

void ConfigDatabase::ResetConfigDefaults(int profile) {
  const bool nordic = IsNordic();
  for (const DefaultConfigRow& row : DefaultConfigRows()) {
    if (std::wcscmp(row.key, L"version") == 0) continue;
    const wchar_t* value = nordic ? row.nordic : row.wired;
    // The wired report-rate default follows how the mouse is attached: "4"
    // when it is connected directly (mode 0), "2" otherwise or without one.
    if (!nordic && std::wcscmp(row.key, L"report_rate") == 0) {
      value = ConnectionMode() == 0 ? L"4" : L"2";
    }
    SetConfigValue(profile, row.key, value);
  }
}

}  // namespace tk410
