// Button rows of t_key_macro_data. Every writer stores layer 0 and every
// reader selects layer 0, whatever layer it is given.

#include "store/config_database.h"
#include "store/sql_query.h"

namespace tk410 {

namespace {

void ReadKeyRecord(const SqlQuery& query, KeyMacroRecord& out) {
  out.key_id = query.Int(0);
  out.profile = query.Int(1);
  out.fn_layer = query.Int(2);
  out.key_code = query.Int(3);
  out.layout_value = query.Int(4);
  out.layout_desc = query.Text(5);
  out.macro_type = query.Int(6);
  out.macro_value = query.Int(7);
  out.macro_value2 = query.Int(8);
  out.macro_value3 = query.Int(9);
  out.macro_desc = query.Text(10);
}

}  // namespace

int ConfigDatabase::SaveKeyRecord(const KeyMacroRecord& record) {
  std::lock_guard<std::recursive_mutex> hold(lock_);
  // The delete and the insert form one unit: when the insert fails the old
  // row comes back, so the button keeps its function instead of silently
  // falling back to its default.
  connection_.Exec("SAVEPOINT save_key_record");
  int key_id = 0;
  bool keep = true;
  {
    SqlQuery query(connection_);
    query.Prepare("DELETE FROM t_key_macro_data WHERE profile = ? and fn_layer = ? and key_code = ?",
                  {record.profile, record.fn_layer, record.key_code});
    query.Step();
    if (record.macro_value != 0 || record.macro_value2 != 0) {
      query.Prepare(
          "INSERT INTO t_key_macro_data(profile, fn_layer, key_code, layout_value, layout_desc, "
          "macro_type, macro_value, macro_value2, macro_value3, macro_desc) "
          "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?);",
          {record.profile, record.fn_layer, record.key_code, record.layout_value,
           record.layout_desc, record.macro_type, record.macro_value, record.macro_value2,
           record.macro_value3, record.macro_desc});
      keep = query.Run();
      key_id = InsertedId(keep);
    }
  }
  if (!keep) connection_.Exec("ROLLBACK TO save_key_record");
  connection_.Exec("RELEASE save_key_record");
  return key_id;
}

bool ConfigDatabase::GetKeyRecord(int profile, int layer, int key_code, KeyMacroRecord& out) {
  std::lock_guard<std::recursive_mutex> hold(lock_);
  SqlQuery query(connection_);
  query.Prepare(
      "SELECT * FROM t_key_macro_data WHERE profile = ? and fn_layer = ? and key_code = ?",
      {profile, 0, key_code});
  if (!query.NextRow()) return false;
  ReadKeyRecord(query, out);
  return true;
}

bool ConfigDatabase::UpdateKeyDesc(int profile, int layer, int key_code,
                                   const std::wstring& macro_desc) {
  std::lock_guard<std::recursive_mutex> hold(lock_);
  SqlQuery query(connection_);
  query.Prepare(
      "UPDATE t_key_macro_data SET macro_desc = ? WHERE profile = ? and fn_layer = ? and "
      "key_code = ?",
      {macro_desc, profile, 0, key_code});
  return query.Run();
}

int ConfigDatabase::LoadKeyRecords(int profile, int layer, RecordList<KeyMacroRecord>& list) {
  std::lock_guard<std::recursive_mutex> hold(lock_);
  list.clear();
  SqlQuery query(connection_);
  query.Prepare("SELECT * FROM t_key_macro_data WHERE profile = ? and fn_layer = ?", {profile, 0});
  return AppendRows(query, list, ReadKeyRecord);
}

bool ConfigDatabase::DeleteProfileKeys(int profile) {
  // Taken although the callers run on the window thread only: the worker may
  // be reading the same table at that moment.
  std::lock_guard<std::recursive_mutex> hold(lock_);
  SqlQuery query(connection_);
  query.Prepare("DELETE FROM t_key_macro_data WHERE profile = ?", {profile});
  return query.Run();
}

}  // namespace tk410
