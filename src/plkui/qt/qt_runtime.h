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
};

}  // namespace PLKUI::qt
