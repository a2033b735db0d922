#pragma once
// Shared pieces of the store tests: a database in a temporary directory and a
// second, independent SQLite connection to inspect or tamper with the file.

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <filesystem>
#include <string>
#include <vector>

#include "store/config_database.h"
#include "support/temp_dir.h"

namespace tk410::testing {

// A plain connection of its own to a database file, for checks that must not
// go through the code under test.
class RawDb {
 public:
  explicit RawDb(const std::string& path);
  ~RawDb();
  RawDb(const RawDb&) = delete;
  RawDb& operator=(const RawDb&) = delete;

  // Runs `sql`; returns the SQLite result code.
  int Exec(const std::string& sql);
  // The first column of the first row as an integer (0 without a row).
  long long Int(const std::string& sql);
  // Every row's first column as text.
  std::vector<std::string> Column(const std::string& sql);

 private:
  sqlite3* db_ = nullptr;
};

class StoreTest : public ::testing::Test {
 protected:
  StoreTest();

  // Opens (creating when missing) the file of `name` in the temporary data
  // directory.
  bool Open(const std::wstring& name = L"TK410");
  // Path of the database file of `name`.
  std::string FilePath(const std::wstring& name = L"TK410") const;
  std::string FileBytes(const std::wstring& name = L"TK410") const;

  TempDir dir_;
  ConfigDatabase db_;
};

}  // namespace tk410::testing
