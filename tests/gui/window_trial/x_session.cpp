#include "gui/window_trial/x_session.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <vector>

#ifdef TK410_HAVE_X11
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#endif

extern char** environ;

namespace tk410::test {

namespace {

constexpr int kStartBoundMs = 10000;

// Starts `argv` with its output discarded; -1 when it could not start.
pid_t Spawn(const std::vector<std::string>& args) {
  std::vector<char*> argv;
  for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
  argv.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
  posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
  pid_t pid = -1;
  const int rc = posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  return rc == 0 ? pid : -1;
}

void End(pid_t& pid) {
  if (pid <= 0) return;
  kill(pid, SIGTERM);
  waitpid(pid, nullptr, 0);
  pid = -1;
}

int MsLeft(std::chrono::steady_clock::time_point until) {
  const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(until - std::chrono::steady_clock::now());
  return left.count() > 0 ? static_cast<int>(left.count()) : 0;
}

}  // namespace

bool XSession::Start(std::string* reason) {
#ifndef TK410_HAVE_X11
  *reason = "built without X11";
  return false;
#else
  const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(kStartBoundMs);
  // The server writes its display number to the pipe once it takes clients.
  int fds[2];
  if (pipe2(fds, O_CLOEXEC) != 0) {
    *reason = "no pipe";
    return false;
  }
  const int server_end = fcntl(fds[1], F_DUPFD, 3);  // without close-on-exec: the server keeps it
  close(fds[1]);
  server_ = Spawn({"Xvfb", "-displayfd", std::to_string(server_end), "-screen", "0", "1600x1000x24",
                   "-nolisten", "tcp"});
  close(server_end);
  std::string number;
  pollfd p{fds[0], POLLIN, 0};
  while (server_ > 0 && number.find('\n') == std::string::npos && poll(&p, 1, MsLeft(until)) > 0) {
    char buffer[16];
    const ssize_t n = read(fds[0], buffer, sizeof(buffer));
    if (n <= 0) break;
    number.append(buffer, static_cast<size_t>(n));
  }
  close(fds[0]);
  if (number.find('\n') == std::string::npos) {
    *reason = server_ > 0 ? "Xvfb did not start" : "Xvfb is not installed";
    Stop();
    return false;
  }
  display_ = ":" + number.substr(0, number.find('\n'));
  setenv("DISPLAY", display_.c_str(), 1);

  ::Display* x = XOpenDisplay(display_.c_str());
  if (!x) {
    *reason = "cannot connect to " + display_;
    Stop();
    return false;
  }
  const Window root = DefaultRootWindow(x);
  XSelectInput(x, root, PropertyChangeMask);
  manager_ = Spawn({"openbox", "--sm-disable"});
  // The manager announces itself with _NET_SUPPORTING_WM_CHECK on the root.
  const Atom check = XInternAtom(x, "_NET_SUPPORTING_WM_CHECK", False);
  bool running = false;
  while (manager_ > 0 && !running) {
    Atom type = 0;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char* data = nullptr;
    if (XGetWindowProperty(x, root, check, 0, 1, False, XA_WINDOW, &type, &format, &count, &after, &data) ==
            Success &&
        count == 1)
      running = true;
    if (data) XFree(data);
    if (running) break;
    // Events already read wake no poll: look again after taking them.
    bool taken = false;
    while (XPending(x)) {
      XEvent e;
      XNextEvent(x, &e);
      taken = true;
    }
    if (taken) continue;
    pollfd xp{ConnectionNumber(x), POLLIN, 0};
    const int left = MsLeft(until);
    if (left == 0 || poll(&xp, 1, left) <= 0) break;
  }
  XCloseDisplay(x);
  if (!running) {
    *reason = manager_ > 0 ? "openbox did not start" : "openbox is not installed";
    Stop();
    return false;
  }
  return true;
#endif
}

void XSession::Stop() {
  End(manager_);
  End(server_);
}

#ifdef TK410_HAVE_X11

namespace {
::Display* D(void* p) { return static_cast<::Display*>(p); }
}  // namespace

XWindowProbe::XWindowProbe(const std::string& display) : display_(XOpenDisplay(display.c_str())) {}

XWindowProbe::~XWindowProbe() {
  if (display_) XCloseDisplay(D(display_));
}

int XWindowProbe::WmState(unsigned long window) {
  const Atom wm_state = XInternAtom(D(display_), "WM_STATE", False);
  Atom type = 0;
  int format = 0;
  unsigned long count = 0, after = 0;
  unsigned char* data = nullptr;
  int state = 0;
  if (XGetWindowProperty(D(display_), window, wm_state, 0, 2, False, wm_state, &type, &format, &count, &after,
                         &data) == Success &&
      data && format == 32 && count >= 1)
    state = static_cast<int>(reinterpret_cast<long*>(data)[0]);
  if (data) XFree(data);
  return state;
}

bool XWindowProbe::Maximized(unsigned long window) {
  const Atom net_state = XInternAtom(D(display_), "_NET_WM_STATE", False);
  const Atom vert = XInternAtom(D(display_), "_NET_WM_STATE_MAXIMIZED_VERT", False);
  const Atom horz = XInternAtom(D(display_), "_NET_WM_STATE_MAXIMIZED_HORZ", False);
  Atom type = 0;
  int format = 0;
  unsigned long count = 0, after = 0;
  unsigned char* data = nullptr;
  bool has_vert = false, has_horz = false;
  if (XGetWindowProperty(D(display_), window, net_state, 0, 32, False, XA_ATOM, &type, &format, &count, &after,
                         &data) == Success &&
      data && format == 32) {
    const auto* atoms = reinterpret_cast<Atom*>(data);
    for (unsigned long i = 0; i < count; ++i) {
      has_vert = has_vert || atoms[i] == vert;
      has_horz = has_horz || atoms[i] == horz;
    }
  }
  if (data) XFree(data);
  return has_vert && has_horz;
}

void XWindowProbe::ActivateFromTaskbar(unsigned long window) {
  XEvent e{};
  e.xclient.type = ClientMessage;
  e.xclient.window = window;
  e.xclient.message_type = XInternAtom(D(display_), "_NET_ACTIVE_WINDOW", False);
  e.xclient.format = 32;
  e.xclient.data.l[0] = 2;  // from a pager or taskbar
  e.xclient.data.l[1] = CurrentTime;
  XSendEvent(D(display_), DefaultRootWindow(D(display_)), False,
             SubstructureRedirectMask | SubstructureNotifyMask, &e);
  XFlush(D(display_));
}

void XWindowProbe::UnmaximizeFromTaskbar(unsigned long window) {
  XEvent e{};
  e.xclient.type = ClientMessage;
  e.xclient.window = window;
  e.xclient.message_type = XInternAtom(D(display_), "_NET_WM_STATE", False);
  e.xclient.format = 32;
  e.xclient.data.l[0] = 0;  // remove
  e.xclient.data.l[1] = static_cast<long>(XInternAtom(D(display_), "_NET_WM_STATE_MAXIMIZED_VERT", False));
  e.xclient.data.l[2] = static_cast<long>(XInternAtom(D(display_), "_NET_WM_STATE_MAXIMIZED_HORZ", False));
  e.xclient.data.l[3] = 2;  // from a pager or taskbar
  XSendEvent(D(display_), DefaultRootWindow(D(display_)), False,
             SubstructureRedirectMask | SubstructureNotifyMask, &e);
  XFlush(D(display_));
}

#else

XWindowProbe::XWindowProbe(const std::string&) {}
XWindowProbe::~XWindowProbe() = default;
int XWindowProbe::WmState(unsigned long) { return 0; }
bool XWindowProbe::Maximized(unsigned long) { return false; }
void XWindowProbe::ActivateFromTaskbar(unsigned long) {}
void XWindowProbe::UnmaximizeFromTaskbar(unsigned long) {}

#endif

}  // namespace tk410::test
