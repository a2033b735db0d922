#pragma once
// The per-user settings of the program: the interface language ("LCID") and
// the device type that selects the settings database ("DeviceType"), kept as
// "%d" text in section [TEVO TK410] of an INI file
// $XDG_CONFIG_HOME/TEVO TK410/settings.ini.
//
// Every operation reads the file anew and every write replaces it atomically,
// so the window and worker threads may both use a store without locking. A
// write changes only its own value: the user's comments, other sections and
// unknown keys stay byte for byte, and a value already stored is not written.
// Failures are silent, as the callers expect: reads give 0 (2052 for the
// language when the file can be neither opened nor created), writes do nothing.

#include <string>

namespace tk410 {

class SettingsStore {
 public:
  // `directory` is the folder that holds settings.ini.
  explicit SettingsStore(std::wstring directory);

  // The production folder: XdgConfigHome() + "/TEVO TK410".
  static std::wstring DefaultDirectory();

  const std::wstring& directory() const { return directory_; }
  std::wstring FilePath() const;

  // The stored language identifier. When the file does not exist yet it is
  // created (with its folder) and 0 is returned; when it can be neither
  // opened nor created, 2052.
  int ReadLanguageSetting() const;
  // Stores the language; does nothing when the file does not exist.
  void WriteLanguageSetting(int language) const;

  // The stored device type; 0 when missing. Never creates the file.
  int ReadDeviceTypeSetting() const;
  // Stores the device type; does nothing when the file does not exist.
  void WriteDeviceTypeSetting(int device_type) const;

 private:
  // Reads the value `name`: 0 when missing or not a number.
  int ReadValue(const wchar_t* name) const;
  void WriteValue(const wchar_t* name, int value) const;

  std::wstring directory_;
};

}  // namespace tk410
