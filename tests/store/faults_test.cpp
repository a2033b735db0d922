// Bad files, a missing database, text outside ASCII and two threads at once.

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <functional>
#include <thread>

#include "base/text.h"
#include "store/store_fixture.h"

namespace tk410::testing {
namespace {

namespace fs = std::filesystem;

// Runs `check` with the rights of an ordinary user, so that file permissions
// apply even when the tests run as root (in a child process that gives its
// rights up). Returns the value `check` returned, or -1 when it could not run.
int RunUnprivileged(const std::function<int()>& check) {
  if (geteuid() != 0) return check();
  const pid_t child = fork();
  if (child < 0) return -1;
  if (child == 0) {
    if (setgid(65534) != 0 || setuid(65534) != 0) _exit(100);
    _exit(check());
  }
  int status = 0;
  if (waitpid(child, &status, 0) != child || !WIFEXITED(status)) return -1;
  return WEXITSTATUS(status);
}

// Every operation of a database that is not open fails the same way: false,
// 0 or an empty list, and leaves out-parameters as the operation defines.
void ExpectEveryOperationFails(ConfigDatabase& db) {
  std::wstring value = L"x";
  EXPECT_FALSE(db.GetConfigValue(1, L"dpi_index", value));
  EXPECT_EQ(value, L"");
  EXPECT_FALSE(db.SetConfigValue(1, L"dpi_index", L"1"));
  db.InsertDefaultConfig(1);
  db.ResetConfigDefaults(1);
  db.ClearAll();
  EXPECT_EQ(db.AddProfile(ProfileRecord{}), 0);
  RecordList<ProfileRecord> profiles;
  EXPECT_EQ(db.LoadProfiles(profiles), 0);
  EXPECT_FALSE(db.SetActiveProfile(1));
  EXPECT_EQ(db.GetActiveProfile(), 0);

  KeyMacroRecord key;
  key.profile = 1;
  key.macro_value = 1;
  EXPECT_EQ(db.SaveKeyRecord(key), 0);
  EXPECT_FALSE(db.GetKeyRecord(1, 0, 0, key));
  EXPECT_FALSE(db.UpdateKeyDesc(1, 0, 0, L"d"));
  RecordList<KeyMacroRecord> keys;
  EXPECT_EQ(db.LoadKeyRecords(1, 0, keys), 0);
  EXPECT_FALSE(db.DeleteProfileKeys(1));

  LightRecord light;
  EXPECT_FALSE(db.UpdateLight(1, 1, light));
  EXPECT_FALSE(db.SetActiveLightMode(1, 1));
  EXPECT_EQ(db.GetActiveLightMode(1), 0);
  EXPECT_FALSE(db.GetLight(1, 1, light));
  RecordList<LightRecord> lights;
  EXPECT_EQ(db.LoadLights(1, lights), 0);

  MacroRecord macro;
  EXPECT_EQ(db.AddMacro(L"m"), 0);
  EXPECT_EQ(db.AddMacro(macro), 0);
  EXPECT_FALSE(db.RenameMacro(1, L"n"));
  EXPECT_FALSE(db.UpdateMacro(1, macro));
  EXPECT_FALSE(db.DeleteMacro(1));
  EXPECT_FALSE(db.GetMacro(1, macro));
  RecordList<MacroRecord> macros;
  EXPECT_EQ(db.LoadMacros(macros), 0);
  EXPECT_EQ(db.AddMacroEvent(MacroEvent{}), 0);
  db.AddMacroEvents({MacroEvent{}, MacroEvent{}});
  RecordList<MacroEvent> events;
  EXPECT_EQ(db.LoadMacroEvents(1, events), 0);
  EXPECT_FALSE(db.DeleteMacroEvents(1));
}

TEST_F(StoreTest, EveryOperationBeforeAnOpenFailsCleanly) {
  EXPECT_FALSE(db_.IsOpened());
  ExpectEveryOperationFails(db_);
  // The same after a failed open (no "db" folder) and after Close.
  ConfigDatabase other;
  TempDir empty;
  EXPECT_FALSE(other.OpenForDevice(empty.wide(), L"TK410"));
  ExpectEveryOperationFails(other);
  ASSERT_TRUE(Open());
  ASSERT_TRUE(db_.Close());
  ExpectEveryOperationFails(db_);
}

TEST_F(StoreTest, FileThatIsNotADatabaseIsRefusedAndKept) {
  const std::string garbage(8192, 'G');
  dir_.Write("db/TK410_data_kvr.db", garbage);
  EXPECT_FALSE(Open());
  EXPECT_FALSE(db_.IsOpened());
  EXPECT_FALSE(db_.IsOpen());
  ExpectEveryOperationFails(db_);
  EXPECT_EQ(FileBytes(), garbage);
}

TEST_F(StoreTest, TruncatedDatabaseFailsWithoutBeingOverwritten) {
  ASSERT_TRUE(Open());
  db_.EnsureDefaultProfiles();
  for (int i = 0; i < 200; ++i) db_.AddMacro(std::wstring(200, L'a' + i % 26));
  ASSERT_TRUE(db_.Close());
  const std::string whole = FileBytes();
  ASSERT_GT(whole.size(), 16384u);

  // Cut inside the first page, or after half of the pages: the file no
  // longer holds what its header promises, so it is refused at open, and
  // left exactly as it was.
  for (size_t size : {size_t{2000}, whole.size() / 2}) {
    const std::string cut = whole.substr(0, size);
    dir_.Write("db/TK410_data_kvr.db", cut);
    ConfigDatabase db;
    EXPECT_FALSE(db.OpenForDevice(dir_.wide(), L"TK410")) << size;
    ExpectEveryOperationFails(db);
    EXPECT_EQ(FileBytes(), cut) << size;
  }
}

TEST_F(StoreTest, ReadOnlyFileReadsButRefusesWrites) {
  ASSERT_TRUE(Open());
  ASSERT_EQ(db_.EnsureDefaultProfiles(), 1);
  ASSERT_GT(db_.SaveKeyRecord([] {
    KeyMacroRecord key;
    key.profile = 1;
    key.key_code = 2;
    key.macro_value = 5;
    return key;
  }()), 0);
  ASSERT_TRUE(db_.Close());
  const std::string before = FileBytes();
  fs::permissions(dir_.path(), fs::perms::owner_all | fs::perms::others_read |
                                   fs::perms::others_exec);
  fs::permissions(dir_.path() / "db", fs::perms::owner_all | fs::perms::others_read |
                                          fs::perms::others_exec);
  fs::permissions(FilePath(), fs::perms::owner_read | fs::perms::others_read);

  // Exit codes name the first check that failed.
  const int result = RunUnprivileged([this] {
    ConfigDatabase db;
    if (!db.OpenForDevice(dir_.wide(), L"TK410")) return 1;
    std::wstring value;
    if (!db.GetConfigValue(1, L"dpi_index", value) || value != L"2") return 2;
    if (db.SetConfigValue(1, L"dpi_index", L"4")) return 3;
    KeyMacroRecord key;
    key.profile = 1;
    key.key_code = 2;
    key.macro_value = 9;
    if (db.SaveKeyRecord(key) != 0) return 4;
    if (!db.GetKeyRecord(1, 0, 2, key) || key.macro_value != 5) return 5;
    if (db.AddProfile(ProfileRecord{}) != 0) return 6;
    return 0;
  });
  EXPECT_EQ(result, 0);
  EXPECT_EQ(FileBytes(), before);
}

TEST_F(StoreTest, ReadOnlyFolderCannotReceiveANewFile) {
  fs::permissions(dir_.path(), fs::perms::owner_all | fs::perms::others_read |
                                   fs::perms::others_exec);
  fs::permissions(dir_.path() / "db", fs::perms::owner_read | fs::perms::owner_exec |
                                          fs::perms::others_read | fs::perms::others_exec);
  const int result = RunUnprivileged([this] {
    ConfigDatabase db;
    if (db.OpenForDevice(dir_.wide(), L"TK410")) return 1;
    if (db.IsOpened() || db.IsOpen()) return 2;
    if (db.SetConfigValue(1, L"dpi_index", L"1")) return 3;
    return 0;
  });
  EXPECT_EQ(result, 0);
  EXPECT_FALSE(fs::exists(FilePath()));
  fs::permissions(dir_.path() / "db", fs::perms::owner_all);
}

TEST_F(StoreTest, TextOutsideAsciiRoundTripsAsUtf8) {
  ASSERT_TRUE(Open());
  // Chinese, Cyrillic and an emoji outside the Basic Multilingual Plane.
  const std::wstring texts[] = {L"配置文件一", L"Профиль", L"\U0001F600 macro \U0001F3AE"};
  for (const std::wstring& text : texts) {
    ProfileRecord profile;
    profile.name = text;
    profile.app = text;
    const int number = db_.AddProfile(profile);
    ASSERT_GT(number, 0);
    EXPECT_TRUE(db_.SetConfigValue(number, L"version", text));
    std::wstring value;
    ASSERT_TRUE(db_.GetConfigValue(number, L"version", value));
    EXPECT_EQ(value, text);

    KeyMacroRecord key;
    key.profile = number;
    key.macro_value = 1;
    key.layout_desc = text;
    key.macro_desc = text;
    ASSERT_GT(db_.SaveKeyRecord(key), 0);
    ASSERT_TRUE(db_.GetKeyRecord(number, 0, 0, key));
    EXPECT_EQ(key.layout_desc, text);
    EXPECT_EQ(key.macro_desc, text);

    const int macro = db_.AddMacro(text);
    MacroEvent step;
    step.macro_id = macro;
    step.desc = text;
    db_.AddMacroEvents({step});
    MacroRecord out;
    ASSERT_TRUE(db_.GetMacro(macro, out));
    EXPECT_EQ(out.name, text);
    RecordList<MacroEvent> steps;
    ASSERT_EQ(db_.LoadMacroEvents(macro, steps), 1);
    EXPECT_EQ(steps[0]->desc, text);
  }
  RecordList<ProfileRecord> profiles;
  ASSERT_EQ(db_.LoadProfiles(profiles), 3);
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(profiles[i]->name, texts[i]);
    EXPECT_EQ(profiles[i]->app, texts[i]);
  }
  // In the file the text is UTF-8: "Профиль" is 7 letters in 14 bytes,
  // the emoji U+1F600 is F0 9F 98 80.
  RawDb raw(FilePath());
  EXPECT_EQ(raw.Int("SELECT length(CAST(name AS BLOB)) FROM t_profile_data WHERE profile = 2"), 14);
  EXPECT_EQ(raw.Column("SELECT hex(substr(CAST(name AS BLOB), 1, 4)) FROM t_macro_data "
                       "WHERE macro_id = 3"),
            std::vector<std::string>{"F09F9880"});
}

TEST_F(StoreTest, TwoThreadsHammeringTheDatabaseLoseNoRow) {
  ASSERT_TRUE(Open());
  ASSERT_EQ(db_.EnsureDefaultProfiles(), 1);
  constexpr int kRounds = 300;
  constexpr int kButtons = 11;
  std::atomic<int> bad_reads{0};
  std::atomic<int> failed_writes{0};
  auto work = [&](int thread) {
    const std::wstring key = thread == 0 ? L"dpi_group0_value" : L"dpi_group1_value";
    for (int i = 0; i < kRounds; ++i) {
      const std::wstring written = FormatInt(thread * 100000 + i);
      if (!db_.SetConfigValue(1, key, written)) ++failed_writes;
      std::wstring value;
      if (!db_.GetConfigValue(1, key, value) || value != written) ++bad_reads;
      // Both threads replace the same buttons.
      KeyMacroRecord record;
      record.profile = 1;
      record.key_code = 1 + i % kButtons;
      record.macro_value = 1 + thread;
      if (db_.SaveKeyRecord(record) == 0) ++failed_writes;
      std::wstring shared;
      if (!db_.GetConfigValue(1, L"dpi_index", shared) || shared != L"2") ++bad_reads;
    }
  };
  std::thread first(work, 0);
  std::thread second(work, 1);
  first.join();
  second.join();

  EXPECT_EQ(failed_writes.load(), 0);
  EXPECT_EQ(bad_reads.load(), 0);
  RecordList<KeyMacroRecord> keys;
  ASSERT_EQ(db_.LoadKeyRecords(1, 0, keys), kButtons);
  RawDb raw(FilePath());
  EXPECT_EQ(raw.Int("SELECT count(DISTINCT key_code) FROM t_key_macro_data"), kButtons);
  EXPECT_EQ(raw.Int("SELECT count(*) FROM t_configdata WHERE profile = 1"), 25);
  std::wstring value;
  ASSERT_TRUE(db_.GetConfigValue(1, L"dpi_group0_value", value));
  EXPECT_EQ(value, FormatInt(kRounds - 1));
  ASSERT_TRUE(db_.GetConfigValue(1, L"dpi_group1_value", value));
  EXPECT_EQ(value, FormatInt(100000 + kRounds - 1));
}

TEST(ConfigDatabaseInstance, IsOneObjectForTheProcess) {
  ConfigDatabase& first = ConfigDatabase::Instance();
  EXPECT_EQ(&first, &ConfigDatabase::Instance());
  EXPECT_FALSE(first.IsOpened());
  EXPECT_EQ(first.GetDeviceType(), 0);
}

}  // namespace
}  // namespace tk410::testing
