// Macros (t_macro_data, shared by all profiles) and their steps
// (t_macrorecord).

#include "store/config_database.h"
#include "store/sql_query.h"

namespace tk410 {

namespace {

constexpr const char* kInsertMacro =
    "INSERT INTO t_macro_data(name, play_type, play_times, delay_type, delay_time) "
    "VALUES (?, ?, ?, ?, ?);";
constexpr const char* kInsertMacroEvent =
    "INSERT INTO t_macrorecord(macro_id, type, record_index, desc, value, delay_time) "
    "VALUES (?, ?, ?, ?, ?, ?);";

void ReadMacro(const SqlQuery& query, MacroRecord& out) {
  out.macro_id = query.Int(0);
  out.name = query.Text(1);
  out.play_type = query.Int(2);
  out.play_times = query.Int(3);
  out.delay_type = query.Int(4);
  out.delay_time = query.Int(5);
}

int PrepareMacroEvent(SqlQuery& query, const MacroEvent& event) {
  return query.Prepare(kInsertMacroEvent, {event.macro_id, event.type, event.record_index,
                                           event.desc, event.value, event.delay_time});
}

}  // namespace

int ConfigDatabase::AddMacro(const std::wstring& name) {
  MacroRecord record;
  record.name = name;
  record.play_type = 0;
  record.play_times = 1;
  record.delay_type = 1;
  record.delay_time = 0;
  return AddMacro(record);
}

int ConfigDatabase::AddMacro(const MacroRecord& record) {
  std::lock_guard<std::recursive_mutex> hold(lock_);
  SqlQuery query(connection_);
  query.Prepare(kInsertMacro, {record.name, record.play_type, record.play_times,
                               record.delay_type, record.delay_time});
  return InsertedId(query.Run());
}

bool ConfigDatabase::RenameMacro(int macro_id, const std::wstring& name) {
  std::lock_guard<std::recursive_mutex> hold(lock_);
  SqlQuery query(connection_);
  query.Prepare("UPDATE t_macro_data SET name = ? WHERE macro_id = ?", {name, macro_id});
  return query.Run();
}

bool ConfigDatabase::UpdateMacro(int macro_id, const MacroRecord& record) {
  std::lock_guard<std::recursive_mutex> hold(lock_);
  SqlQuery query(connection_);
  query.Prepare(
      "UPDATE t_macro_data SET name = ?, play_type = ?, play_times = ?, delay_type = ?,"
      "delay_time = ? WHERE macro_id = ?",
      {record.name, record.play_type, record.play_times, record.delay_type, record.delay_time,
       macro_id});
  return query.Run();
}

bool ConfigDatabase::DeleteMacro(int macro_id) {
  std::lock_guard<std::recursive_mutex> hold(lock_);
  SqlQuery query(connection_);
  query.Prepare("DELETE FROM t_macro_data WHERE macro_id = ?", {macro_id});
  if (!query.Run()) return false;
  query.Prepare("DELETE FROM t_macrorecord WHERE macro_id = ?", {macro_id});
  return query.Run();
}

bool ConfigDatabase::GetMacro(int macro_id, MacroRecord& out) {
  std::lock_guard<std::recursive_mutex> hold(lock_);
  SqlQuery query(connection_);
  query.Prepare("SELECT * FROM t_macro_data WHERE macro_id = ?", {macro_id});
  if (!query.NextRow()) return false;
  ReadMacro(query, out);
  return true;
}

int ConfigDatabase::LoadMacros(RecordList<MacroRecord>& list) {
  std::lock_guard<std::recursive_mutex> hold(lock_);
  list.clear();
  SqlQuery query(connection_);
  query.Prepare("SELECT * FROM t_macro_data");
  return AppendRows(query, list, ReadMacro);
}

int ConfigDatabase::AddMacroEvent(const MacroEvent& event) {
  std::lock_guard<std::recursive_mutex> hold(lock_);
  SqlQuery query(connection_);
  PrepareMacroEvent(query, event);
  return InsertedId(query.Run());
}

void ConfigDatabase::AddMacroEvents(const std::vector<MacroEvent>& events) {
  std::lock_guard<std::recursive_mutex> hold(lock_);
  SQLiteAutoTransaction transaction(&connection_);
  transaction.Begin();
  {
    SqlQuery query(connection_);
    for (const MacroEvent& event : events) {
      PrepareMacroEvent(query, event);
      query.Step();
    }
  }
  transaction.End();
}

int ConfigDatabase::LoadMacroEvents(int macro_id, RecordList<MacroEvent>& list) {
  std::lock_guard<std::recursive_mutex> hold(lock_);
  list.clear();
  SqlQuery query(connection_);
  query.Prepare("SELECT * FROM t_macrorecord WHERE macro_id = ? ORDER BY record_index ASC",
                {macro_id});
  return AppendRows(query, list, [](const SqlQuery& row, MacroEvent& event) {
    event.record_id = row.Int(0);
    event.macro_id = row.Int(1);
    event.type = row.Int(2);
    event.record_index = row.Int(3);
    event.desc = row.Text(4);
    event.value = row.Int(5);
    event.delay_time = row.Int(6);
  });
}

bool ConfigDatabase::DeleteMacroEvents(int macro_id) {
  std::lock_guard<std::recursive_mutex> hold(lock_);
  SqlQuery query(connection_);
  query.Prepare("DELETE FROM t_macrorecord WHERE macro_id = ?", {macro_id});
  return query.Run();
}

}  // namespace tk410
