#include "app/language_files.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "app/scoped_env.h"
#include "app/settings_store.h"
#include "base/text.h"
#include "support/temp_dir.h"

namespace tk410 {
namespace {

TEST(LanguageFilesTest, UiLanguageFromTheLocale) {
  struct Row { const char* lc_all; const char* lc_messages; const char* lang; int language; };
  const Row rows[] = {
      {nullptr, nullptr, "zh_CN.UTF-8", 2052},
      {nullptr, nullptr, "zh_SG", 2052},
      {nullptr, nullptr, "zh_Hans_CN.utf8", 2052},
      {nullptr, nullptr, "zh-Hans", 2052},
      {nullptr, nullptr, "zh_CN.GB18030@stroke", 2052},
      {nullptr, nullptr, "zh_TW.UTF-8", 1033},  // Traditional Chinese: English
      {nullptr, nullptr, "zh_HK", 1033},
      {nullptr, nullptr, "ru_RU.UTF-8", 1033},
      {nullptr, nullptr, "C", 1033},
      {nullptr, nullptr, nullptr, 1033},
      {"", "zh_CN.UTF-8", "en_US.UTF-8", 2052},  // LC_MESSAGES before LANG
      {"en_GB.UTF-8", "zh_CN.UTF-8", "zh_CN.UTF-8", 1033},  // LC_ALL first
      {"", "", "zh_CN", 2052},
  };
  for (const auto& r : rows)
    EXPECT_EQ(UserUiLanguage(r.lc_all, r.lc_messages, r.lang), r.language)
        << (r.lc_all ? r.lc_all : "-") << " " << (r.lc_messages ? r.lc_messages : "-") << " "
        << (r.lang ? r.lang : "-");
  ScopedEnv all("LC_ALL", nullptr), messages("LC_MESSAGES", nullptr), lang("LANG", "zh_CN.UTF-8");
  EXPECT_EQ(UserUiLanguageFromEnvironment(), 2052);
}

TEST(LanguageFilesTest, StartupLanguageIsTheStoredOneElseTheLocaleAndOnlyChineseStays) {
  struct Row { const char* stored; int user_ui; int language; const char* stored_after; };
  const Row rows[] = {
      {nullptr, 2052, 2052, "2052"},     // first start on a Chinese desktop
      {nullptr, 1033, 1033, "1033"},     // first start elsewhere
      {"1049", 2052, 1033, "1033"},      // any other stored language becomes English
      {"2052", 1033, 2052, "2052"},
      {"1033", 2052, 1033, "1033"},
      {"0", 2052, 2052, "2052"},
      {"junk", 1033, 1033, "1033"},
  };
  for (const auto& r : rows) {
    testing::TempDir dir;
    const SettingsStore store(dir.wide() + L"TEVO TK410");
    if (r.stored) dir.Write("TEVO TK410/settings.ini", std::string("[TEVO TK410]\nLCID=") + r.stored + "\n");
    EXPECT_EQ(ChooseStartupLanguage(store, r.user_ui), r.language) << (r.stored ? r.stored : "none");
    EXPECT_NE(dir.Read("TEVO TK410/settings.ini").find(std::string("LCID=") + r.stored_after),
              std::string::npos);
  }
}

TEST(LanguageFilesTest, TextsComeFromTheFileOfTheCurrentLanguage) {
  testing::TempDir dir;
  dir.Write("1033.lan", "[LAN]\n57=Please connect your mouse.\n800=Profile 1\n");
  dir.Write("2052.lan", "\xEF\xBB\xBF[LAN]\n57=" + ToUtf8(L"请连接鼠标。") + "\n");
  LanguageFileTexts texts(FromUtf8(dir.path().string()), 1033);
  EXPECT_EQ(texts.FilePath(2052), dir.wide() + L"2052.lan");
  EXPECT_EQ(texts.GetLangText(57), L"Please connect your mouse.");
  EXPECT_EQ(texts.GetLangText(800), L"Profile 1");
  EXPECT_EQ(texts.GetLangText(0), L"");  // a profile name that is not a number
  EXPECT_EQ(texts.GetLangText(-1), L"");
  texts.SetCurrentLanguage(2052);
  EXPECT_EQ(texts.CurrentLanguage(), 2052);
  EXPECT_EQ(texts.GetLangText(57), L"请连接鼠标。");
  EXPECT_EQ(texts.GetLangText(800), L"");  // missing key
  texts.SetCurrentLanguage(1049);
  EXPECT_EQ(texts.GetLangText(57), L"");  // missing file
}

TEST(LanguageFilesTest, AnEditedFileIsReadAgain) {
  testing::TempDir dir;
  const auto path = dir.Write("1033.lan", "[LAN]\n5=Close\n");
  LanguageFileTexts texts(dir.wide(), 1033);
  EXPECT_EQ(texts.GetLangText(5), L"Close");
  // Same size, so only the modification time tells the versions apart.
  dir.Write("1033.lan", "[LAN]\n5=Shut!\n");
  std::filesystem::last_write_time(
      path, std::filesystem::last_write_time(path) + std::chrono::seconds(2));
  EXPECT_EQ(texts.GetLangText(5), L"Shut!");
  std::filesystem::remove(path);
  EXPECT_EQ(texts.GetLangText(5), L"");
  dir.Write("1033.lan", "[LAN]\n5=Back again\n");
  EXPECT_EQ(texts.GetLangText(5), L"Back again");
}

TEST(LanguageFilesTest, LanguageChangeIsRefusedWithoutAUsableDevice) {
  testing::TempDir dir;
  const SettingsStore store(dir.wide());
  dir.Write("settings.ini", "[TEVO TK410]\nLCID=2052\n");
  LanguageFileTexts texts(dir.wide(), 2052);
  struct Row { bool connected; int mode; bool refused; int title; int message; int language; };
  const Row rows[] = {
      {false, 0, true, 576, 57, 2052},  // "English" with no device keeps Chinese
      {true, 2, true, 576, 56, 2052},   // Bluetooth
      {true, 0, false, 0, 0, 1033},
      {true, 1, false, 0, 0, 1033},
  };
  for (const auto& r : rows) {
    const LanguageChangeResult result = ChangeLanguage(texts, store, 1033, r.connected, r.mode);
    EXPECT_EQ(result.refused, r.refused);
    EXPECT_EQ(result.title_text, r.title);
    EXPECT_EQ(result.message_text, r.message);
    EXPECT_EQ(texts.CurrentLanguage(), r.language);
    EXPECT_EQ(store.ReadLanguageSetting(), r.language);
  }
}

}  // namespace
}  // namespace tk410
