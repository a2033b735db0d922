#include "app/autostart.h"

#include <unistd.h>

#include "app/app_paths.h"
#include "app/program_paths.h"
#include "base/atomic_file.h"
#include "base/text.h"

namespace tk410 {

AutostartEntry::AutostartEntry(std::wstring config_home) : config_home_(std::move(config_home)) {
  while (config_home_.size() > 1 && config_home_.back() == L'/') config_home_.pop_back();
}

std::wstring AutostartEntry::EntryPath() const {
  return config_home_ + L"/autostart/tk410.desktop";
}

bool AutostartEntry::IsAutostartOn() const { return FileExists(EntryPath()); }

bool AutostartEntry::SetAutostart(bool on, const std::wstring& program_path) const {
  const std::wstring path = EntryPath();
  if (!on) {
    if (!FileExists(path)) return true;
    return unlink(ToUtf8(path).c_str()) == 0;
  }
  if (!CreateDirectoryPath(config_home_ + L"/autostart")) return false;
  return WriteFileAtomically(path, AutostartEntryText(program_path));
}

std::wstring QuoteExecArgument(const std::wstring& argument) {
  // Characters that force quoting of an Exec argument.
  constexpr std::wstring_view kReserved = L" \t\n\"'\\><~|&;$*?#()`";
  std::wstring quoted = argument;
  if (argument.empty() || argument.find_first_of(kReserved) != std::wstring::npos) {
    quoted = L"\"";
    for (wchar_t c : argument) {
      if (c == L'"' || c == L'`' || c == L'$' || c == L'\\') quoted += L'\\';
      quoted += c;
    }
    quoted += L'"';
  }
  // String-value escapes of the key file, applied on top of the quoting.
  std::wstring value;
  for (wchar_t c : quoted) {
    switch (c) {
      case L'\\': value += L"\\\\"; break;
      case L'\n': value += L"\\n"; break;
      case L'\t': value += L"\\t"; break;
      case L'\r': value += L"\\r"; break;
      case L'%': value += L"%%"; break;
      default: value += c;
    }
  }
  return value;
}

std::string AutostartEntryText(const std::wstring& program_path) {
  std::wstring text = L"[Desktop Entry]\n";
  text += L"Type=Application\n";
  text += L"Name=" + std::wstring(kProductName) + L"\n";
  text += L"Comment=Mouse configuration\n";
  text += L"Exec=" + QuoteExecArgument(program_path) + L"\n";
  text += L"Terminal=false\n";
  text += L"X-GNOME-Autostart-enabled=true\n";
  return ToUtf8(text);
}

}  // namespace tk410
