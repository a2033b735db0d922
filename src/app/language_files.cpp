#include "app/language_files.h"

#include <sys/stat.h>

#include <cstdlib>
#include <cctype>

#include "app/program_paths.h"
#include "app/settings_store.h"
#include "base/text.h"

namespace tk410 {

LanguageFileTexts::LanguageFileTexts(std::wstring language_dir, int language)
    : language_dir_(std::move(language_dir)), language_(language) {
  if (!language_dir_.empty() && language_dir_.back() != L'/') language_dir_.push_back(L'/');
}

std::wstring LanguageFileTexts::DefaultDirectory() {
  return ShippedDataDirectory() + L"language/";
}

int LanguageFileTexts::CurrentLanguage() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return language_;
}

void LanguageFileTexts::SetCurrentLanguage(int language) {
  std::lock_guard<std::mutex> lock(mutex_);
  language_ = language;
}

std::wstring LanguageFileTexts::FilePath(int language) const {
  return language_dir_ + FormatInt(language) + L".lan";
}

LanguageFileTexts::FileStamp LanguageFileTexts::StampOf(const struct stat& st) {
  FileStamp stamp;
  stamp.exists = true;
  stamp.device = st.st_dev;
  stamp.inode = st.st_ino;
  stamp.size = st.st_size;
  stamp.mtime_ns = static_cast<long long>(st.st_mtim.tv_sec) * 1000000000LL + st.st_mtim.tv_nsec;
  return stamp;
}

std::wstring LanguageFileTexts::GetLangText(int text_id) const {
  std::lock_guard<std::mutex> lock(mutex_);
  const std::wstring path = FilePath(language_);
  struct stat st {};
  FileStamp stamp;
  if (stat(ToUtf8(path).c_str(), &st) == 0 && S_ISREG(st.st_mode)) stamp = StampOf(st);
  if (path != cached_path_ || !(stamp == cached_stamp_)) {
    cached_path_ = path;
    cached_stamp_ = FileStamp{};
    cached_file_ = IniFile();
    // Shipped data, often installed through links: links are followed. The
    // stamp kept is that of the file actually read, so a file swapped or
    // refused in between is read again next time.
    std::string bytes;
    if (stamp.exists &&
        ReadRegularFile(path, kMaxIniFileBytes, FileLinks::kFollow, &bytes, &st) == FileRead::kOk) {
      cached_file_ = IniFile::Parse(bytes);
      cached_stamp_ = StampOf(st);
    }
  }
  return cached_file_.GetString(kLanguageSection, FormatInt(text_id));
}

namespace {

// True for a locale name of Simplified Chinese: "zh_CN", "zh_SG" or "zh_Hans"
// with any territory, encoding or modifier ("zh_CN.UTF-8", "zh-Hans-CN").
bool IsSimplifiedChinese(std::string_view locale) {
  const size_t cut = locale.find_first_of(".@");
  std::string name(locale.substr(0, cut));
  for (char& c : name) c = (c == '-') ? '_' : static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  if (name.compare(0, 7, "zh_hans") == 0) return true;
  return name == "zh_cn" || name == "zh_sg";
}

}  // namespace

int UserUiLanguage(const char* lc_all, const char* lc_messages, const char* lang) {
  for (const char* value : {lc_all, lc_messages, lang}) {
    if (value && *value) return IsSimplifiedChinese(value) ? kLanguageChinese : kLanguageEnglish;
  }
  return kLanguageEnglish;
}

int UserUiLanguageFromEnvironment() {
  return UserUiLanguage(std::getenv("LC_ALL"), std::getenv("LC_MESSAGES"), std::getenv("LANG"));
}

int ChooseStartupLanguage(const SettingsStore& settings, int user_ui_language) {
  int language = settings.ReadLanguageSetting();
  if (language == 0) language = user_ui_language;
  if (language != kLanguageChinese) language = kLanguageEnglish;
  settings.WriteLanguageSetting(language);
  return language;
}

LanguageChangeResult ChangeLanguage(LanguageFileTexts& texts, const SettingsStore& settings,
                                    int language, bool device_connected, int connection_mode) {
  constexpr int kRefusalTitle = 576;
  if (!device_connected) return {true, kRefusalTitle, 57};
  if (connection_mode == 2) return {true, kRefusalTitle, 56};
  texts.SetCurrentLanguage(language);
  settings.WriteLanguageSetting(language);
  return {};
}

}  // namespace tk410
