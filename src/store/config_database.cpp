#include "store/config_database.h"

#include <unistd.h>

#include <filesystem>

#include "app/program_paths.h"
#include "base/text.h"
#include "store/sql_query.h"

namespace tk410 {

namespace {

// "file:" URI of `path` opened read-only as a file nobody changes: the
// characters a URI gives a meaning are percent-encoded.
std::string ImmutableFileUri(const std::string& path) {
  std::string uri = "file:";
  for (unsigned char c : path) {
    if (c == '%' || c == '?' || c == '#' || c <= ' ') {
      static const char kHex[] = "0123456789ABCDEF";
      uri += '%';
      uri += kHex[c >> 4];
      uri += kHex[c & 15];
    } else {
      uri += static_cast<char>(c);
    }
  }
  return uri + "?immutable=1";
}

}  // namespace

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
  if (!connection_.IsOpen() && !OpenExistingFile()) return false;
  // A file left empty (0 bytes) or half-created by an interrupted start has
  // no tables, or only some: add what is missing instead of opening a
  // database that stores nothing.
  if (CompleteSchema()) return true;
  connection_.Close();
  return false;
}

bool ConfigDatabase::OpenExistingFile() {
  // SQLite opens any file lazily; the schema is read at once so that a file
  // which is not a database (or whose first page is damaged) is refused here
  // instead of failing every later operation. Nothing is written to it.
  auto read_schema = [this] {
    SqlQuery check(connection_);
    const int prepared = check.Prepare("SELECT count(*) FROM sqlite_master");
    return prepared != 0 ? prepared : check.Step();
  };
  auto readable = [&] { return read_schema() == kSqliteRow; };
  not_a_database_ = false;
  if (connection_.Open(path_.c_str(), kOpenExisting)) {
    const int result = read_schema();
    if (result == kSqliteRow) return true;
    not_a_database_ = result == kSqliteNotADatabase || result == kSqliteCorrupt;
  }
  connection_.Close();
  // A file in write-ahead-log mode that we may not write cannot be read where
  // its shared-memory index cannot be created either (a folder we may not
  // write). To us such a file is immutable, and SQLite reads it as that,
  // provided no log with later commits lies beside it.
  std::error_code error;
  if (access(path_.c_str(), W_OK) == 0 || std::filesystem::exists(path_ + "-wal", error)) {
    return false;
  }
  if (connection_.Open(ImmutableFileUri(path_).c_str(), kOpenImmutable) && readable()) return true;
  connection_.Close();
  return false;
}

bool ConfigDatabase::OpenForDevice(const std::wstring& directory, const std::wstring& name) {
  std::lock_guard<std::recursive_mutex> hold(lock_);
  const bool result = OpenFile(directory, name);
  opened_.store(result);
  return result;
}

bool ConfigDatabase::OpenAndClear(const std::wstring& directory, const std::wstring& name) {
  std::lock_guard<std::recursive_mutex> hold(lock_);
  bool result = OpenForDevice(directory, name);
  // Only a file SQLite reports as no database or damaged: one that is merely
  // locked or forbidden to us stays where it is.
  if (!result && !connection_.IsOpen() && not_a_database_ && SetAsideUnreadableFile()) {
    result = OpenForDevice(directory, name);
  }
  ClearAll();
  return result;
}

bool ConfigDatabase::SetAsideUnreadableFile() {
  // The user asked for all data to go; the file is kept beside, not deleted,
  // in case it can still be rescued (a file set aside earlier is replaced,
  // its log too). Its write-ahead log goes with it: left behind, SQLite would
  // apply it to the new file of the same name. The shared-memory index is
  // rebuilt from the log and is simply removed.
  namespace fs = std::filesystem;
  const fs::path file(path_);
  const fs::path aside(path_ + ".unreadable");
  std::error_code error;
  if (!fs::is_regular_file(file, error)) return false;
  fs::rename(file, aside, error);
  if (error) return false;
  fs::remove(aside.string() + "-wal", error);
  if (fs::exists(path_ + "-wal", error)) fs::rename(path_ + "-wal", aside.string() + "-wal", error);
  fs::remove(path_ + "-shm", error);
  return !fs::exists(path_ + "-wal", error);
}

bool ConfigDatabase::RunTransaction(const std::function<bool()>& body) {
  std::lock_guard<std::recursive_mutex> hold(lock_);
  // Inside another transaction BEGIN fails, and END would commit the outer one.
  if (!connection_.IsOpen() || connection_.InTransaction()) return false;
  SQLiteAutoTransaction transaction(&connection_);
  const bool committed = body() && transaction.End();
  // After a failed END the transaction is still open in SQLite.
  if (!committed) transaction.Rollback();
  return committed;
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
  // One transaction: a reset cut short leaves all data or none.
  RunTransaction([this] {
    SqlQuery query(connection_);
    for (const char* sql : kStatements) {
      query.Prepare(sql);
      query.Step();
    }
    return true;
  });
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
