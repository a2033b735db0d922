#pragma once
// Reads the system's font configuration (fontconfig: its configuration
// files and font lists) on a thread of its own while the program starts
// (after the application object: beside it, the two threads' mappings of
// libraries and font caches contended for the process's memory map), so
// that the first frame, which is the first to lay out text, does not wait for
// it on the window thread. Wait() before the first text is laid out: the
// window thread then finds the configuration loaded instead of loading a
// second one alongside.

#include <thread>

namespace PLKUI::qt {

class FontWarmup {
 public:
  FontWarmup();
  ~FontWarmup();
  FontWarmup(const FontWarmup&) = delete;
  FontWarmup& operator=(const FontWarmup&) = delete;

  void Wait();

 private:
  std::thread thread_;
};

}  // namespace PLKUI::qt
