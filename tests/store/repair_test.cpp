// Files left empty or half-created (a crash while the file was made, a tool
// that created it, a copy gone wrong) are completed when they are opened and
// when all data is reset; lookups of a button use the index on its key.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "base/text.h"
#include "store/store_fixture.h"

namespace tk410::testing {
namespace {

namespace fs = std::filesystem;

const char* const kTables[] = {"t_configdata",    "t_profile_data", "t_key_macro_data",
                               "t_key_otherdata", "t_macro_data",   "t_macrorecord",
                               "t_light_data",    "t_key_light_data"};

// The database stores and reads back every kind of row.
void ExpectWorking(ConfigDatabase& db, const std::string& label) {
  ASSERT_EQ(db.EnsureDefaultProfiles(), 1) << label;
  RecordList<ProfileRecord> profiles;
  EXPECT_EQ(db.LoadProfiles(profiles), 5) << label;
  EXPECT_TRUE(db.SetConfigValue(3, L"dpi_index", L"4")) << label;
  std::wstring value;
  EXPECT_TRUE(db.GetConfigValue(3, L"dpi_index", value)) << label;
  EXPECT_EQ(value, L"4") << label;
  KeyMacroRecord key;
  key.profile = 3;
  key.key_code = 5;
  key.macro_value = 2;
  EXPECT_GT(db.SaveKeyRecord(key), 0) << label;
  EXPECT_GT(db.AddMacro(L"m"), 0) << label;
}

void ExpectEveryTable(const std::string& path, const std::string& label) {
  RawDb raw(path);
  for (const char* table : kTables) {
    EXPECT_EQ(raw.Int(std::string("SELECT count(*) FROM sqlite_master WHERE type = 'table' AND "
                                  "name = '") + table + "'"),
              1)
        << label << ": " << table;
  }
}

// A file with only the first tables, as a creation cut short leaves it, and
// one row of its own.
void WriteHalfCreatedFile(const std::string& path) {
  { std::ofstream create(path); }
  RawDb raw(path);
  ASSERT_EQ(raw.Exec("CREATE TABLE t_configdata(config_id INTEGER PRIMARY KEY AUTOINCREMENT, "
                     "profile INTEGER, key TEXT, value TEXT)"),
            0);
  ASSERT_EQ(raw.Exec("CREATE TABLE t_profile_data(profile INTEGER PRIMARY KEY AUTOINCREMENT, "
                     "name TEXT, status INTEGER, app TEXT, type INTEGER)"),
            0);
  ASSERT_EQ(raw.Exec("INSERT INTO t_profile_data(name, status, app, type) VALUES ('Mine', 1, '', 0)"),
            0);
}

TEST_F(StoreTest, EmptyAndHalfCreatedFilesAreCompletedOnOpen) {
  // 0 bytes.
  dir_.Write("db/TK410_data_kvr.db", "");
  ASSERT_TRUE(Open());
  ExpectEveryTable(FilePath(), "empty");
  ExpectWorking(db_, "empty");
  ASSERT_TRUE(db_.Close());

  // Some tables, with a row that is kept.
  fs::remove(FilePath());
  WriteHalfCreatedFile(FilePath());
  ConfigDatabase db;
  ASSERT_TRUE(db.OpenForDevice(dir_.wide(), L"TK410"));
  ExpectEveryTable(FilePath(), "half");
  RecordList<ProfileRecord> profiles;
  ASSERT_EQ(db.LoadProfiles(profiles), 1);
  EXPECT_EQ(profiles[0]->name, L"Mine");
  KeyMacroRecord key;
  key.profile = 1;
  key.key_code = 2;
  key.macro_value = 3;
  EXPECT_GT(db.SaveKeyRecord(key), 0);
  EXPECT_GT(db.AddMacro(L"m"), 0);
}

TEST_F(StoreTest, ResetAllDataAlwaysEndsWithAWorkingDatabase) {
  // A 0-byte file, reset without an earlier open.
  dir_.Write("db/TK410_data_kvr.db", "");
  {
    ConfigDatabase db;
    EXPECT_TRUE(db.OpenAndClear(dir_.wide(), L"TK410"));
    ExpectEveryTable(FilePath(), "empty");
    ExpectWorking(db, "empty");
  }

  // A half-created file.
  fs::remove(FilePath());
  WriteHalfCreatedFile(FilePath());
  {
    ConfigDatabase db;
    EXPECT_TRUE(db.OpenAndClear(dir_.wide(), L"TK410"));
    ExpectEveryTable(FilePath(), "half");
    ExpectWorking(db, "half");
  }

  // Tables lost while the database is open.
  ASSERT_TRUE(Open());
  ASSERT_EQ(db_.EnsureDefaultProfiles(), 1);
  {
    RawDb raw(FilePath());
    ASSERT_EQ(raw.Exec("DROP TABLE t_configdata"), 0);
    ASSERT_EQ(raw.Exec("DROP TABLE t_key_macro_data"), 0);
  }
  EXPECT_TRUE(db_.OpenAndClear(dir_.wide(), L"TK410"));
  ExpectWorking(db_, "dropped");
  ASSERT_TRUE(db_.Close());

  // A file that is no database at all is set aside, not lost, and replaced.
  const std::string garbage(8192, 'G');
  dir_.Write("db/TK410_data_kvr.db", garbage);
  {
    ConfigDatabase db;
    EXPECT_FALSE(db.OpenForDevice(dir_.wide(), L"TK410"));  // opening alone keeps it
    EXPECT_EQ(FileBytes(), garbage);
    EXPECT_TRUE(db.OpenAndClear(dir_.wide(), L"TK410"));
    ExpectWorking(db, "garbage");
  }
  EXPECT_EQ(dir_.Read("db/TK410_data_kvr.db.unreadable"), garbage);

  // A database cut short is damaged: set aside the same way.
  ASSERT_TRUE(Open());
  for (int i = 0; i < 100; ++i) db_.AddMacro(std::wstring(300, L'm'));
  ASSERT_TRUE(db_.Close());
  const std::string cut = FileBytes().substr(0, 2000);
  dir_.Write("db/TK410_data_kvr.db", cut);
  {
    ConfigDatabase db;
    EXPECT_TRUE(db.OpenAndClear(dir_.wide(), L"TK410"));
    ExpectWorking(db, "cut");
  }
  EXPECT_EQ(dir_.Read("db/TK410_data_kvr.db.unreadable"), cut);
}

TEST_F(StoreTest, ButtonLookupsUseAnIndexThatOlderFilesGain) {
  ASSERT_TRUE(Open());
  ASSERT_TRUE(db_.Close());
  // A file made before the index existed.
  {
    RawDb raw(FilePath());
    raw.Exec("DROP INDEX IF EXISTS keycodeindex");
  }
  ASSERT_TRUE(Open());
  // The query plan's detail column names the index the delete searches with.
  sqlite3* handle = nullptr;
  ASSERT_EQ(sqlite3_open(FilePath().c_str(), &handle), SQLITE_OK);
  sqlite3_stmt* statement = nullptr;
  ASSERT_EQ(sqlite3_prepare_v2(handle,
                               "EXPLAIN QUERY PLAN DELETE FROM t_key_macro_data WHERE profile = 1 "
                               "and fn_layer = 0 and key_code = 3",
                               -1, &statement, nullptr),
            SQLITE_OK);
  std::string details;
  while (sqlite3_step(statement) == SQLITE_ROW) {
    details += reinterpret_cast<const char*>(sqlite3_column_text(statement, 3));
    details += ";";
  }
  sqlite3_finalize(statement);
  sqlite3_close(handle);
  EXPECT_NE(details.find("USING INDEX"), std::string::npos) << details;
  EXPECT_NE(details.find("key_code=?"), std::string::npos) << details;
}

}  // namespace
}  // namespace tk410::testing
