#pragma once
// XvfbServer: a private X server for the tests whose behaviour depends on a
// real X display (keyboard layouts, XInput2 raw events, XTest). Xvfb is
// started with -displayfd, so the display number is known once the server
// accepts connections (no polling), and with -noreset, so a keyboard layout
// set with setxkbmap stays when the last client leaves.

#include <string>
#include <sys/types.h>
#include <vector>

namespace tk410::testing {

class XvfbServer {
 public:
  // Starts Xvfb on a free display with one screen of `screen` (WIDTHxHEIGHTxDEPTH);
  // Running() tells whether it did.
  explicit XvfbServer(const std::string& screen = "640x480x24");
  ~XvfbServer();
  XvfbServer(const XvfbServer&) = delete;
  XvfbServer& operator=(const XvfbServer&) = delete;

  bool Running() const { return pid_ > 0; }
  // ":N" while running.
  const std::string& Display() const { return display_; }
  // Why the server is not running.
  const std::string& Failure() const { return failure_; }

  // Runs `setxkbmap LAYOUT` against this display; false with the reason in
  // *why when it could not.
  bool SetLayout(const std::string& layout, std::string* why = nullptr) const;

 private:
  pid_t pid_ = -1;
  std::string display_;
  std::string failure_;
};

// Runs `args` (searched on PATH) with stdin, stdout and stderr on /dev/null
// (stdout on `out_fd` when that is 0 or more) and `close_fd` closed in the
// child; returns the child's id, or -1.
pid_t SpawnQuietly(const std::vector<std::string>& args, int close_fd = -1, int out_fd = -1);
// Waits for the child `pid` to end; its exit code, or -1.
int WaitExit(pid_t pid);

// The server of this test program: started on first use, stopped when the
// program ends. Points DISPLAY at it (and clears XDG_SESSION_TYPE, so code
// that declines Wayland sessions uses it) while it runs.
XvfbServer& SharedXvfb();

}  // namespace tk410::testing
