// Settings and language files swapped for a named pipe or a device link while
// they are opened, or replaced by a link: the readers refuse them quickly and
// fall back as for a missing file.

#include <gtest/gtest.h>

#include <filesystem>

#include "app/ini_file.h"
#include "app/language_files.h"
#include "app/settings_store.h"
#include "base/text.h"
#include "support/file_swapper.h"
#include "support/temp_dir.h"

namespace tk410 {
namespace {

namespace fs = std::filesystem;
using testing::FileSwapper;
using testing::TempDir;

const std::string kLanguageFile = "[LAN]\n57=Please connect\n";

// The language file is swapped for a pipe or a device link between any two
// steps of the reader; each lookup gives the text or nothing, never blocks.
// Once the file is back for good the text is found again.
TEST(HostileFilesTest, FilesSwappedWhileOpeningAreRefused) {
  TempDir dir;
  LanguageFileTexts texts(dir.wide(), 1033);
  const std::wstring ini = dir.wide() + L"1033.lan";
  {
    FileSwapper swapper(dir.path() / "1033.lan", kLanguageFile);
    for (int i = 0; i < 2000 || swapper.rounds() < 20000; ++i) {
      const std::wstring text = texts.GetLangText(57);
      ASSERT_TRUE(text.empty() || text == L"Please connect") << ToUtf8(text);
      const IniFile file = IniFile::Load(ini);
      ASSERT_TRUE(!file.HasKey(L"LAN", L"57") || file.GetString(L"LAN", L"57") == L"Please connect");
    }
  }
  fs::remove(dir.path() / "1033.lan");
  dir.Write("1033.lan", kLanguageFile);
  EXPECT_EQ(texts.GetLangText(57), L"Please connect");
}

// settings.ini is only ever written by the program, by renaming a new file
// over it; a link in its place was made by someone else and is neither read
// nor replaced.
TEST(HostileFilesTest, SettingsFileThatIsALinkIsLeftAlone) {
  TempDir dir;
  dir.Write("elsewhere.ini", "[TEVO TK410]\nLCID=1033\nDeviceType=101\n");
  fs::create_directory(dir.path() / "store");
  fs::create_symlink(dir.path() / "elsewhere.ini", dir.path() / "store" / "settings.ini");
  const SettingsStore store(dir.wide() + L"store");
  EXPECT_EQ(store.ReadDeviceTypeSetting(), 0);
  store.WriteDeviceTypeSetting(201);
  EXPECT_TRUE(fs::is_symlink(dir.path() / "store" / "settings.ini"));
  EXPECT_EQ(dir.Read("elsewhere.ini"), "[TEVO TK410]\nLCID=1033\nDeviceType=101\n");
}

}  // namespace
}  // namespace tk410
