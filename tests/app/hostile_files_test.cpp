// Settings, language and folder files that are a named pipe, a device link,
// or swapped for one while they are opened: the readers refuse them quickly
// and fall back as for a missing file.

#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <filesystem>

#include "app/app_paths.h"
#include "app/ini_file.h"
#include "app/language_files.h"
#include "app/scoped_env.h"
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

TEST(HostileFilesTest, PipesAndDeviceLinksReadAsMissing) {
  TempDir dir;
  ASSERT_EQ(::mkfifo((dir.path() / "1033.lan").c_str(), 0600), 0);
  fs::create_symlink("/dev/zero", dir.path() / "2052.lan");
  LanguageFileTexts texts(dir.wide(), 1033);
  EXPECT_EQ(texts.GetLangText(57), L"");
  texts.SetCurrentLanguage(2052);
  EXPECT_EQ(texts.GetLangText(57), L"");
  for (const char* name : {"1033.lan", "2052.lan"}) {
    std::string bytes = "old";
    EXPECT_FALSE(ReadFileBytes(dir.wide() + FromUtf8(name), bytes)) << name;
    EXPECT_EQ(bytes, "") << name;
    EXPECT_FALSE(IniFile::Load(dir.wide() + FromUtf8(name)).HasKey(L"LAN", L"57")) << name;
  }

  // user-dirs.dirs as a pipe: the documents folder falls back to ~/Documents.
  ScopedEnv config("XDG_CONFIG_HOME", dir.path().c_str());
  ScopedEnv docs("XDG_DOCUMENTS_DIR", nullptr);
  ScopedEnv home("HOME", "/home/someone");
  ASSERT_EQ(::mkfifo((dir.path() / "user-dirs.dirs").c_str(), 0600), 0);
  EXPECT_EQ(DocumentsDirectory(), L"/home/someone/Documents");
}

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
