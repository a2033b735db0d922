#pragma once
// The "start with the desktop session" switch: an XDG autostart entry
// $XDG_CONFIG_HOME/autostart/tk410.desktop. The switch is on exactly while the
// entry exists. The entry starts the program without arguments, so an
// automatic start shows the window (no "-hide").

#include <string>

namespace tk410 {

class AutostartEntry {
 public:
  // `config_home` is the XDG configuration folder ($XDG_CONFIG_HOME).
  explicit AutostartEntry(std::wstring config_home);

  std::wstring EntryPath() const;

  bool IsAutostartOn() const;
  // Writes (on) or removes (off) the entry. `program_path` is the full path of
  // the program's executable. True when the entry is in the requested state
  // afterwards.
  bool SetAutostart(bool on, const std::wstring& program_path) const;

 private:
  std::wstring config_home_;
};

// One argument of a desktop entry's Exec line: quoted when it holds a space or
// another reserved character, with the quoting escapes, and then with the
// escapes of the entry's string values (backslash, control characters) and
// '%' doubled so it is not read as a field code.
std::wstring QuoteExecArgument(const std::wstring& argument);

// The text of the entry that starts `program_path`.
std::string AutostartEntryText(const std::wstring& program_path);

}  // namespace tk410
