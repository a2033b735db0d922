#include "app/app_paths.h"

#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <sstream>

#include "app/program_paths.h"
#include "base/text.h"

namespace tk410 {

namespace {

std::wstring EnvWide(const char* name) {
  const char* value = std::getenv(name);
  return value ? FromUtf8(value) : std::wstring();
}

std::wstring WithoutTrailingSlashes(std::wstring path) {
  while (path.size() > 1 && path.back() == L'/') path.pop_back();
  return path;
}

}  // namespace

std::wstring HomeDirectory() {
  std::wstring home = EnvWide("HOME");
  if (home.empty()) {
    if (const passwd* pw = getpwuid(getuid()); pw && pw->pw_dir) home = FromUtf8(pw->pw_dir);
  }
  if (home.empty()) home = L"/";
  return WithoutTrailingSlashes(home);
}

namespace {

// A base folder of the XDG rules: the variable when it holds an absolute
// path (relative values are ignored), else `under_home` in $HOME.
std::wstring XdgBaseFolder(const char* variable, const wchar_t* under_home) {
  const std::wstring env = EnvWide(variable);
  if (!env.empty() && env.front() == L'/') return WithoutTrailingSlashes(env);
  return HomeDirectory() + under_home;
}

}  // namespace

std::wstring XdgConfigHome() { return XdgBaseFolder("XDG_CONFIG_HOME", L"/.config"); }

std::wstring XdgCacheHome() { return XdgBaseFolder("XDG_CACHE_HOME", L"/.cache"); }

std::wstring ParseUserDirsDocuments(std::string_view text, const std::wstring& home) {
  std::istringstream lines{std::string(text)};
  std::string line;
  std::wstring found;
  while (std::getline(lines, line)) {
    size_t pos = line.find_first_not_of(" \t");
    if (pos == std::string::npos || line[pos] == '#') continue;
    line.erase(0, pos);
    constexpr std::string_view kKey = "XDG_DOCUMENTS_DIR";
    if (line.compare(0, kKey.size(), kKey) != 0) continue;
    pos = line.find_first_not_of(" \t", kKey.size());
    if (pos == std::string::npos || line[pos] != '=') continue;
    const size_t open = line.find('"', pos + 1);
    if (open == std::string::npos) continue;
    // Inside the quotes a backslash escapes the next character (\" and \\).
    std::string value;
    bool closed = false;
    for (size_t i = open + 1; i < line.size() && !closed; ++i) {
      if (line[i] == '"') {
        closed = true;
      } else {
        if (line[i] == '\\' && i + 1 < line.size()) ++i;
        value.push_back(line[i]);
      }
    }
    if (!closed) continue;
    std::wstring path;
    if (value.compare(0, 5, "$HOME") == 0 && (value.size() == 5 || value[5] == '/'))
      path = home + FromUtf8(value.substr(5));
    else if (!value.empty() && value.front() == '/')
      path = FromUtf8(value);
    else
      continue;
    found = WithoutTrailingSlashes(path);  // the last assignment wins, as in a shell
  }
  return found;
}

std::wstring DocumentsDirectory() {
  const std::wstring env = EnvWide("XDG_DOCUMENTS_DIR");
  if (!env.empty() && env.front() == L'/') return WithoutTrailingSlashes(env);
  const std::wstring home = HomeDirectory();
  std::string text;
  // Often a link into a collection of dot files: links are followed.
  if (ReadFileBytes(XdgConfigHome() + L"/user-dirs.dirs", text, 1u << 20, FileLinks::kFollow)) {
    std::wstring documents = ParseUserDirsDocuments(text, home);
    if (!documents.empty()) return documents;
  }
  return home + L"/Documents";
}

std::wstring GetDataDirectory() {
  return DocumentsDirectory() + L"/" + kProductName + L" MouseDbFiles/";
}

bool CreateDirectoryPath(const std::wstring& path) {
  if (path.empty()) return false;
  if (DirectoryExists(path)) return true;
  std::error_code ec;
  std::filesystem::create_directories(std::filesystem::path(ToUtf8(path)), ec);
  return DirectoryExists(path);
}

bool ReadFileBytes(const std::wstring& path, std::string& bytes, size_t max_bytes, FileLinks links) {
  return ReadRegularFile(path, max_bytes, links, &bytes) == FileRead::kOk;
}

}  // namespace tk410
