#pragma once
// Swaps what a path names, on a thread of its own, for as long as the object
// lives: a regular file with given bytes, a named pipe nobody writes to, and a
// link to /dev/zero, in turn, each put in place by exchanging two names. A reader that
// checks a path and then opens it again meets the pipe or the device sooner
// or later; a reader that checks the descriptor it opened never does.

#include <atomic>
#include <filesystem>
#include <string>
#include <thread>

namespace tk410::testing {

class FileSwapper {
 public:
  FileSwapper(std::filesystem::path path, const std::string& bytes);
  ~FileSwapper();
  FileSwapper(const FileSwapper&) = delete;
  FileSwapper& operator=(const FileSwapper&) = delete;

  // How many times the regular file was put back so far (it is in place when
  // the object is destroyed; 0 rounds means the file system cannot swap).
  long rounds() const { return rounds_.load(); }

 private:
  void Run();

  std::filesystem::path path_;
  std::atomic<bool> stop_{false};
  std::atomic<long> rounds_{0};
  std::thread thread_;
};

}  // namespace tk410::testing
