#include "app/autostart.h"

#include <unistd.h>

#include <cstdlib>

#include "app/app_paths.h"
#include "app/program_paths.h"
#include "base/atomic_file.h"
#include "base/text.h"

namespace tk410 {

namespace {

constexpr size_t kMaxEntryBytes = 64 * 1024;

// The installed entry's [Desktop Entry] group with its Exec line starting
// `exec`; the keys that would start something else (TryExec, D-Bus
// activation) are left out. Empty when the text has no such group.
std::string CopyOfInstalledEntry(const std::string& installed, const std::wstring& exec) {
  std::string out;
  bool in_group = false;
  bool seen_group = false;
  size_t start = 0;
  while (start < installed.size()) {
    size_t end = installed.find('\n', start);
    if (end == std::string::npos) end = installed.size();
    std::string line = installed.substr(start, end - start);
    start = end + 1;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (!line.empty() && line.front() == '[') {
      in_group = line == "[Desktop Entry]";
      seen_group |= in_group;
      if (in_group) out += line + "\n";
      continue;
    }
    if (!in_group) continue;
    if (line.rfind("Exec=", 0) == 0 || line.rfind("TryExec=", 0) == 0 ||
        line.rfind("DBusActivatable=", 0) == 0 || line.rfind("X-GNOME-Autostart-enabled=", 0) == 0) {
      continue;
    }
    out += line + "\n";
  }
  if (!seen_group) return "";
  out += "Exec=" + ToUtf8(exec) + "\n";
  out += "X-GNOME-Autostart-enabled=true\n";
  return out;
}

}  // namespace

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
  std::string installed;
  const std::wstring installed_path = InstalledDesktopEntryPath();
  if (!installed_path.empty() && !ReadFileBytes(installed_path, installed, kMaxEntryBytes)) installed.clear();
  return WriteFileAtomically(path, AutostartEntryText(program_path, installed));
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

std::wstring InstalledDesktopEntryPath() {
  const char* env = std::getenv("XDG_DATA_DIRS");
  const std::string dirs = env != nullptr && *env != '\0' ? env : "/usr/local/share/:/usr/share/";
  size_t start = 0;
  while (start <= dirs.size()) {
    size_t end = dirs.find(':', start);
    if (end == std::string::npos) end = dirs.size();
    const std::string dir = dirs.substr(start, end - start);
    start = end + 1;
    if (dir.empty() || dir.front() != '/') continue;  // relative entries are ignored
    const std::wstring path = FromUtf8(dir) + L"/applications/" + FromUtf8(kDesktopId) + L".desktop";
    if (FileExists(path)) return path;
  }
  return L"";
}

std::string AutostartEntryText(const std::wstring& program_path, const std::string& installed_entry) {
  if (!installed_entry.empty()) {
    const std::string copy = CopyOfInstalledEntry(installed_entry, QuoteExecArgument(program_path));
    if (!copy.empty()) return copy;
  }
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
