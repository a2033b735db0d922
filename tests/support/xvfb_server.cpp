#include "support/xvfb_server.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <mutex>
#include <vector>

extern char** environ;

namespace tk410::testing {

pid_t SpawnQuietly(const std::vector<std::string>& args, int close_fd, int out_fd) {
  std::vector<char*> argv;
  for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
  argv.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  for (int fd : {0, 1, 2}) posix_spawn_file_actions_addopen(&actions, fd, "/dev/null", O_RDWR, 0);
  if (out_fd >= 0) posix_spawn_file_actions_adddup2(&actions, out_fd, 1);
  if (close_fd >= 0) posix_spawn_file_actions_addclose(&actions, close_fd);
  pid_t pid = -1;
  if (posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), environ) != 0) pid = -1;
  posix_spawn_file_actions_destroy(&actions);
  return pid;
}

int WaitExit(pid_t pid) {
  int status = 0;
  while (waitpid(pid, &status, 0) < 0) {
    if (errno != EINTR) return -1;
  }
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

XvfbServer::XvfbServer(const std::string& screen) {
  int fds[2];
  if (pipe(fds) != 0) {
    failure_ = "no pipe for -displayfd";
    return;
  }
  fcntl(fds[0], F_SETFD, FD_CLOEXEC);
  pid_ = SpawnQuietly({"Xvfb", "-displayfd", std::to_string(fds[1]), "-noreset", "-nolisten", "tcp", "-screen", "0", screen},
               fds[0]);
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
    WaitExit(pid_);
    pid_ = -1;
    failure_ = "Xvfb did not start a display";
    return;
  }
  display_ = ":" + number;
}

XvfbServer::~XvfbServer() {
  if (pid_ <= 0) return;
  kill(pid_, SIGTERM);
  WaitExit(pid_);
}

bool XvfbServer::SetLayout(const std::string& layout, std::string* why) const {
  if (!Running()) {
    if (why) *why = failure_;
    return false;
  }
  const pid_t pid = SpawnQuietly({"setxkbmap", "-display", display_, "-layout", layout, "-option", ""});
  if (pid <= 0) {
    if (why) *why = "setxkbmap could not be started (Debian package x11-xkb-utils)";
    return false;
  }
  const int code = WaitExit(pid);
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
