#include "app/program_paths.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <vector>

#include "base/text.h"

namespace tk410 {

namespace {

std::wstring WithSlash(std::wstring dir) {
  if (dir.empty() || dir.back() != L'/') dir.push_back(L'/');
  return dir;
}

}  // namespace

std::wstring GetProgramDirectory() {
  std::vector<char> buf(4096);
  const ssize_t n = readlink("/proc/self/exe", buf.data(), buf.size() - 1);
  if (n <= 0) return L"./";
  std::string path(buf.data(), static_cast<size_t>(n));
  const size_t slash = path.rfind('/');
  if (slash == std::string::npos) return L"./";
  return FromUtf8(path.substr(0, slash + 1));
}

bool FileExists(const std::wstring& path) {
  struct stat st {};
  return stat(ToUtf8(path).c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

bool DirectoryExists(const std::wstring& path) {
  struct stat st {};
  return stat(ToUtf8(path).c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

std::wstring ShippedDataDirectory() {
  std::vector<std::wstring> candidates;
  if (const char* env = std::getenv("TK410_DATA_DIR"); env && *env)
    candidates.push_back(WithSlash(FromUtf8(env)));
  const std::wstring program = GetProgramDirectory();
  candidates.push_back(program);
  candidates.push_back(program + L"../share/tk410/");
#ifdef TK410_INSTALL_DATA_DIR
  candidates.push_back(WithSlash(FromUtf8(TK410_INSTALL_DATA_DIR)));
#endif
#ifdef TK410_SOURCE_DATA_DIR
  candidates.push_back(WithSlash(FromUtf8(TK410_SOURCE_DATA_DIR)));
#endif
  for (const auto& dir : candidates)
    if (FileExists(dir + L"config.xml")) return dir;
  return program;
}

}  // namespace tk410
