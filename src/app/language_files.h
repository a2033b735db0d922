#pragma once
// Interface texts by number (TextId) from the language files
// <language folder>/<language id>.lan, section "LAN" (see ini_file.h for the
// reading rules), the start-up choice of the interface language and the
// language change of the settings page.

#include <mutex>
#include <string>
#include <sys/stat.h>
#include <sys/types.h>

#include "app/ini_file.h"
#include "app/lang_text.h"

namespace tk410 {

class SettingsStore;

inline constexpr int kLanguageEnglish = 1033;
inline constexpr int kLanguageChinese = 2052;
// The interface font, the same for both languages.
inline constexpr wchar_t kInterfaceFontName[] = L"Open Sans Semibold";
inline constexpr wchar_t kLanguageSection[] = L"LAN";

// Texts of the current language read from the language files. The file of
// the current language is parsed once and parsed again when its modification
// time, size or identity changes, so an edited file is picked up without a
// restart. Safe to use from the window and worker threads.
class LanguageFileTexts final : public LanguageTexts {
 public:
  // `language_dir` holds the .lan files (with or without a trailing '/').
  LanguageFileTexts(std::wstring language_dir, int language);

  // The shipped language folder: ShippedDataDirectory() + "language/".
  static std::wstring DefaultDirectory();

  int CurrentLanguage() const override;
  void SetCurrentLanguage(int language);

  // The text of `text_id` in the current language; empty when the file, the
  // section or the key is missing. At most 259 characters.
  std::wstring GetLangText(int text_id) const override;

  // The file of `language`: "<folder>/<language>.lan".
  std::wstring FilePath(int language) const;

 private:
  struct FileStamp {
    bool exists = false;
    dev_t device = 0;
    ino_t inode = 0;
    off_t size = 0;
    long long mtime_ns = 0;
    bool operator==(const FileStamp&) const = default;
  };
  static FileStamp StampOf(const struct stat& st);

  std::wstring language_dir_;
  mutable std::mutex mutex_;
  int language_;
  // Cache of the last file read.
  mutable std::wstring cached_path_;
  mutable FileStamp cached_stamp_;
  mutable IniFile cached_file_;
};

// The user's interface language from locale names as in LC_ALL, LC_MESSAGES
// and LANG (the first non-empty one decides, as setlocale does): Simplified
// Chinese (zh_CN, zh_SG, zh_Hans…, any encoding or modifier) gives 2052,
// anything else 1033. Null pointers count as unset.
int UserUiLanguage(const char* lc_all, const char* lc_messages, const char* lang);
// The same from the process environment.
int UserUiLanguageFromEnvironment();

// Start-up choice of the interface language: the stored language, or when
// none is stored `user_ui_language`; 2052 stays 2052, anything else becomes
// 1033. The result is stored back in the settings.
int ChooseStartupLanguage(const SettingsStore& settings, int user_ui_language);

// Outcome of a language change request. When refused, the language stays and
// the caller shows a message box with the two texts and reselects the current
// language in the list.
struct LanguageChangeResult {
  bool refused = false;
  int title_text = 0;
  int message_text = 0;
};

// The language change of the settings page: refused without a connected
// device (texts 576/57) and over Bluetooth, connection mode 2 (576/56);
// otherwise the language becomes `language` and is stored in the settings.
// The caller then sets the interface font and refreshes every text.
LanguageChangeResult ChangeLanguage(LanguageFileTexts& texts, const SettingsStore& settings,
                                    int language, bool device_connected, int connection_mode);

}  // namespace tk410
