#pragma once
// A temporary directory removed when the object goes out of scope.

#include <filesystem>
#include <string>

namespace tk410::testing {

class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  const std::filesystem::path& path() const { return path_; }
  // The path as wide text with a trailing '/'.
  std::wstring wide() const;
  // Writes `bytes` to path()/name (creating folders) and returns the full path.
  std::filesystem::path Write(const std::string& name, const std::string& bytes) const;
  std::string Read(const std::string& name) const;

 private:
  std::filesystem::path path_;
};

}  // namespace tk410::testing
