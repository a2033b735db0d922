// A profile import killed with SIGKILL at many points: the database always
// holds the profile as it was before or as the file gives it, row by row,
// never a mixture, and it always opens.
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <cstdio>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "ctl/ctl_runner.h"
#include "ctl/syscall_killer.h"

namespace tk410::testing {
namespace {

namespace fs = std::filesystem;

std::vector<std::string> Query(const std::string& path, const std::string& sql) {
  std::vector<std::string> rows;
  sqlite3* db = nullptr;
  if (sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READWRITE, nullptr) != SQLITE_OK) {
    sqlite3_close(db);
    return {"cannot open"};
  }
  sqlite3_stmt* statement = nullptr;
  if (sqlite3_prepare_v2(db, sql.c_str(), -1, &statement, nullptr) != SQLITE_OK) {
    rows.push_back(std::string("error: ") + sqlite3_errmsg(db));
  }
  while (statement && sqlite3_step(statement) == SQLITE_ROW) {
    std::string row;
    for (int c = 0; c < sqlite3_column_count(statement); ++c) {
      const unsigned char* text = sqlite3_column_text(statement, c);
      row += (c ? "|" : "") + std::string(text ? reinterpret_cast<const char*>(text) : "NULL");
    }
    rows.push_back(row);
  }
  sqlite3_finalize(statement);
  sqlite3_close(db);
  return rows;
}

// Every row an import may touch: all button rows (without their numbers),
// all lighting rows, all configuration values, and the profiles.
std::vector<std::string> Rows(const std::string& path) {
  std::vector<std::string> all;
  const char* const selects[] = {
      "SELECT 'key', profile, fn_layer, key_code, layout_value, layout_desc, macro_type, "
      "macro_value, macro_value2, macro_value3, macro_desc FROM t_key_macro_data "
      "ORDER BY profile, key_code",
      "SELECT 'light', * FROM t_light_data ORDER BY light_id",
      "SELECT 'config', * FROM t_configdata ORDER BY config_id",
      "SELECT 'profile', * FROM t_profile_data ORDER BY profile",
  };
  for (const char* sql : selects) {
    for (std::string& row : Query(path, sql)) all.push_back(std::move(row));
  }
  return all;
}

void CopyDatabase(const fs::path& from_dir, const fs::path& to_dir) {
  fs::remove_all(to_dir);
  fs::create_directories(to_dir);
  for (const auto& entry : fs::directory_iterator(from_dir)) {
    fs::copy_file(entry.path(), to_dir / entry.path().filename());
  }
}

std::string Item(int key_code, int value, const std::string& desc) {
  return "<item key_code=\"" + std::to_string(key_code) + "\" macro_type=\"22\" macro_value=\"" +
         std::to_string(value) + "\" macro_value2=\"2\" macro_value3=\"0\" macro_desc=\"" + desc +
         "\"/>\r\n";
}

TEST(CtlImportKillTest, AKilledImportLeavesTheOldOrTheNewProfileRowByRow) {
  CtlRunner ctl;
  // The old profile: four assigned buttons, changed values, lighting rows.
  for (const auto& args : std::vector<std::vector<std::string>>{
           {"assign", "1", "left-click"}, {"assign", "4", "dpi-up"},
           {"assign", "5", "key", "B", "ctrl"}, {"assign", "10", "emoji", "5"},
           {"set", "dpi_group0_value", "700"}, {"set", "report_rate", "1"}}) {
    ASSERT_EQ(ctl.Run(args).code, 0) << args[0];
  }
  const std::string db_path = ctl.DataDir() + "/db/TK410_data_kvr.db";
  ASSERT_EQ(Query(db_path,
                  "INSERT INTO t_light_data(profile, name, mode, brightness, speed, direction, "
                  "colorful, colorindex, color_value, config_func, reserved, status) VALUES "
                  "(1, 'a', 1, 1, 1, 1, 1, 1, 1, 0, 0, 1), (1, 'b', 2, 2, 2, 2, 2, 2, 2, 0, 0, 0), "
                  "(1, 'c', 3, 3, 3, 3, 3, 3, 3, 0, 0, 0)"),
            std::vector<std::string>{});

  // The new profile: every button, lighting row and value different, with
  // long texts so that the rows span many pages, each button repeated so
  // that the file is large.
  std::string items;
  for (int round = 0; round < 20; ++round) {
    for (int key_code = 1; key_code <= 11; ++key_code) {
      items += Item(key_code, 4 + (round + key_code) % 26,
                    std::string(1500, static_cast<char>('a' + (round + key_code) % 26)));
    }
  }
  std::string lights;
  for (int mode = 1; mode <= 3; ++mode) {
    const std::string v = std::to_string(mode + 10);
    lights += "<item light_mode=\"" + std::to_string(mode) + "\" brightness=\"" + v + "\" speed=\"" +
              v + "\" direction=\"" + v + "\" colorful=\"" + v + "\" colorindex=\"" + v +
              "\" color_value=\"" + v + "\"/>\r\n";
  }
  std::string stages;
  for (int n = 1; n <= 6; ++n) {
    stages += "<DPI" + std::to_string(n) + " value=\"" + std::to_string(n * 1000 + 50) +
              "\" color=\"" + std::to_string(n) + "\"/>\r\n";
  }
  const std::string file = ctl.Dir()
                               .Write("new.xml",
                                      "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n<profile>\r\n"
                                      "<profileinfo name=\"n\">\r\n<keyitems>\r\n" + items +
                                          "</keyitems>\r\n<Lightitems light_mode=\"3\">\r\n" + lights +
                                          "</Lightitems>\r\n<Mouse_DPI dpi_flag=\"4\" dpi_index=\"1\" "
                                          "dpi_count=\"6\">\r\n" + stages +
                                          "</Mouse_DPI>\r\n<Mouse>\r\n"
                                          "<button_respondtime value=\"6\"/>\r\n"
                                          "<report_rate value=\"3\"/>\r\n<sensor_flag value=\"49\"/>\r\n"
                                          "<liftoff_height value=\"2\"/>\r\n<scroll_flag value=\"1\"/>\r\n"
                                          "<e-sports_flag value=\"0\"/>\r\n<leftbtn_lock value=\"0\"/>\r\n"
                                          "</Mouse>\r\n</profileinfo>\r\n</profile>\r\n")
                               .string();

  const fs::path db_dir = fs::path(ctl.DataDir()) / "db";
  const fs::path saved = ctl.Dir().path() / "saved-db";
  CopyDatabase(db_dir, saved);
  const std::vector<std::string> old_rows = Rows(db_path);
  const std::vector<std::string> args = {"--data-dir", ctl.DataDir(), "profile", "import", file};

  // One whole run: how many writing calls it makes, and the new rows.
  const TracedRun whole = RunKillingAtWrite(CtlRunner::Binary(), args, 0);
  if (!whole.traced) GTEST_SKIP() << "ptrace is not available";
  ASSERT_EQ(whole.exit_code, 0);
  ASSERT_GT(whole.writes, 0);
  const std::vector<std::string> new_rows = Rows(db_path);
  ASSERT_NE(new_rows, old_rows);

  std::mt19937 random(18);
  std::uniform_int_distribution<int> kill_point(1, whole.writes);
  int kept_old = 0;
  int got_new = 0;
  for (int run = 0; run < 50; ++run) {
    CopyDatabase(saved, db_dir);
    const int k = kill_point(random);
    const TracedRun killed = RunKillingAtWrite(CtlRunner::Binary(), args, k);
    ASSERT_TRUE(killed.killed) << "run " << run << " k " << k;
    EXPECT_EQ(Query(db_path, "PRAGMA integrity_check"), std::vector<std::string>{"ok"}) << k;
    const std::vector<std::string> rows = Rows(db_path);
    if (rows == old_rows) {
      ++kept_old;
    } else if (rows == new_rows) {
      ++got_new;
    } else {
      ADD_FAILURE() << "killed at writing call " << k << " of " << whole.writes
                    << ": neither the old nor the new profile";
    }
  }
  std::printf("kill points over %d writing calls: %d left the old profile, %d the new one\n",
              whole.writes, kept_old, got_new);
  EXPECT_GT(kept_old, 0);
  EXPECT_GT(got_new, 0);
}

}  // namespace
}  // namespace tk410::testing
