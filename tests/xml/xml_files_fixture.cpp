#include "xml/xml_files_fixture.h"

#include <filesystem>
#include <fstream>
#include <sstream>

#include "base/text.h"

namespace tk410::testing {

XmlFilesTest::XmlFilesTest() {
  std::filesystem::create_directories(dir_.path() / "db");
  EXPECT_TRUE(db_.OpenForDevice(dir_.wide(), L"TK410"));
  db_.SetDeviceType(101);
  db_.EnsureDefaultProfiles();
  EXPECT_EQ(sqlite3_open(db_.GetPath().c_str(), &raw_), SQLITE_OK);
}

XmlFilesTest::~XmlFilesTest() { sqlite3_close(raw_); }

void XmlFilesTest::Sql(const std::string& sql) {
  char* error = nullptr;
  const int rc = sqlite3_exec(raw_, sql.c_str(), nullptr, nullptr, &error);
  EXPECT_EQ(rc, SQLITE_OK) << sql << ": " << (error ? error : "");
  sqlite3_free(error);
}

std::vector<std::string> XmlFilesTest::Rows(const std::string& select) {
  std::vector<std::string> rows;
  sqlite3_stmt* statement = nullptr;
  EXPECT_EQ(sqlite3_prepare_v2(raw_, select.c_str(), -1, &statement, nullptr), SQLITE_OK)
      << select;
  while (statement && sqlite3_step(statement) == SQLITE_ROW) {
    std::string row;
    for (int i = 0; i < sqlite3_column_count(statement); ++i) {
      const unsigned char* text = sqlite3_column_text(statement, i);
      row += (i ? "|" : "") + std::string(text ? reinterpret_cast<const char*>(text) : "<null>");
    }
    rows.push_back(row);
  }
  sqlite3_finalize(statement);
  return rows;
}

long long XmlFilesTest::Count(const std::string& table) {
  const auto rows = Rows("SELECT COUNT(*) FROM " + table);
  return rows.empty() ? -1 : std::stoll(rows[0]);
}

std::vector<std::string> XmlFilesTest::Snapshot() {
  std::vector<std::string> all;
  for (const char* select :
       {"SELECT * FROM t_configdata ORDER BY config_id",
        "SELECT * FROM t_profile_data ORDER BY profile",
        "SELECT profile, fn_layer, key_code, macro_type, macro_value, macro_value2, "
        "macro_value3, macro_desc FROM t_key_macro_data ORDER BY profile, key_id",
        "SELECT * FROM t_light_data ORDER BY light_id",
        "SELECT * FROM t_macro_data ORDER BY macro_id",
        "SELECT * FROM t_macrorecord ORDER BY record_id"}) {
    all.push_back(std::string("-- ") + select);
    for (std::string& row : Rows(select)) all.push_back(std::move(row));
  }
  return all;
}

std::wstring XmlFilesTest::WriteFile(const std::string& name, const std::string& bytes) {
  return FromUtf8(dir_.Write(name, bytes).string());
}

std::string XmlFilesTest::ReadFile(const std::wstring& path) {
  std::ifstream in(ToUtf8(path), std::ios::binary);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

std::string XmlFilesTest::ExpectedFile(const char* name) {
  return ReadFile(FromUtf8(std::string(TK410_TEST_DATA_DIR) + "/xml/" + name));
}

std::string XmlFilesTest::Config(int profile, const std::wstring& key) {
  std::wstring value;
  db_.GetConfigValue(profile, key, value);
  return ToUtf8(value);
}

}  // namespace tk410::testing
