#include "store/store_fixture.h"

#include <fstream>
#include <sstream>

#include "base/text.h"

namespace tk410::testing {

RawDb::RawDb(const std::string& path) {
  if (sqlite3_open_v2(path.c_str(), &db_, SQLITE_OPEN_READWRITE, nullptr) != SQLITE_OK) {
    ADD_FAILURE() << "cannot open " << path;
  }
}

RawDb::~RawDb() { sqlite3_close(db_); }

int RawDb::Exec(const std::string& sql) {
  return sqlite3_exec(db_, sql.c_str(), nullptr, nullptr, nullptr);
}

long long RawDb::Int(const std::string& sql) {
  sqlite3_stmt* statement = nullptr;
  long long value = 0;
  if (sqlite3_prepare_v2(db_, sql.c_str(), -1, &statement, nullptr) != SQLITE_OK) {
    ADD_FAILURE() << "cannot prepare " << sql;
    return -1;
  }
  if (sqlite3_step(statement) == SQLITE_ROW) value = sqlite3_column_int64(statement, 0);
  sqlite3_finalize(statement);
  return value;
}

std::vector<std::string> RawDb::Column(const std::string& sql) {
  std::vector<std::string> rows;
  sqlite3_stmt* statement = nullptr;
  if (sqlite3_prepare_v2(db_, sql.c_str(), -1, &statement, nullptr) != SQLITE_OK) {
    ADD_FAILURE() << "cannot prepare " << sql;
    return rows;
  }
  while (sqlite3_step(statement) == SQLITE_ROW) {
    const unsigned char* text = sqlite3_column_text(statement, 0);
    rows.emplace_back(text ? reinterpret_cast<const char*>(text) : "");
  }
  sqlite3_finalize(statement);
  return rows;
}

StoreTest::StoreTest() { std::filesystem::create_directories(dir_.path() / "db"); }

bool StoreTest::Open(const std::wstring& name) { return db_.OpenForDevice(dir_.wide(), name); }

std::string StoreTest::FilePath(const std::wstring& name) const {
  return ToUtf8(ConfigDatabase::DatabaseFilePath(dir_.wide(), name));
}

std::string StoreTest::FileBytes(const std::wstring& name) const {
  std::ifstream in(FilePath(name), std::ios::binary);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

}  // namespace tk410::testing
