#pragma once
// Which window of the desktop is in front, and when that changes: the seam
// behind which the X11 watcher (x11_active_window.h) and the test fake
// (fake_active_window.h) sit.
//
// A source tells its listener only of a window that stayed in front for a
// while (alt-tabbing through several windows ends in one report), on a
// thread of its own; the listener must hand the work to its own thread.

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

namespace tk410 {

// What the window system tells of a window: its id, the process that owns it
// (_NET_WM_PID; 0 when the window does not say) and its class (WM_CLASS: the
// instance and class names, empty when the window has none).
struct WindowIdentity {
  uint32_t window = 0;
  int pid = 0;
  std::string wm_instance;
  std::string wm_class;

  bool operator==(const WindowIdentity&) const = default;
};

// Whether a source can tell which window is in front.
enum class WindowWatch {
  kAvailable,
  kNoDisplay,        // no X11 display (a Wayland session without XWayland, a console)
  kNoActiveWindow,   // the window manager does not keep _NET_ACTIVE_WINDOW (or none runs)
  kDisplayClosed,    // the display connection broke
  kNotBuilt,         // the program was built without X11 support
};

// A short English phrase for traces and the command line.
const char* WindowWatchText(WindowWatch watch);

struct ActiveWindowListener {
  // A window came to the front and stayed there (window 0: none is).
  std::function<void(const WindowIdentity&)> settled;
  // Whether the source can tell which window is in front; called at the
  // start and whenever that changes.
  std::function<void(WindowWatch watch)> availability;
};

class ActiveWindowSource {
 public:
  virtual ~ActiveWindowSource() = default;
  // Starts watching. False when the source cannot watch at all (no display);
  // the listener has then been told why and nothing more comes.
  virtual bool Start(ActiveWindowListener listener) = 0;
  // Stops watching; no listener call runs after it returns.
  virtual void Stop() = 0;
  // The window in front as last seen (without waiting for it to stay there);
  // nothing while the source does not watch or knows of none.
  virtual std::optional<WindowIdentity> Current() const = 0;
};

}  // namespace tk410
