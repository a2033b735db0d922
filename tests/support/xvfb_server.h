#pragma once
// XvfbServer: a private X server for the tests whose behaviour depends on a
// real X display (keyboard layouts, XInput2 raw events, XTest). Xvfb is
// started with -displayfd, so the display number is known once the server
// accepts connections (no polling), and with -noreset, so a keyboard layout
// set with setxkbmap stays when the last client leaves.

#include <string>
#include <sys/types.h>

namespace tk410::testing {

class XvfbServer {
 public:
  // Starts Xvfb on a free display; Running() tells whether it did.
  XvfbServer();
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

// The server of this test program: started on first use, stopped when the
// program ends. Points DISPLAY at it (and clears XDG_SESSION_TYPE, so code
// that declines Wayland sessions uses it) while it runs.
XvfbServer& SharedXvfb();

}  // namespace tk410::testing
