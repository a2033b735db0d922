#pragma once
// A /proc tree of a test's own: process folders with an "exe" link and the
// "cmdline" and "environ" files, for the code that looks up the process
// behind a window.

#include <filesystem>
#include <initializer_list>
#include <string>

#include "support/temp_dir.h"

namespace tk410::testing {

class FakeProc {
 public:
  // A folder like /proc/PID; `exe` empty: no link (a kernel thread, another
  // user's process).
  void Add(int pid, const std::string& exe, const std::string& cmdline, const std::string& environ = "") const {
    const std::filesystem::path folder = dir_.path() / std::to_string(pid);
    std::filesystem::create_directories(folder);
    if (!exe.empty()) std::filesystem::create_symlink(exe, folder / "exe");
    dir_.Write(std::to_string(pid) + "/cmdline", cmdline);
    dir_.Write(std::to_string(pid) + "/environ", environ);
  }
  std::string Root() const { return dir_.path().string(); }

  // Zero bytes end each argument and each variable, as in /proc.
  static std::string Zeros(std::initializer_list<std::string> parts) {
    std::string text;
    for (const std::string& p : parts) text += p + std::string(1, '\0');
    return text;
  }

 private:
  TempDir dir_;
};

}  // namespace tk410::testing
