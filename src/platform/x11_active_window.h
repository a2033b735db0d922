#pragma once
// X11ActiveWindow: the window in front on an X11 display (an X session, or
// the X11 clients of a Wayland session through XWayland, which is where
// games run). It listens for PropertyNotify of _NET_ACTIVE_WINDOW on the
// root window, on a display connection and thread of its own, and sleeps in
// poll() between events: nothing runs while the window in front stays.
//
// Without a display Start fails. A window manager that does not keep
// _NET_ACTIVE_WINDOW (none, or one that does not list it in _NET_SUPPORTED)
// is reported unavailable; the source keeps listening and reports available
// once a window manager that keeps it starts.

#include <memory>

#include "base/clock.h"
#include "platform/active_window_source.h"
#include "platform/focus_settle.h"

namespace tk410 {

class X11ActiveWindow : public ActiveWindowSource {
 public:
  // `settle_ms`: how long a window must stay in front before it is reported.
  explicit X11ActiveWindow(Clock& clock, uint64_t settle_ms = FocusSettle::kDefaultDelayMs);
  ~X11ActiveWindow() override;
  X11ActiveWindow(const X11ActiveWindow&) = delete;
  X11ActiveWindow& operator=(const X11ActiveWindow&) = delete;

  bool Start(ActiveWindowListener listener) override;
  void Stop() override;
  std::optional<WindowIdentity> Current() const override;

 private:
  struct Watcher;
  Clock& clock_;
  uint64_t settle_ms_;
  std::unique_ptr<Watcher> watcher_;
};

}  // namespace tk410
