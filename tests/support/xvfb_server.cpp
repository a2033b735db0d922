#include "support/xvfb_server.h"

#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <cstdlib>
#include <mutex>
#include <vector>

#include "support/child_process.h"

namespace tk410::testing {

XvfbServer::XvfbServer() {
  int fds[2];
  if (pipe(fds) != 0) {
    failure_ = "no pipe for -displayfd";
    return;
  }
  fcntl(fds[0], F_SETFD, FD_CLOEXEC);
  pid_ = SpawnChild({"Xvfb", "-displayfd", std::to_string(fds[1]), "-noreset", "-nolisten", "tcp", "-screen", "0",
                     "640x480x24"},
                    -1, fds[0]);
  close(fds[1]);
  if (pid_ <= 0) {
    close(fds[0]);
    pid_ = -1;
    failure_ = "Xvfb could not be started (Debian package xvfb)";
    return;
  }
  // The server writes its display number once it accepts connections; the
  // pipe closes without a number when it exits instead.
  std::string number;
  char c = 0;
  while (true) {
    const ssize_t n = read(fds[0], &c, 1);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0 || c == '\n') break;
    number += c;
  }
  close(fds[0]);
  if (number.empty()) {
    kill(pid_, SIGTERM);
    WaitChild(pid_);
    pid_ = -1;
    failure_ = "Xvfb did not start a display";
    return;
  }
  display_ = ":" + number;
}

XvfbServer::~XvfbServer() {
  if (pid_ <= 0) return;
  kill(pid_, SIGTERM);
  WaitChild(pid_);
}

bool XvfbServer::SetLayout(const std::string& layout, std::string* why) const {
  if (!Running()) {
    if (why) *why = failure_;
    return false;
  }
  const pid_t pid = SpawnChild({"setxkbmap", "-display", display_, "-layout", layout, "-option", ""});
  if (pid <= 0) {
    if (why) *why = "setxkbmap could not be started (Debian package x11-xkb-utils)";
    return false;
  }
  const int code = WaitChild(pid);
  if (code != 0 && why) *why = "setxkbmap " + layout + " exited with " + std::to_string(code);
  return code == 0;
}

namespace {
XvfbServer* g_shared = nullptr;
void StopShared() {
  delete g_shared;
  g_shared = nullptr;
}
}  // namespace

XvfbServer& SharedXvfb() {
  static std::once_flag once;
  std::call_once(once, [] {
    g_shared = new XvfbServer;
    if (g_shared->Running()) {
      setenv("DISPLAY", g_shared->Display().c_str(), 1);
      unsetenv("XDG_SESSION_TYPE");
    }
    std::atexit(StopShared);
  });
  return *g_shared;
}

}  // namespace tk410::testing
