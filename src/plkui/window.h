#pragma once
// MObject and MWindow: a top-level window of the library. The window keeps
// its own state (title, rectangle, shown/zoomed/minimised, background) behind
// a mutex with a change listener for its host, and runs modally, receives
// posted messages and timer ticks through its Runtime.
//
// A modal run ended before it started (DoOK from the worker before the window
// thread reached ShowModal) is not lost: the request is kept and the next
// ShowModal returns it at once.

#include <cstdint>
#include <functional>
#include <map>
#include <mutex>
#include <optional>
#include <string>

#include "plkui/types.h"

namespace PLKUI {

class Runtime;

class MObject {
 public:
  virtual ~MObject() = default;
};

class MWindow {
 public:
  MWindow();
  virtual ~MWindow();
  MWindow(const MWindow&) = delete;
  MWindow& operator=(const MWindow&) = delete;

  // Creates the window: takes the parent's runtime (or the Manager's), then
  // lets the subclass build itself (OnCreateWindow) and registers with the runtime.
  bool Create(MWindow* parent, const std::wstring& title, uint32_t style, uint32_t ex_style,
              const MRect& rect);
  bool IsCreated() const;
  // Centres over the parent window, or over the screen without one.
  void CenterWindow();
  // Runs the window modally; returns what EndModal (DoOK/DoCancel) gave.
  int ShowModal(int show);
  MWindow* GetSafeHwnd();
  MWindow* GetParentWindow() const { return parent_; }
  virtual void ShowWindow(int show);
  virtual void DestroyWindow();

  // Messages. SendMessage runs OnWindowMessage at once (window thread);
  // PostMessage queues it for the window thread and may be called from any thread.
  intptr_t SendMessage(unsigned message, uintptr_t wparam = 0, intptr_t lparam = 0);
  bool PostMessage(unsigned message, uintptr_t wparam = 0, intptr_t lparam = 0);
  virtual intptr_t OnWindowMessage(unsigned message, uintptr_t wparam, intptr_t lparam);

  virtual void OnMinimize();
  virtual void OnMaximize();
  // The window system changed the window's state itself (restored from the
  // taskbar, maximised or restored by the window manager): the window keeps
  // that state, so a later change of its own does not undo the user's.
  void SetShowState(bool iconic, bool zoomed);
  // After SetShowState changed the state.
  virtual void OnShowStateChanged() {}
  virtual intptr_t OnNcActivate(bool active);
  virtual intptr_t OnTimer(int id);
  virtual intptr_t OnClose();
  virtual intptr_t OnDestroy();

  // Ends the modal run with `result` (any thread).
  void EndModal(int result);
  // Runtime side of a modal run: a pending end request, if any, is taken.
  std::optional<int> TakeModalEnd();
  std::optional<int> PendingModalEnd() const;
  bool IsModalRunning() const;
  void SetModalRunning(bool running);

  // State read by the host.
  std::wstring GetTitle() const;
  void SetTitle(const std::wstring& title);
  MRect GetWindowRect() const;
  void MoveWindow(const MRect& rect);
  bool IsWindowVisible() const;
  bool IsZoomed() const;
  bool IsIconic() const;
  void SetTopMost(bool topmost);
  bool IsTopMost() const;
  // The window's icon by resource id (0: none); the host shows it.
  void SetIcon(int resource_id);
  int GetIcon() const;
  void SetLayered(bool layered);
  void SetDragEnabled(bool enabled);
  bool IsDragEnabled() const;
  // Background picture (skin name, back mode, mode value) / colours (0x00RRGGBB).
  void SetBkImage(const std::wstring& image, int mode = 0, int value = 0);
  std::wstring GetBkImage() const;
  void SetBkColor(uint32_t top, uint32_t bottom);
  std::pair<uint32_t, uint32_t> GetBkColor() const;
  // Named window properties (the single-instance marker).
  void SetProp(const std::wstring& name, intptr_t value);
  intptr_t GetProp(const std::wstring& name) const;

  void SetRuntime(Runtime* runtime);  // before Create; otherwise inherited
  Runtime& GetRuntime() const;
  void SetChangeListener(std::function<void()> listener);

 protected:
  // Called by Create after the rectangle and runtime are set, before the
  // runtime learns of the window (MDialog builds its controls here).
  virtual void OnCreateWindow() {}
  // Called by Create once the runtime knows the window.
  virtual void OnWindowRegistered() {}
  // Detaches from the runtime (host, timers, posted messages). Idempotent.
  void ReleaseWindow();
  void Changed();

  mutable std::mutex window_mutex_;

 private:
  MWindow* parent_ = nullptr;
  Runtime* runtime_ = nullptr;
  bool created_ = false;
  std::wstring title_;
  MRect rect_;
  bool visible_ = false;
  bool zoomed_ = false;
  bool iconic_ = false;
  bool topmost_ = false;
  bool drag_ = false;
  int icon_ = 0;
  bool layered_ = false;
  std::wstring bk_image_;
  uint32_t bk_top_ = 0x333333;
  uint32_t bk_bottom_ = 0x333333;
  std::map<std::wstring, intptr_t> props_;
  bool modal_running_ = false;
  std::optional<int> modal_end_;

  std::mutex listener_mutex_;
  std::function<void()> listener_;
};

}  // namespace PLKUI
