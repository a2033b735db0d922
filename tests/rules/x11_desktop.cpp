#include "rules/x11_desktop.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <functional>

#include "support/xvfb_server.h"

#ifdef TK410_HAVE_XCB
#include <xcb/xcb.h>
#endif

namespace tk410::testing {

#ifdef TK410_HAVE_XCB

namespace {

constexpr int kWindowManagerStartMs = 20000;
constexpr int kProbeMapMs = 500;  // one map of the probe window
constexpr int kClientStartMs = 10000;
constexpr int kActivateMs = 10000;

void Stop(pid_t pid) {
  if (pid <= 0) return;
  kill(pid, SIGTERM);
  WaitExit(pid);
}

bool OnPath(const char* program) {
  const char* path = std::getenv("PATH");
  std::string rest = path ? path : "";
  size_t start = 0;
  while (start <= rest.size()) {
    const size_t end = rest.find(':', start);
    const std::string folder = rest.substr(start, end == std::string::npos ? std::string::npos : end - start);
    if (!folder.empty() && access((folder + "/" + program).c_str(), X_OK) == 0) return true;
    if (end == std::string::npos) break;
    start = end + 1;
  }
  return false;
}

}  // namespace

struct X11Desktop::Connection {
  xcb_connection_t* c = nullptr;
  xcb_window_t root = 0;
  xcb_atom_t active = 0, client_list = 0, supporting = 0;

  xcb_atom_t Atom(const char* name) {
    xcb_intern_atom_reply_t* r = xcb_intern_atom_reply(c, xcb_intern_atom(c, 0, strlen(name), name), nullptr);
    const xcb_atom_t atom = r ? r->atom : 0;
    free(r);
    return atom;
  }
  std::vector<uint32_t> Property(xcb_atom_t property, xcb_atom_t type) {
    xcb_get_property_reply_t* r =
        xcb_get_property_reply(c, xcb_get_property(c, 0, root, property, type, 0, 1024), nullptr);
    std::vector<uint32_t> values;
    if (r && r->format == 32) {
      const auto* v = static_cast<const uint32_t*>(xcb_get_property_value(r));
      values.assign(v, v + xcb_get_property_value_length(r) / 4);
    }
    free(r);
    return values;
  }
};

X11Desktop::X11Desktop() {
  XvfbServer& xvfb = SharedXvfb();
  if (!xvfb.Running()) {
    failure_ = xvfb.Failure();
    return;
  }
  for (const char* program : {"openbox", "xdotool"}) {
    if (!OnPath(program)) {
      failure_ = std::string(program) + " is not installed (scripts/deps.sh test installs it)";
      return;
    }
  }
  if (access(TK410_BIN_DIR "/tk410-test-window", X_OK) != 0) {
    failure_ = "tk410-test-window was not built (it needs libxcb)";
    return;
  }
  x_ = new Connection;
  x_->c = xcb_connect(nullptr, nullptr);
  if (xcb_connection_has_error(x_->c)) {
    failure_ = "cannot connect to " + xvfb.Display();
    return;
  }
  x_->root = xcb_setup_roots_iterator(xcb_get_setup(x_->c)).data->root;
  x_->active = x_->Atom("_NET_ACTIVE_WINDOW");
  x_->client_list = x_->Atom("_NET_CLIENT_LIST");
  x_->supporting = x_->Atom("_NET_SUPPORTING_WM_CHECK");
  const uint32_t mask = XCB_EVENT_MASK_PROPERTY_CHANGE;
  xcb_change_window_attributes(x_->c, x_->root, XCB_CW_EVENT_MASK, &mask);
  xcb_flush(x_->c);

  wm_pid_ = SpawnQuietly({"openbox", "--sm-disable"});
  if (wm_pid_ <= 0 || !WaitFor([this] { return !x_->Property(x_->supporting, XCB_ATOM_WINDOW).empty(); },
                               kWindowManagerStartMs)) {
    failure_ = "openbox did not start";
    return;
  }
  // openbox announces itself before it takes map requests: a window mapped
  // in between is never managed. It counts as running once it manages a
  // probe window of ours, mapped again after each short wait.
  const uint32_t probe = xcb_generate_id(x_->c);
  xcb_create_window(x_->c, XCB_COPY_FROM_PARENT, probe, x_->root, 0, 0, 10, 10, 0,
                    XCB_WINDOW_CLASS_INPUT_OUTPUT, XCB_COPY_FROM_PARENT, 0, nullptr);
  bool managed = false;
  for (int waited = 0; !managed && waited < kWindowManagerStartMs; waited += kProbeMapMs) {
    xcb_unmap_window(x_->c, probe);
    xcb_map_window(x_->c, probe);
    xcb_flush(x_->c);
    managed = WaitFor([&] { return Managed(probe); }, kProbeMapMs);
  }
  xcb_destroy_window(x_->c, probe);
  xcb_flush(x_->c);
  if (!managed) failure_ = "openbox did not manage a window";
}

X11Desktop::~X11Desktop() {
  for (pid_t pid : clients_) Stop(pid);
  Stop(wm_pid_);
  if (x_) {
    if (x_->c) xcb_disconnect(x_->c);
    delete x_;
  }
}

bool X11Desktop::WaitFor(const std::function<bool()>& condition, int timeout_ms) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeout_ms);
  while (!condition()) {
    // A property of the root window changes whenever the window manager
    // manages a window or another one comes to the front.
    while (xcb_generic_event_t* event = xcb_poll_for_event(x_->c)) free(event);
    if (condition()) return true;
    // Reading the properties may have queued events with nothing left on
    // the socket: look at them before sleeping.
    if (xcb_generic_event_t* queued = xcb_poll_for_queued_event(x_->c)) {
      free(queued);
      continue;
    }
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
    if (left.count() <= 0 || xcb_connection_has_error(x_->c)) return false;
    pollfd fd{xcb_get_file_descriptor(x_->c), POLLIN, 0};
    poll(&fd, 1, static_cast<int>(left.count()));
  }
  return true;
}

uint32_t X11Desktop::ActiveWindow() {
  const std::vector<uint32_t> active = x_->Property(x_->active, XCB_ATOM_WINDOW);
  return active.empty() ? 0 : active[0];
}

bool X11Desktop::Managed(uint32_t window) {
  for (uint32_t w : x_->Property(x_->client_list, XCB_ATOM_WINDOW)) {
    if (w == window) return true;
  }
  return false;
}

X11Desktop::Client X11Desktop::StartClient(const std::string& name, const std::vector<std::string>& args) {
  Client client;
  const std::filesystem::path copy = dir_.path() / name;
  std::error_code error;
  std::filesystem::copy_file(TK410_BIN_DIR "/tk410-test-window", copy, error);
  int fds[2];
  if (error || pipe2(fds, O_CLOEXEC) != 0) return client;
  std::vector<std::string> argv = {copy.string()};
  argv.insert(argv.end(), args.begin(), args.end());
  client.pid = SpawnQuietly(argv, fds[0], fds[1]);
  close(fds[1]);
  if (client.pid > 0) clients_.push_back(client.pid);
  // The client prints its window's id once the window exists.
  std::string line;
  char c = 0;
  pollfd fd{fds[0], POLLIN, 0};
  while (client.pid > 0 && poll(&fd, 1, kClientStartMs) == 1 && read(fds[0], &c, 1) == 1 && c != '\n') line += c;
  close(fds[0]);
  if (line.empty()) return client;
  const uint32_t window = static_cast<uint32_t>(std::strtoul(line.c_str(), nullptr, 10));
  if (WaitFor([&] { return Managed(window); }, kClientStartMs)) client.window = window;
  return client;
}

bool X11Desktop::Activate(uint32_t window) {
  const pid_t pid = SpawnQuietly({"xdotool", "windowactivate", std::to_string(window)});
  if (pid <= 0 || WaitExit(pid) != 0) return false;
  return WaitFor([&] { return ActiveWindow() == window; }, kActivateMs);
}

bool X11Desktop::ActivateInTurn(const std::vector<uint32_t>& windows) {
  for (uint32_t window : windows) {
    // The request of a pager or task bar (source 2), as alt-tab sends it.
    xcb_client_message_event_t message{};
    message.response_type = XCB_CLIENT_MESSAGE;
    message.format = 32;
    message.window = window;
    message.type = x_->active;
    message.data.data32[0] = 2;
    message.data.data32[1] = XCB_CURRENT_TIME;
    xcb_send_event(x_->c, 0, x_->root, XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY,
                   reinterpret_cast<const char*>(&message));
  }
  xcb_flush(x_->c);
  return !windows.empty() && WaitFor([&] { return ActiveWindow() == windows.back(); }, kActivateMs);
}

#else  // without libxcb

struct X11Desktop::Connection {};
X11Desktop::X11Desktop() : failure_("built without libxcb") {}
X11Desktop::~X11Desktop() = default;
X11Desktop::Client X11Desktop::StartClient(const std::string&, const std::vector<std::string>&) { return {}; }
bool X11Desktop::Activate(uint32_t) { return false; }
bool X11Desktop::ActivateInTurn(const std::vector<uint32_t>&) { return false; }
bool X11Desktop::WaitFor(const std::function<bool()>&, int) { return false; }
uint32_t X11Desktop::ActiveWindow() { return 0; }
bool X11Desktop::Managed(uint32_t) { return false; }

#endif

}  // namespace tk410::testing
