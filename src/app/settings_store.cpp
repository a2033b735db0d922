#include "app/settings_store.h"

#include <unistd.h>

#include "app/app_paths.h"
#include "app/ini_file.h"
#include "app/program_paths.h"
#include "base/atomic_file.h"
#include "base/text.h"

namespace tk410 {

namespace {

constexpr wchar_t kLanguageValue[] = L"LCID";
constexpr wchar_t kDeviceTypeValue[] = L"DeviceType";
// Returned when the store is unusable, so that the program still starts in a
// language its files carry.
constexpr int kFallbackLanguage = 2052;

}  // namespace

SettingsStore::SettingsStore(std::wstring directory) : directory_(std::move(directory)) {
  while (directory_.size() > 1 && directory_.back() == L'/') directory_.pop_back();
}

std::wstring SettingsStore::DefaultDirectory() {
  return XdgConfigHome() + L"/" + kProductName;
}

std::wstring SettingsStore::FilePath() const { return directory_ + L"/settings.ini"; }

int SettingsStore::ReadLanguageSetting() const {
  const std::wstring path = FilePath();
  if (!FileExists(path)) {
    // First start: create the store so that later writes land.
    const std::string empty_store = "[" + ToUtf8(kProductName) + "]\n";
    if (CreateDirectoryPath(directory_) && WriteFileAtomically(path, empty_store)) return 0;
    return kFallbackLanguage;
  }
  if (access(ToUtf8(path).c_str(), R_OK) != 0) return kFallbackLanguage;
  return ReadValue(kLanguageValue);
}

void SettingsStore::WriteLanguageSetting(int language) const {
  WriteValue(kLanguageValue, language);
}

int SettingsStore::ReadDeviceTypeSetting() const { return ReadValue(kDeviceTypeValue); }

void SettingsStore::WriteDeviceTypeSetting(int device_type) const {
  WriteValue(kDeviceTypeValue, device_type);
}

// settings.ini is only ever written by renaming a new file over it, so a link
// in its place was not made by this program: it is neither read nor replaced.
int SettingsStore::ReadValue(const wchar_t* name) const {
  return WToI(IniFile::Load(FilePath(), FileLinks::kRefuse).GetString(kProductName, name));
}

void SettingsStore::WriteValue(const wchar_t* name, int value) const {
  const std::wstring path = FilePath();
  std::string bytes;
  if (!ReadFileBytes(path, bytes, kMaxIniFileBytes, FileLinks::kRefuse)) return;  // never created here
  IniFile ini = IniFile::Parse(bytes);
  // The start-up writes the language and the device type every time: a value
  // that is already stored leaves the file untouched.
  if (!ini.SetString(kProductName, name, FormatInt(value))) return;
  WriteFileAtomically(path, ini.Serialize());
}

}  // namespace tk410
