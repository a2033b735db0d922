#pragma once
// The runtime seam: everything that needs an event loop goes through a
// Runtime — modal runs, posted window messages, timers, pop-up menus and the
// hosts that put windows on screen. The Qt runtime runs real nested event
// loops; the headless runtime (tests) runs none and lets a test answer each
// modal run and pump posted messages.
//
// Posted messages and timers name their window; a runtime keeps the set of
// live windows, so a message posted to a window that died meanwhile is dropped
// instead of reaching freed memory.

#include <cstdint>
#include <mutex>
#include <optional>
#include <set>

#include "plkui/types.h"

namespace PLKUI {

class MWindow;
class MControl;
class MDialog;
class MenuWnd;

class Runtime {
 public:
  virtual ~Runtime() = default;

  // A window finished Create (its controls exist) / is being destroyed.
  virtual void WindowCreated(MWindow& window) { Register(&window); }
  virtual void WindowDestroyed(MWindow& window) { Unregister(&window); }
  // A control was added to a created dialog after its creation.
  virtual void ControlCreated(MDialog& dialog, MControl& control) {}

  // Runs the window modally; returns the result given to EndModal.
  virtual int RunModal(MWindow& window, int show) = 0;
  // Someone (any thread) asked the window's modal run to end with `result`.
  // The run may already have taken the end when this arrives.
  virtual void ModalEndRequested(MWindow& window, int result) = 0;
  // Queues a message for the window thread (any thread).
  virtual void Post(MWindow& window, unsigned message, uintptr_t wparam, intptr_t lparam) = 0;
  // Periodic OnTimer(id) calls on the window thread; ms <= 0 stops the timer.
  virtual void SetTimer(MWindow& window, int id, int ms) = 0;
  // Shows a pop-up menu with its corner at the menu's point (screen
  // coordinates); the choice comes back through MenuWnd::Choose.
  virtual void ShowMenu(MenuWnd& menu) = 0;
  // A shown menu closed (chosen, dismissed or its dialog died); forget it.
  virtual void MenuClosed(MenuWnd& menu) {}
  // The desktop area windows are centred in.
  virtual MRect ScreenRect() const { return MRect{0, 0, 1920, 1080}; }
  // Where the pointer is on the screen; none where the runtime has no pointer.
  virtual std::optional<MPoint> CursorPos() const { return std::nullopt; }

  bool IsAlive(const MWindow* window) const;

 protected:
  void Register(MWindow* window);
  void Unregister(MWindow* window);

 private:
  mutable std::mutex live_mutex_;
  std::set<const MWindow*> live_;
};

}  // namespace PLKUI
