#pragma once
// The "start with the desktop session" switch: an XDG autostart entry
// $XDG_CONFIG_HOME/autostart/tk410.desktop. The switch is on exactly while the
// entry exists. The entry starts the program without arguments, so an
// automatic start shows the window (no "-hide"). Where the program is
// installed, the entry is a copy of its installed desktop entry.

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

// The desktop entry the package installed (applications/<kDesktopId>.desktop
// under $XDG_DATA_DIRS, by default /usr/local/share and /usr/share); empty
// when the program is not installed.
std::wstring InstalledDesktopEntryPath();

// The text of the entry that starts `program_path`. With the text of the
// installed desktop entry, a copy of it (names, translations, icon) that
// starts `program_path`; otherwise an entry of its own.
std::string AutostartEntryText(const std::wstring& program_path, const std::string& installed_entry = "");

}  // namespace tk410
