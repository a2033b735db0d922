#include "support/temp_dir.h"

#include <cstdlib>
#include <fstream>
#include <sstream>

#include "base/text.h"

namespace tk410::testing {

TempDir::TempDir() {
  std::string pattern = (std::filesystem::temp_directory_path() / "tk410-XXXXXX").string();
  if (const char* d = mkdtemp(pattern.data())) path_ = d;
}

TempDir::~TempDir() {
  std::error_code ec;
  if (!path_.empty()) std::filesystem::remove_all(path_, ec);
}

std::wstring TempDir::wide() const { return FromUtf8(path_.string()) + L"/"; }

std::filesystem::path TempDir::Write(const std::string& name, const std::string& bytes) const {
  const auto full = path_ / name;
  std::filesystem::create_directories(full.parent_path());
  std::ofstream out(full, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  return full;
}

std::string TempDir::Read(const std::string& name) const {
  std::ifstream in(path_ / name, std::ios::binary);
  std::ostringstream ss;
  ss << in.rdbuf();
  return ss.str();
}

}  // namespace tk410::testing
