// Lighting rows of t_light_data, keyed by (profile, mode). The program never
// inserts them; it reads and updates the rows a file already holds.

#include "store/config_database.h"
#include "store/sql_query.h"

namespace tk410 {

namespace {

void ReadLight(const SqlQuery& query, LightRecord& out) {
  out.light_id = query.Int(0);
  out.profile = query.Int(1);
  out.name = query.Text(2);
  out.mode = query.Int(3);
  out.brightness = query.Int(4);
  out.speed = query.Int(5);
  out.direction = query.Int(6);
  out.colorful = query.Int(7);
  out.colorindex = query.Int(8);
  out.color_value = query.Int(9);
  out.config_func = query.Int(10);
  out.reserved = query.Int(11);
  out.status = query.Int(12);
}

}  // namespace

bool ConfigDatabase::UpdateLight(int profile, int mode, const LightRecord& record) {
  std::lock_guard<std::recursive_mutex> hold(lock_);
  SqlQuery query(connection_);
  query.Prepare(
      "UPDATE t_light_data SET brightness = ?, speed = ?, direction = ?, colorful = ?, "
      "colorindex = ?, color_value = ?, config_func = ?, reserved = ? "
      "WHERE profile = ? AND mode = ?",
      {record.brightness, record.speed, record.direction, record.colorful, record.colorindex,
       record.color_value, record.config_func, record.reserved, profile, mode});
  return query.Run();
}

bool ConfigDatabase::SetActiveLightMode(int profile, int mode) {
  std::lock_guard<std::recursive_mutex> hold(lock_);
  SqlQuery query(connection_);
  query.Prepare("UPDATE t_light_data SET status = ? WHERE profile = ?", {0, profile});
  query.Step();
  query.Prepare("UPDATE t_light_data SET status = ? WHERE profile = ? and mode = ?",
                {1, profile, mode});
  return query.Run();
}

int ConfigDatabase::GetActiveLightMode(int profile) {
  std::lock_guard<std::recursive_mutex> hold(lock_);
  SqlQuery query(connection_);
  query.Prepare("SELECT mode FROM t_light_data WHERE profile = ? and status = ?", {profile, 1});
  return query.NextRow() ? query.Int(0) : 0;
}

bool ConfigDatabase::GetLight(int profile, int mode, LightRecord& out) {
  std::lock_guard<std::recursive_mutex> hold(lock_);
  SqlQuery query(connection_);
  query.Prepare("SELECT * FROM t_light_data WHERE profile = ? AND mode = ?", {profile, mode});
  if (!query.NextRow()) return false;
  ReadLight(query, out);
  return true;
}

int ConfigDatabase::LoadLights(int profile, RecordList<LightRecord>& list) {
  std::lock_guard<std::recursive_mutex> hold(lock_);
  list.clear();
  SqlQuery query(connection_);
  query.Prepare("SELECT * FROM t_light_data WHERE profile = ?", {profile});
  return AppendRows(query, list, ReadLight);
}

}  // namespace tk410
