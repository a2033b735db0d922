#pragma once
// A small desktop on the test program's private Xvfb: the openbox window
// manager, plain X11 clients standing for games (tk410-test-window copied
// under the games' names), and the ways a user brings a window to the front
// (xdotool windowactivate, or the _NET_ACTIVE_WINDOW request a task bar
// sends). Every wait is for an event of the X server, bounded in time.

#include <sys/types.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "support/temp_dir.h"

namespace tk410::testing {

class X11Desktop {
 public:
  X11Desktop();
  ~X11Desktop();
  X11Desktop(const X11Desktop&) = delete;
  X11Desktop& operator=(const X11Desktop&) = delete;

  // Empty when the desktop runs; else why not (for the skip message).
  const std::string& Failure() const { return failure_; }

  struct Client {
    pid_t pid = -1;
    uint32_t window = 0;
  };
  // Runs a copy of the test client named `name` with `args`; waits until
  // the window manager manages its window. window 0 on failure.
  Client StartClient(const std::string& name, const std::vector<std::string>& args = {});

  // Brings `window` to the front with xdotool; true when it came.
  bool Activate(uint32_t window);
  // Asks the window manager to bring each window to the front, one request
  // right after the other (alt-tabbing), without waiting in between; then
  // waits until the last one is in front.
  bool ActivateInTurn(const std::vector<uint32_t>& windows);

 private:
  struct Connection;
  bool WaitFor(const std::function<bool()>& condition, int timeout_ms);
  uint32_t ActiveWindow();
  bool Managed(uint32_t window);

  TempDir dir_;
  std::string failure_;
  pid_t wm_pid_ = -1;
  std::vector<pid_t> clients_;
  Connection* x_ = nullptr;
};

}  // namespace tk410::testing
