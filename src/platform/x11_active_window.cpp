#include "platform/x11_active_window.h"

#include <fcntl.h>
#include <poll.h>
#include <pthread.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <thread>

#ifdef TK410_HAVE_XCB
#include <xcb/xcb.h>
#endif

namespace tk410 {

#ifdef TK410_HAVE_XCB

namespace {

constexpr uint32_t kMaxClassBytes = 1024;

xcb_atom_t InternAtom(xcb_connection_t* c, const char* name) {
  xcb_intern_atom_reply_t* reply =
      xcb_intern_atom_reply(c, xcb_intern_atom(c, 0, static_cast<uint16_t>(strlen(name)), name), nullptr);
  const xcb_atom_t atom = reply ? reply->atom : static_cast<xcb_atom_t>(XCB_ATOM_NONE);
  free(reply);
  return atom;
}

// One property of `window`; null (and nothing to free) when the window or
// property is missing or of another type or format.
xcb_get_property_reply_t* PropertyReply(xcb_connection_t* c, xcb_get_property_cookie_t cookie, xcb_atom_t type,
                                        uint8_t format) {
  xcb_generic_error_t* error = nullptr;
  xcb_get_property_reply_t* reply = xcb_get_property_reply(c, cookie, &error);
  free(error);
  if (reply && (reply->type != type || reply->format != format || xcb_get_property_value_length(reply) <= 0)) {
    free(reply);
    return nullptr;
  }
  return reply;
}

uint32_t FirstCard32(xcb_connection_t* c, xcb_get_property_cookie_t cookie, xcb_atom_t type) {
  xcb_get_property_reply_t* reply = PropertyReply(c, cookie, type, 32);
  const uint32_t value = reply ? *static_cast<const uint32_t*>(xcb_get_property_value(reply)) : 0;
  free(reply);
  return value;
}

}  // namespace

struct X11ActiveWindow::Watcher {
  Watcher(Clock& clock, uint64_t settle_ms) : clock(clock), settle(settle_ms) {}
  ~Watcher() {
    if (connection) xcb_disconnect(connection);
    for (int fd : wake) {
      if (fd >= 0) close(fd);
    }
  }

  // Whether the window manager keeps _NET_ACTIVE_WINDOW: it lists it in
  // _NET_SUPPORTED, or the root window carries it.
  bool Supported() {
    xcb_get_property_cookie_t listed = xcb_get_property(connection, 0, root, net_supported, XCB_ATOM_ATOM, 0, 4096);
    xcb_get_property_cookie_t set = xcb_get_property(connection, 0, root, net_active_window, XCB_ATOM_WINDOW, 0, 1);
    bool supported = false;
    if (xcb_get_property_reply_t* reply = PropertyReply(connection, listed, XCB_ATOM_ATOM, 32)) {
      const auto* atoms = static_cast<const xcb_atom_t*>(xcb_get_property_value(reply));
      const int n = xcb_get_property_value_length(reply) / 4;
      for (int i = 0; i < n; ++i) supported = supported || atoms[i] == net_active_window;
      free(reply);
    }
    if (xcb_get_property_reply_t* reply = PropertyReply(connection, set, XCB_ATOM_WINDOW, 32)) {
      supported = true;
      free(reply);
    }
    return supported;
  }

  WindowIdentity ReadActive() {
    WindowIdentity identity;
    identity.window = FirstCard32(
        connection, xcb_get_property(connection, 0, root, net_active_window, XCB_ATOM_WINDOW, 0, 1), XCB_ATOM_WINDOW);
    if (identity.window == XCB_WINDOW_NONE) return identity;
    // Both questions go out before either answer is awaited.
    xcb_get_property_cookie_t pid =
        xcb_get_property(connection, 0, identity.window, net_wm_pid, XCB_ATOM_CARDINAL, 0, 1);
    xcb_get_property_cookie_t wm_class = xcb_get_property(connection, 0, identity.window, XCB_ATOM_WM_CLASS,
                                                          XCB_ATOM_STRING, 0, kMaxClassBytes / 4);
    identity.pid = static_cast<int>(FirstCard32(connection, pid, XCB_ATOM_CARDINAL));
    if (identity.pid < 0) identity.pid = 0;
    if (xcb_get_property_reply_t* reply = PropertyReply(connection, wm_class, XCB_ATOM_STRING, 8)) {
      // "instance\0class\0"
      const std::string names(static_cast<const char*>(xcb_get_property_value(reply)),
                              static_cast<size_t>(xcb_get_property_value_length(reply)));
      const size_t cut = names.find('\0');
      identity.wm_instance = names.substr(0, cut);
      if (cut != std::string::npos) {
        const size_t end = names.find('\0', cut + 1);
        identity.wm_class = names.substr(cut + 1, end == std::string::npos ? std::string::npos : end - cut - 1);
      }
      free(reply);
    }
    return identity;
  }

  void Tell(bool now_available, WindowWatch why) {
    if (now_available == available) return;
    available = now_available;
    if (listener.availability) listener.availability(available ? WindowWatch::kAvailable : why);
  }

  // Notes what a PropertyNotify on the root window changed, and frees it.
  void Classify(xcb_generic_event_t* event, bool& changed, bool& support_changed) const {
    if ((event->response_type & 0x7F) == XCB_PROPERTY_NOTIFY) {
      const auto* notify = reinterpret_cast<const xcb_property_notify_event_t*>(event);
      if (notify->window == root && notify->atom == net_active_window) changed = true;
      if (notify->window == root && notify->atom == net_supported) support_changed = true;
    }
    free(event);
  }

  void Run() {
    bool changed = available;  // the window in front at the start counts as a change
    bool support_changed = false;
    for (;;) {
      while (xcb_generic_event_t* event = xcb_poll_for_event(connection)) Classify(event, changed, support_changed);
      if (xcb_connection_has_error(connection)) {
        Tell(false, WindowWatch::kDisplayClosed);
        return;
      }
      if (support_changed || (changed && !available)) {
        const bool was = available;
        Tell(Supported(), WindowWatch::kNoActiveWindow);
        if (available && !was) changed = true;
      }
      support_changed = false;
      const uint64_t now = clock.TickMs();
      if (changed && available) {
        const WindowIdentity identity = ReadActive();
        std::lock_guard<std::mutex> lock(mutex);
        current = identity;
        settle.Changed(now);
      }
      changed = false;
      if (settle.TakeSettled(now) && listener.settled) {
        std::optional<WindowIdentity> settled;
        {
          std::lock_guard<std::mutex> lock(mutex);
          settled = current;
        }
        if (settled) listener.settled(*settled);
      }
      // Reading the properties may have queued events without a byte left
      // on the socket: take them before sleeping.
      if (xcb_generic_event_t* queued = xcb_poll_for_queued_event(connection)) {
        Classify(queued, changed, support_changed);
        continue;
      }
      pollfd fds[2] = {{xcb_get_file_descriptor(connection), POLLIN, 0}, {wake[0], POLLIN, 0}};
      const int ready = poll(fds, 2, settle.WaitMs(clock.TickMs()));
      if (ready < 0 && errno != EINTR) return;
      if (fds[1].revents != 0) return;
    }
  }

  Clock& clock;
  FocusSettle settle;
  ActiveWindowListener listener;
  xcb_connection_t* connection = nullptr;
  xcb_window_t root = XCB_WINDOW_NONE;
  xcb_atom_t net_active_window = XCB_ATOM_NONE;
  xcb_atom_t net_supported = XCB_ATOM_NONE;
  xcb_atom_t net_wm_pid = XCB_ATOM_NONE;
  int wake[2] = {-1, -1};
  bool available = false;
  mutable std::mutex mutex;
  std::optional<WindowIdentity> current;
  std::thread thread;
};

X11ActiveWindow::X11ActiveWindow(Clock& clock, uint64_t settle_ms) : clock_(clock), settle_ms_(settle_ms) {}

X11ActiveWindow::~X11ActiveWindow() { Stop(); }

bool X11ActiveWindow::Start(ActiveWindowListener listener) {
  if (watcher_) return true;
  auto w = std::make_unique<Watcher>(clock_, settle_ms_);
  w->listener = std::move(listener);
  int screen_number = 0;
  w->connection = xcb_connect(nullptr, &screen_number);
  if (xcb_connection_has_error(w->connection)) {
    if (w->listener.availability) w->listener.availability(WindowWatch::kNoDisplay);
    return false;
  }
  xcb_screen_iterator_t screens = xcb_setup_roots_iterator(xcb_get_setup(w->connection));
  for (int i = 0; i < screen_number && screens.rem > 0; ++i) xcb_screen_next(&screens);
  if (screens.rem <= 0 || pipe2(w->wake, O_CLOEXEC) != 0) {
    if (w->listener.availability) w->listener.availability(WindowWatch::kNoDisplay);
    return false;
  }
  w->root = screens.data->root;
  w->net_active_window = InternAtom(w->connection, "_NET_ACTIVE_WINDOW");
  w->net_supported = InternAtom(w->connection, "_NET_SUPPORTED");
  w->net_wm_pid = InternAtom(w->connection, "_NET_WM_PID");
  const uint32_t mask = XCB_EVENT_MASK_PROPERTY_CHANGE;
  xcb_change_window_attributes(w->connection, w->root, XCB_CW_EVENT_MASK, &mask);
  xcb_flush(w->connection);
  w->available = w->Supported();
  if (w->listener.availability) {
    w->listener.availability(w->available ? WindowWatch::kAvailable : WindowWatch::kNoActiveWindow);
  }
  Watcher* raw = w.get();
  w->thread = std::thread([raw] { raw->Run(); });
  // Named, so that its time shows apart in /proc/PID/task (bench/rules_idle_cpu.sh).
  pthread_setname_np(w->thread.native_handle(), "tk410-infront");
  watcher_ = std::move(w);
  return true;
}

void X11ActiveWindow::Stop() {
  if (!watcher_) return;
  const char byte = 1;
  if (write(watcher_->wake[1], &byte, 1) < 0) {
    // The pipe is ours and empty; a failed write leaves the thread to the close below.
  }
  if (watcher_->thread.joinable()) watcher_->thread.join();
  watcher_.reset();
}

std::optional<WindowIdentity> X11ActiveWindow::Current() const {
  if (!watcher_) return std::nullopt;
  std::lock_guard<std::mutex> lock(watcher_->mutex);
  return watcher_->current;
}

#else  // without XCB

struct X11ActiveWindow::Watcher {};

X11ActiveWindow::X11ActiveWindow(Clock& clock, uint64_t settle_ms) : clock_(clock), settle_ms_(settle_ms) {}
X11ActiveWindow::~X11ActiveWindow() = default;

bool X11ActiveWindow::Start(ActiveWindowListener listener) {
  if (listener.availability) listener.availability(WindowWatch::kNotBuilt);
  return false;
}
void X11ActiveWindow::Stop() {}
std::optional<WindowIdentity> X11ActiveWindow::Current() const { return std::nullopt; }

#endif

}  // namespace tk410
