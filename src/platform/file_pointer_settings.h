#pragma once
// Pointer settings kept in a small INI file, for desktops that have no
// setting of their own for a value (wheel lines on GNOME) or no known
// settings at all. Nothing outside this program reads the file, so no value
// of it reaches the desktop's pointer. A missing file or value reads as the
// default (kDefault* of pointer_settings.h).
// The file is read on every get and replaced atomically on every set that
// changes it; lines the program does not own stay as the user wrote them.

#include <string>

#include "platform/pointer_settings.h"

namespace tk410 {

class FilePointerSettings final : public PointerSettings {
 public:
  explicit FilePointerSettings(std::wstring path);

  const std::wstring& path() const { return path_; }

  int GetMouseSpeed() override;
  void SetMouseSpeed(int speed) override;
  int GetAcceleration() override;
  void SetAcceleration(int on) override;
  unsigned GetWheelScrollLines() override;
  void SetWheelScrollLines(unsigned lines) override;
  int GetDoubleClickTime() override;
  void SetDoubleClickTime(int ms) override;
  PointerValues Defaults() override { return PointerValues{}; }
  bool DesktopUses(PointerValue) override { return false; }

 private:
  int ReadValue(const wchar_t* key, int fallback) const;
  // False (traced) when the value could not be stored; a file that exists
  // but cannot be read is never replaced.
  bool WriteValue(const wchar_t* key, int value);

  std::wstring path_;
};

// The production emulation file: XdgConfigHome() + "/TEVO TK410/pointer.ini".
std::wstring PointerSettingsFilePath();

}  // namespace tk410
