// Opening and creating the file, its schema, ClearAll and the default
// configuration rows.

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>

#include "base/text.h"
#include "store/store_fixture.h"

namespace tk410::testing {
namespace {

using Strings = std::vector<std::string>;

TEST_F(StoreTest, FreshFileHoldsEveryTableAndIndexAndNoRows) {
  ASSERT_TRUE(Open());
  EXPECT_TRUE(db_.IsOpened());
  EXPECT_EQ(db_.GetPath(), dir_.path().string() + "/db/TK410_data_kvr.db");
  ASSERT_TRUE(std::filesystem::exists(FilePath()));

  RawDb raw(FilePath());
  // sqlite_master lists the objects in creation order.
  const Strings expected = {
      "table t_configdata",     "table t_profile_data",       "index profileindex",
      "table t_key_macro_data", "index keyindex",             "index keycodeindex",
      "table t_key_otherdata",
      "index otheridindex",     "table t_macro_data",         "index macroidindex",
      "table t_macrorecord",    "index macrorecordindex",     "table t_light_data",
      "index lightindex",       "table t_key_light_data",     "index keylightindex",
      "table t_app_rule"};
  EXPECT_EQ(raw.Column("SELECT type || ' ' || name FROM sqlite_master "
                       "WHERE name NOT LIKE 'sqlite_%' ORDER BY rowid"),
            expected);
  for (const std::string& table : raw.Column("SELECT name FROM sqlite_master WHERE type = 'table'")) {
    EXPECT_EQ(raw.Int("SELECT count(*) FROM \"" + table + "\""), 0) << table;
  }

  // The same check through the sqlite3 command-line tool, when installed.
  const std::string command = "sqlite3 -batch '" + FilePath() +
                              "' \"SELECT count(*) FROM sqlite_master WHERE type = 'index' "
                              "AND name NOT LIKE 'sqlite_%'\" 2>/dev/null";
  if (FILE* pipe = popen(command.c_str(), "r")) {
    char line[32] = {};
    const bool read = fgets(line, sizeof line, pipe) != nullptr;
    if (pclose(pipe) == 0 && read) {
      EXPECT_STREQ(line, "8\n");
    }
  }
}

TEST_F(StoreTest, FileLocationAndReopening) {
  // A device type without a catalogue entry has an empty name.
  ASSERT_TRUE(Open(L""));
  EXPECT_TRUE(std::filesystem::exists(dir_.path() / "db" / "_data_kvr.db"));

  // The file exists and a connection is open: nothing changes.
  ASSERT_EQ(db_.AddProfile(ProfileRecord{}), 1);
  EXPECT_TRUE(Open(L""));
  RecordList<ProfileRecord> profiles;
  EXPECT_EQ(db_.LoadProfiles(profiles), 1);

  // Closed and opened again: the existing file is opened, not recreated.
  EXPECT_TRUE(db_.Close());
  EXPECT_FALSE(db_.IsOpen());
  EXPECT_FALSE(db_.IsOpened());
  ASSERT_TRUE(Open(L""));
  EXPECT_EQ(db_.LoadProfiles(profiles), 1);

  // No "db" folder: nothing is created and the open fails.
  ConfigDatabase other;
  TempDir empty;
  EXPECT_FALSE(other.OpenForDevice(empty.wide(), L"TK410"));
  EXPECT_FALSE(other.IsOpened());
  EXPECT_FALSE(std::filesystem::exists(empty.path() / "db"));
}

TEST_F(StoreTest, OpenDeviceDatabaseSwitchesFileAndRecordsType) {
  ASSERT_TRUE(db_.OpenDeviceDatabase(dir_.wide(), L"A", 101));
  ASSERT_EQ(db_.AddProfile(ProfileRecord{}), 1);
  ASSERT_TRUE(db_.OpenDeviceDatabase(dir_.wide(), L"B", 201));
  EXPECT_EQ(db_.GetDeviceType(), 201);
  EXPECT_TRUE(db_.IsNordic());
  RecordList<ProfileRecord> profiles;
  EXPECT_EQ(db_.LoadProfiles(profiles), 0);  // B is a file of its own
  EXPECT_TRUE(std::filesystem::exists(FilePath(L"B")));
}

TEST_F(StoreTest, ClearAllEmptiesEveryTableAndRestartsNumbering) {
  ASSERT_TRUE(Open());
  for (int i = 0; i < 3; ++i) ASSERT_GT(db_.AddProfile(ProfileRecord{}), 0);
  KeyMacroRecord key;
  key.profile = 1;
  key.key_code = 2;
  key.macro_value = 7;
  ASSERT_GT(db_.SaveKeyRecord(key), 0);
  const int macro = db_.AddMacro(L"m");
  MacroEvent step;
  step.macro_id = macro;
  ASSERT_GT(db_.AddMacroEvent(step), 0);
  {
    RawDb raw(FilePath());
    raw.Exec("INSERT INTO t_light_data(profile, mode) VALUES (1, 1)");
    raw.Exec("INSERT INTO t_key_otherdata(macro_desc) VALUES ('x')");
    raw.Exec("INSERT INTO t_key_light_data(profile) VALUES (1)");
  }

  // The file lacks t_customlight_data, t_customrgb_data, t_musiclayer_data.
  db_.ClearAll();
  RawDb raw(FilePath());
  for (const std::string& table : raw.Column("SELECT name FROM sqlite_master WHERE type = 'table'")) {
    EXPECT_EQ(raw.Int("SELECT count(*) FROM \"" + table + "\""), 0) << table;
  }
  EXPECT_EQ(db_.AddProfile(ProfileRecord{}), 1);
  EXPECT_EQ(db_.AddMacro(L"again"), 1);
}

TEST_F(StoreTest, ClearAllAlsoEmptiesTheOptionalTablesWhenPresent) {
  ASSERT_TRUE(Open());
  {
    RawDb raw(FilePath());
    for (const char* table : {"t_customlight_data", "t_customrgb_data", "t_musiclayer_data"}) {
      ASSERT_EQ(raw.Exec(std::string("CREATE TABLE ") + table + "(v INTEGER)"), 0);
      ASSERT_EQ(raw.Exec(std::string("INSERT INTO ") + table + " VALUES (1)"), 0);
    }
  }
  EXPECT_TRUE(db_.OpenAndClear(dir_.wide(), L"TK410"));
  RawDb raw(FilePath());
  EXPECT_EQ(raw.Int("SELECT (SELECT count(*) FROM t_customlight_data) + "
                    "(SELECT count(*) FROM t_customrgb_data) + "
                    "(SELECT count(*) FROM t_musiclayer_data)"),
            0);
}

// The rows a new profile gets, per family: key, wired default, Nordic default.
struct DefaultRow {
  const char* key;
  const char* wired;
  const char* nordic;
};
const DefaultRow kDefaults[] = {
    {"version", "1.0.1", "1.0.1"},         {"light_mode", "0", "0"},
    {"sleep_light", "20", "20"},           {"report_rate", "2", "3"},
    {"button_respondtime", "8", "4"},      {"sensor_flag", "53", "53"},
    {"liftoff_height", "1", "1"},          {"scroll_flag", "0", "0"},
    {"e-sports_flag", "1", "1"},           {"leftbtn_lock", "1", "1"},
    {"dpi_flag", "5", "5"},                {"dpi_index", "2", "2"},
    {"dpi_count", "5", "5"},               {"dpi_group0_value", "800", "800"},
    {"dpi_group1_value", "1600", "1600"},  {"dpi_group2_value", "3200", "3200"},
    {"dpi_group3_value", "4800", "4800"},  {"dpi_group4_value", "8000", "8000"},
    {"dpi_group5_value", "12000", "12000"}, {"dpi_group0_rgb", "255", "255"},
    {"dpi_group1_rgb", "65280", "65280"},  {"dpi_group2_rgb", "16711680", "16711680"},
    {"dpi_group3_rgb", "65535", "65535"},  {"dpi_group4_rgb", "16776960", "16776960"},
    {"dpi_group5_rgb", "8388736", "8388736"},
};

TEST_F(StoreTest, NewProfileGetsTheDefaultsOfItsFamily) {
  ASSERT_TRUE(Open());
  // Device type 200 is still wired; 201 is the first Nordic type.
  for (int device_type : {101, 200, 201, 300}) {
    db_.SetDeviceType(device_type);
    const bool nordic = device_type > 200;
    const int profile = db_.AddProfile(ProfileRecord{});
    ASSERT_GT(profile, 0);
    RawDb raw(FilePath());
    const std::string where = " FROM t_configdata WHERE profile = " + std::to_string(profile);
    Strings expected_keys;
    for (const DefaultRow& row : kDefaults) expected_keys.push_back(row.key);
    EXPECT_EQ(raw.Column("SELECT key" + where + " ORDER BY config_id"), expected_keys);
    for (const DefaultRow& row : kDefaults) {
      std::wstring value;
      EXPECT_TRUE(db_.GetConfigValue(profile, FromUtf8(row.key), value));
      EXPECT_EQ(ToUtf8(value), nordic ? row.nordic : row.wired) << device_type << " " << row.key;
    }
  }
}

TEST_F(StoreTest, SetConfigValueUpdatesButNeverInserts) {
  std::wstring value = L"stale";
  // Before any open: failure, empty value.
  EXPECT_FALSE(db_.GetConfigValue(1, L"dpi_index", value));
  EXPECT_EQ(value, L"");
  EXPECT_FALSE(db_.SetConfigValue(1, L"dpi_index", L"3"));

  ASSERT_TRUE(Open());
  ASSERT_EQ(db_.AddProfile(ProfileRecord{}), 1);
  EXPECT_TRUE(db_.SetConfigValue(1, L"dpi_index", L"3"));
  EXPECT_TRUE(db_.GetConfigValue(1, L"dpi_index", value));
  EXPECT_EQ(value, L"3");
  // Another profile's row is untouched.
  ASSERT_EQ(db_.AddProfile(ProfileRecord{}), 2);
  EXPECT_TRUE(db_.GetConfigValue(2, L"dpi_index", value));
  EXPECT_EQ(value, L"2");

  // A key without a row: success, nothing stored.
  EXPECT_TRUE(db_.SetConfigValue(1, L"mouse_speed", L"10"));
  value = L"stale";
  EXPECT_FALSE(db_.GetConfigValue(1, L"mouse_speed", value));
  EXPECT_EQ(value, L"");
  RawDb raw(FilePath());
  EXPECT_EQ(raw.Int("SELECT count(*) FROM t_configdata"), 50);
}

TEST_F(StoreTest, ResetConfigDefaultsRestoresAllButVersion) {
  ASSERT_TRUE(Open());
  ASSERT_EQ(db_.AddProfile(ProfileRecord{}), 1);
  RawDb raw(FilePath());
  ASSERT_EQ(raw.Exec("DELETE FROM t_configdata WHERE key = 'dpi_group5_rgb'"), 0);

  // Connection mode of the active device -> "report_rate" after a wired reset.
  struct Case {
    int device_type;
    int mode;  // -1: no source set (no device)
    const char* report_rate;
  };
  const Case cases[] = {{101, -1, "2"}, {101, 0, "4"}, {101, 1, "2"}, {101, 2, "2"},
                        {201, 0, "3"},  {201, 1, "3"}};
  for (const Case& c : cases) {
    ASSERT_EQ(raw.Exec("UPDATE t_configdata SET value = 'x'"), 0);
    db_.SetDeviceType(c.device_type);
    if (c.mode < 0) {
      db_.SetConnectionModeSource(nullptr);
    } else {
      db_.SetConnectionModeSource([mode = c.mode] { return mode; });
    }
    db_.ResetConfigDefaults(1);
    std::wstring value;
    ASSERT_TRUE(db_.GetConfigValue(1, L"report_rate", value));
    EXPECT_EQ(ToUtf8(value), c.report_rate) << c.device_type << "/" << c.mode;
    EXPECT_TRUE(db_.GetConfigValue(1, L"version", value));
    EXPECT_EQ(value, L"x");
    EXPECT_EQ(raw.Int("SELECT count(*) FROM t_configdata WHERE value = 'x'"), 1);
    // The missing row stays missing.
    EXPECT_FALSE(db_.GetConfigValue(1, L"dpi_group5_rgb", value));
  }
}

}  // namespace
}  // namespace tk410::testing
