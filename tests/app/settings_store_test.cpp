#include "app/settings_store.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>

#include "app/app_paths.h"
#include "app/language_files.h"
#include "app/program_paths.h"
#include "base/text.h"
#include "support/temp_dir.h"

namespace tk410 {
namespace {

TEST(SettingsStoreTest, FirstReadCreatesTheStoreAndReadsZero) {
  testing::TempDir dir;
  const SettingsStore store(dir.wide() + L"config/TEVO TK410");
  // Nothing exists: writes and the device-type read create nothing.
  store.WriteLanguageSetting(1033);
  store.WriteDeviceTypeSetting(101);
  EXPECT_EQ(store.ReadDeviceTypeSetting(), 0);
  EXPECT_FALSE(DirectoryExists(store.directory()));
  // The language read creates folder and file.
  EXPECT_EQ(store.ReadLanguageSetting(), 0);
  EXPECT_TRUE(FileExists(store.FilePath()));
  EXPECT_EQ(store.ReadLanguageSetting(), 0);
  // Now writes land, as "%d" text, and leave each other alone.
  store.WriteLanguageSetting(2052);
  store.WriteDeviceTypeSetting(201);
  EXPECT_EQ(store.ReadLanguageSetting(), 2052);
  EXPECT_EQ(store.ReadDeviceTypeSetting(), 201);
  const std::string text = dir.Read("config/TEVO TK410/settings.ini");
  EXPECT_NE(text.find("LCID=2052\n"), std::string::npos) << text;
  EXPECT_NE(text.find("DeviceType=201\n"), std::string::npos) << text;
}

TEST(SettingsStoreTest, ValuesAreReadWithTheWToIRules) {
  testing::TempDir dir;
  const SettingsStore store(dir.wide());
  dir.Write("settings.ini", "[tevo tk410]\nlcid= 1049abc\nDeviceType=abc\n");
  EXPECT_EQ(store.ReadLanguageSetting(), 1049);
  EXPECT_EQ(store.ReadDeviceTypeSetting(), 0);
  dir.Write("settings.ini", "[TEVO TK410]\nDeviceType=-7\n");
  EXPECT_EQ(store.ReadLanguageSetting(), 0);  // existing file without the value
  EXPECT_EQ(store.ReadDeviceTypeSetting(), -7);
}

TEST(SettingsStoreTest, UnusableStoreFallsBackTo2052) {
  testing::TempDir dir;
  dir.Write("blocker", "a file where a folder should be");
  const SettingsStore below_file(dir.wide() + L"blocker/TEVO TK410");
  EXPECT_EQ(below_file.ReadLanguageSetting(), 2052);
  EXPECT_EQ(below_file.ReadDeviceTypeSetting(), 0);
  // settings.ini is a folder: it can be neither read nor replaced.
  std::filesystem::create_directories(dir.path() / "odd" / "settings.ini");
  const SettingsStore folder_in_the_way(dir.wide() + L"odd");
  EXPECT_EQ(folder_in_the_way.ReadLanguageSetting(), 2052);
}

// What the program does not own stays as the user wrote it: comments, blank
// lines, lines outside any section, other sections and unknown keys, CR LF
// line ends and spacing. A start that changes nothing leaves the file alone.
TEST(SettingsStoreTest, StartAndLanguageChangeKeepTheRestOfTheFile) {
  testing::TempDir dir;
  const SettingsStore store(dir.wide() + L"cfg");
  const std::string original =
      "; written by hand\r\n"
      "stray line outside any section\n"
      "\n"
      "[TEVO TK410]\n"
      "# the interface language\n"
      "LCID = 1033   \n"
      "DeviceType=101\n"
      "Colour=blue\n"
      "\n"
      "[Other]\n"
      "key=value ; not a comment\n";
  dir.Write("cfg/settings.ini", original);
  const std::string path = ToUtf8(store.FilePath());
  struct stat before {};
  ASSERT_EQ(::stat(path.c_str(), &before), 0);

  // A start: the stored language is chosen and written back, the device type recorded.
  EXPECT_EQ(ChooseStartupLanguage(store, 2052), 1033);
  store.WriteDeviceTypeSetting(101);
  EXPECT_EQ(dir.Read("cfg/settings.ini"), original);
  struct stat after {};
  ASSERT_EQ(::stat(path.c_str(), &after), 0);
  EXPECT_EQ(after.st_ino, before.st_ino) << "the file was replaced although nothing changed";
  EXPECT_EQ(after.st_mtim.tv_sec, before.st_mtim.tv_sec);
  EXPECT_EQ(after.st_mtim.tv_nsec, before.st_mtim.tv_nsec);

  // A language change replaces the value and nothing else.
  store.WriteLanguageSetting(2052);
  std::string expected = original;
  expected.replace(expected.find("LCID = 1033"), 11, "LCID = 2052");
  EXPECT_EQ(dir.Read("cfg/settings.ini"), expected);
  EXPECT_EQ(store.ReadLanguageSetting(), 2052);

  // A value the file lacks joins its section after the last entry.
  dir.Write("cfg/settings.ini", "[TEVO TK410]\r\nLCID=1033\r\n\r\n; end\r\n");
  store.WriteDeviceTypeSetting(201);
  EXPECT_EQ(dir.Read("cfg/settings.ini"),
            "[TEVO TK410]\r\nLCID=1033\r\nDeviceType=201\r\n\r\n; end\r\n");
}

TEST(SettingsStoreTest, ProductionFolderIsUnderTheXdgConfigHome) {
  EXPECT_EQ(SettingsStore::DefaultDirectory(), XdgConfigHome() + L"/TEVO TK410");
  EXPECT_EQ(SettingsStore(L"/x/y/").FilePath(), L"/x/y/settings.ini");
}

}  // namespace
}  // namespace tk410
