#include "store/config_database.h"

#include "app/program_paths.h"
#include "base/text.h"
#include "store/sql_query.h"

namespace tk410 {

ConfigDatabase::ConfigDatabase() = default;

ConfigDatabase::~ConfigDatabase() {
  std::lock_guard<std::recursive_mutex> hold(lock_);
  if (opened_.load()) {
    connection_.Close();
    opened_.store(false);
  }
  path_.clear();
}

ConfigDatabase& ConfigDatabase::Instance() {
  static ConfigDatabase instance;
  return instance;
}

std::wstring ConfigDatabase::DatabaseFilePath(const std::wstring& directory,
                                              const std::wstring& name) {
  return directory + L"db/" + name + L"_data_kvr.db";
}

bool ConfigDatabase::OpenFile(const std::wstring& directory, const std::wstring& name) {
  const std::wstring full = DatabaseFilePath(directory, name);
  path_ = ToUtf8(full);
  if (!FileExists(full)) return CreateSchema();
  if (connection_.IsOpen()) return true;
  if (!connection_.Open(path_.c_str(), kOpenExisting)) return false;
  // SQLite opens any file lazily; read the schema now so that a file which
  // is not a database (or whose first page is damaged) is refused here
  // instead of failing every later operation. Nothing is written to it.
  bool readable = false;
  {
    SqlQuery check(connection_);
    check.Prepare("SELECT count(*) FROM sqlite_master");
    readable = check.NextRow();
  }
  if (!readable) connection_.Close();
  return readable;
}

bool ConfigDatabase::OpenForDevice(const std::wstring& directory, const std::wstring& name) {
  std::lock_guard<std::recursive_mutex> hold(lock_);
  const bool result = OpenFile(directory, name);
  opened_.store(result);
  return result;
}

bool ConfigDatabase::OpenAndClear(const std::wstring& directory, const std::wstring& name) {
  std::lock_guard<std::recursive_mutex> hold(lock_);
  const bool result = OpenForDevice(directory, name);
  ClearAll();
  return result;
}

bool ConfigDatabase::OpenDeviceDatabase(const std::wstring& directory, const std::wstring& name,
                                        int device_type) {
  std::lock_guard<std::recursive_mutex> hold(lock_);
  if (opened_.load()) {
    Close();
  }
  const bool result = OpenForDevice(directory, name);
  SetDeviceType(device_type);
  return result;
}

void ConfigDatabase::ClearAll() {
  static const char* const kStatements[] = {
      "DELETE FROM t_configdata",      "DELETE FROM t_profile_data",
      "DELETE FROM t_key_macro_data",  "DELETE FROM t_key_otherdata",
      "DELETE FROM t_macro_data",      "DELETE FROM t_macrorecord",
      "DELETE FROM t_light_data",      "DELETE FROM t_key_light_data",
      "DELETE FROM t_customlight_data", "DELETE FROM t_customrgb_data",
      "DELETE FROM t_musiclayer_data", "DELETE FROM sqlite_sequence",
  };
  std::lock_guard<std::recursive_mutex> hold(lock_);
  SqlQuery query(connection_);
  for (const char* sql : kStatements) {
    query.Prepare(sql);
    query.Step();
  }
}

bool ConfigDatabase::Close() {
  std::lock_guard<std::recursive_mutex> hold(lock_);
  opened_.store(false);
  return connection_.Close();
}

bool ConfigDatabase::IsOpen() const {
  std::lock_guard<std::recursive_mutex> hold(lock_);
  return connection_.IsOpen();
}

std::string ConfigDatabase::GetPath() const {
  std::lock_guard<std::recursive_mutex> hold(lock_);
  return path_;
}

void ConfigDatabase::SetConnectionModeSource(ConnectionModeSource source) {
  std::lock_guard<std::recursive_mutex> hold(lock_);
  connection_mode_ = std::move(source);
}

int ConfigDatabase::ConnectionMode() const {
  std::lock_guard<std::recursive_mutex> hold(lock_);
  return connection_mode_ ? connection_mode_() : -1;
}

int ConfigDatabase::InsertedId(bool step_succeeded) const {
  if (!step_succeeded) return 0;
  // Row ids stay far below 2^31; the number is kept as an int.
  return static_cast<int>(connection_.LastInsertRowId());
}

}  // namespace tk410
