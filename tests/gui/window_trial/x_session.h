#pragma once
// An X display of the test's own: Xvfb with the openbox window manager,
// started before the program's windows and ended after them, and a probe
// that reads what the window manager did to a window. Where either program
// is missing or does not start, Start says why and the tests skip.

#include <memory>
#include <string>
#include <sys/types.h>

#include "support/xvfb_server.h"

namespace tk410::testing {

class XSession {
 public:
  XSession() = default;
  ~XSession() { Stop(); }
  XSession(const XSession&) = delete;
  XSession& operator=(const XSession&) = delete;

  // Starts the server (a free display number, 1600 x 1000) and the window
  // manager, points DISPLAY at it and waits, bounded, until the manager
  // runs. False with `reason` otherwise.
  bool Start(std::string* reason);
  // Ends the two programs this session started.
  void Stop();
  // ":N" once started.
  std::string Display() const { return server_ ? server_->Display() : std::string(); }

 private:
  std::unique_ptr<XvfbServer> server_;
  pid_t manager_ = -1;
};

// Reads window-manager state through a connection of its own.
class XWindowProbe {
 public:
  explicit XWindowProbe(const std::string& display);
  ~XWindowProbe();
  XWindowProbe(const XWindowProbe&) = delete;
  XWindowProbe& operator=(const XWindowProbe&) = delete;

  bool Connected() const { return display_ != nullptr; }
  // WM_STATE of a top-level window: 1 normal, 3 iconic, 0 none yet.
  int WmState(unsigned long window);
  // _NET_WM_STATE holds both maximised states.
  bool Maximized(unsigned long window);
  // Asks the window manager to activate the window as a taskbar does
  // (_NET_ACTIVE_WINDOW from a pager), which restores a minimised one.
  void ActivateFromTaskbar(unsigned long window);
  // Asks the window manager to take the maximised state away, as a
  // taskbar's "restore" does.
  void UnmaximizeFromTaskbar(unsigned long window);
  // Sends the window's owner a client message of type MarkerAtom(). The
  // owner receives it after every event the server sent it before, so
  // seeing it means the owner has read the window manager's changes that
  // this probe has seen.
  void SendMarker(unsigned long window);
  unsigned long MarkerAtom();

 private:
  // A client message about `window` to the root, where the manager reads it.
  void SendToManager(unsigned long window, const char* message, const long (&data)[4]);

  void* display_ = nullptr;
};

}  // namespace tk410::testing
