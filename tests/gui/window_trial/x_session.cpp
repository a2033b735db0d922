#include "gui/window_trial/x_session.h"

#include <poll.h>
#include <signal.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>

#ifdef TK410_HAVE_X11
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#endif

namespace tk410::testing {

namespace {

#ifdef TK410_HAVE_X11

constexpr int kStartBoundMs = 10000;
constexpr int kMapAttemptMs = 1000;
using Deadline = std::chrono::steady_clock::time_point;

int MsLeft(Deadline until) {
  const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(until - std::chrono::steady_clock::now());
  return left.count() > 0 ? static_cast<int>(left.count()) : 0;
}

bool HasProperty(::Display* x, Window window, const char* name) {
  Atom type = 0;
  int format = 0;
  unsigned long count = 0, after = 0;
  unsigned char* data = nullptr;
  const bool has = XGetWindowProperty(x, window, XInternAtom(x, name, False), 0, 1, False, AnyPropertyType, &type,
                                      &format, &count, &after, &data) == Success &&
                   type != None;
  if (data) XFree(data);
  return has;
}

// Waits on the connection's events until `condition` holds or `until`.
template <class Condition>
bool WaitForX(::Display* x, Deadline until, Condition condition) {
  while (!condition()) {
    // Events already read wake no poll: look again after taking them.
    bool taken = false;
    while (XPending(x)) {
      XEvent e;
      XNextEvent(x, &e);
      taken = true;
    }
    if (taken) continue;
    pollfd p{ConnectionNumber(x), POLLIN, 0};
    const int left = MsLeft(until);
    if (left == 0 || poll(&p, 1, left) <= 0) return condition();
  }
  return true;
}

#endif

}  // namespace

bool XSession::Start(std::string* reason) {
#ifndef TK410_HAVE_X11
  *reason = "built without X11";
  return false;
#else
  const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(kStartBoundMs);
  server_ = std::make_unique<XvfbServer>("1600x1000x24");
  if (!server_->Running()) {
    *reason = server_->Failure();
    Stop();
    return false;
  }
  const std::string display = server_->Display();
  setenv("DISPLAY", display.c_str(), 1);

  ::Display* x = XOpenDisplay(display.c_str());
  if (!x) {
    *reason = "cannot connect to " + display;
    Stop();
    return false;
  }
  const Window root = DefaultRootWindow(x);
  XSelectInput(x, root, PropertyChangeMask);
  manager_ = SpawnQuietly({"openbox", "--sm-disable"});
  // The manager announces itself on the root window; a map request that
  // reaches it while it still starts up may go unanswered, so it counts as
  // running once it manages a window of ours (asked again if need be).
  bool running = manager_ > 0 && WaitForX(x, until, [&] { return HasProperty(x, root, "_NET_SUPPORTING_WM_CHECK"); });
  if (running) {
    const Window probe = XCreateSimpleWindow(x, root, 0, 0, 10, 10, 0, 0, 0);
    XSelectInput(x, probe, PropertyChangeMask | StructureNotifyMask);
    running = false;
    while (!running && MsLeft(until) > 0) {
      XUnmapWindow(x, probe);
      XMapWindow(x, probe);
      XFlush(x);
      const auto attempt = std::min(until, std::chrono::steady_clock::now() + std::chrono::milliseconds(kMapAttemptMs));
      running = WaitForX(x, attempt, [&] { return HasProperty(x, probe, "WM_STATE"); });
    }
    XDestroyWindow(x, probe);
    XSync(x, False);
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
  if (manager_ > 0) {
    kill(manager_, SIGTERM);
    WaitExit(manager_);
    manager_ = -1;
  }
  server_.reset();
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

void XWindowProbe::SendToManager(unsigned long window, const char* message, const long (&data)[4]) {
  XEvent e{};
  e.xclient.type = ClientMessage;
  e.xclient.window = window;
  e.xclient.message_type = XInternAtom(D(display_), message, False);
  e.xclient.format = 32;
  for (int i = 0; i < 4; ++i) e.xclient.data.l[i] = data[i];
  XSendEvent(D(display_), DefaultRootWindow(D(display_)), False,
             SubstructureRedirectMask | SubstructureNotifyMask, &e);
  XFlush(D(display_));
}

void XWindowProbe::ActivateFromTaskbar(unsigned long window) {
  constexpr long kFromPager = 2;
  SendToManager(window, "_NET_ACTIVE_WINDOW", {kFromPager, CurrentTime, 0, 0});
}

void XWindowProbe::UnmaximizeFromTaskbar(unsigned long window) {
  constexpr long kRemove = 0;
  constexpr long kFromPager = 2;
  const long vert = static_cast<long>(XInternAtom(D(display_), "_NET_WM_STATE_MAXIMIZED_VERT", False));
  const long horz = static_cast<long>(XInternAtom(D(display_), "_NET_WM_STATE_MAXIMIZED_HORZ", False));
  SendToManager(window, "_NET_WM_STATE", {kRemove, vert, horz, kFromPager});
}

unsigned long XWindowProbe::MarkerAtom() { return XInternAtom(D(display_), "_TK410_TEST_MARK", False); }

void XWindowProbe::SendMarker(unsigned long window) {
  XEvent e{};
  e.xclient.type = ClientMessage;
  e.xclient.window = window;
  e.xclient.message_type = MarkerAtom();
  e.xclient.format = 32;
  XSendEvent(D(display_), window, False, NoEventMask, &e);
  XFlush(D(display_));
}

#else

XWindowProbe::XWindowProbe(const std::string&) {}
XWindowProbe::~XWindowProbe() = default;
int XWindowProbe::WmState(unsigned long) { return 0; }
bool XWindowProbe::Maximized(unsigned long) { return false; }
void XWindowProbe::ActivateFromTaskbar(unsigned long) {}
void XWindowProbe::UnmaximizeFromTaskbar(unsigned long) {}
unsigned long XWindowProbe::MarkerAtom() { return 0; }
void XWindowProbe::SendMarker(unsigned long) {}
void XWindowProbe::SendToManager(unsigned long, const char*, const long (&)[4]) {}

#endif

}  // namespace tk410::testing
