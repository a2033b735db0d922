#pragma once
// QtRuntime: the runtime of the GUI program. Windows get a WindowHost; a
// modal run is a nested QEventLoop; DoOK / DoCancel may come from the worker
// thread and are carried to the GUI thread; posted messages are queued to the
// GUI thread in order; timers are QTimers; menus are QMenus.
//
// Create it on the GUI thread after the QApplication, and install it with
// Manager::SetRuntime (or ScopedRuntime). Windows must be created and
// destroyed on the GUI thread.

#include <QObject>
#include <QPointer>
#include <map>
#include <set>

#include "plkui/runtime.h"

class QEventLoop;
class QTimer;

namespace PLKUI::qt {

class WindowHost;

class QtRuntime : public QObject, public Runtime {
  Q_OBJECT

 public:
  QtRuntime();
  ~QtRuntime() override;

  // The host showing a window; nullptr for one that is not a dialog or gone.
  WindowHost* HostOf(const MWindow& window) const;

  // A start window: the program's window mapped and drawn while the
  // program still builds it. ShowStartWindow maps it at `rect` now (the
  // window system answers while the program goes on); DrawStartWindow
  // returns once its first frame, the window's backdrop, is on the screen,
  // or after `guard_ms`. Input waits meanwhile. The window given to
  // GiveStartWindowTo makes it its own.
  void ShowStartWindow(const MRect& rect, const std::wstring& title);
  void DrawStartWindow(int guard_ms = 200);
  // `window`, when it is created, takes the start window as its host: the
  // same native window, so nothing is mapped twice. Unclaimed, the start
  // window goes with the runtime.
  void GiveStartWindowTo(const MWindow& window);
  WindowHost* StartWindow() const { return start_host_; }

  void WindowCreated(MWindow& window) override;
  void WindowDestroyed(MWindow& window) override;
  void ControlCreated(MDialog& dialog, MControl& control) override;
  int RunModal(MWindow& window, int show) override;
  void ModalEndRequested(MWindow& window, int result) override;
  void Post(MWindow& window, unsigned message, uintptr_t wparam, intptr_t lparam) override;
  void SetTimer(MWindow& window, int id, int ms) override;
  void ShowMenu(MenuWnd& menu) override;
  void MenuClosed(MenuWnd& menu) override;
  MRect ScreenRect() const override;
  std::optional<MPoint> CursorPos() const override;

 private:
  template <class F>
  void OnGui(F&& f);

  // Guarded: the host of a child dialog dies with its parent's host, and
  // the dialog object may outlive both (a wait dialog kept by its window).
  std::map<const MWindow*, QPointer<WindowHost>> hosts_;
  std::map<const MWindow*, QEventLoop*> loops_;
  std::map<std::pair<const MWindow*, int>, QTimer*> timers_;
  std::set<MenuWnd*> open_menus_;
  QPointer<WindowHost> start_host_;
  const MWindow* start_owner_ = nullptr;
};

}  // namespace PLKUI::qt
