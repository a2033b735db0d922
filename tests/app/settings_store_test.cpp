#include "app/settings_store.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "app/app_paths.h"
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

TEST(SettingsStoreTest, ProductionFolderIsUnderTheXdgConfigHome) {
  EXPECT_EQ(SettingsStore::DefaultDirectory(), XdgConfigHome() + L"/TEVO TK410");
  EXPECT_EQ(SettingsStore(L"/x/y/").FilePath(), L"/x/y/settings.ini");
}

}  // namespace
}  // namespace tk410
