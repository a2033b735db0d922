#include "plkui/qt/qt_runtime.h"

#include <QApplication>
#include <QCursor>
#include <QEventLoop>
#include <QMenu>
#include <QScreen>
#include <QThread>
#include <QTimer>
#include <algorithm>

#include "plkui/dialog.h"
#include "plkui/menu_wnd.h"
#include "plkui/qt/theme.h"
#include "plkui/qt/window_host.h"

namespace PLKUI::qt {

QtRuntime::QtRuntime() { ApplyTooltipTheme(); }

QtRuntime::~QtRuntime() {
  for (auto& [key, timer] : timers_) delete timer;
  for (auto& [window, host] : hosts_) delete host;
  delete start_host_;
}

void QtRuntime::ShowStartWindow(const MRect& rect, const std::wstring& title) {
  if (start_host_) return;
  start_host_ = new WindowHost();
  start_host_->setWindowTitle(ToQ(title));
  start_host_->setGeometry(rect.left, rect.top, std::max(1, rect.Width()), std::max(1, rect.Height()));
  // Maps the window; its first frame is drawn when its exposure is handled,
  // in DrawStartWindow's loop or the program's.
  start_host_->show();
}

void QtRuntime::DrawStartWindow(int guard_ms) {
  if (!start_host_) return;
  QEventLoop loop;
  // Quit after the event that drew the frame has been handled: the frame is
  // flushed to the screen by then.
  start_host_->WhenFirstDrawn(
      [&loop] { QMetaObject::invokeMethod(&loop, &QEventLoop::quit, Qt::QueuedConnection); });
  QTimer::singleShot(guard_ms, &loop, &QEventLoop::quit);
  // Only the window system's events and what is posted: no clicks or keys
  // for windows that do not exist yet, no sockets (a second start's request
  // waits for the handler the program installs later).
  loop.exec(QEventLoop::ExcludeUserInputEvents | QEventLoop::ExcludeSocketNotifiers);
  if (start_host_) start_host_->WhenFirstDrawn({});
}

void QtRuntime::GiveStartWindowTo(const MWindow& window) { start_owner_ = &window; }

template <class F>
void QtRuntime::OnGui(F&& f) {
  if (QThread::currentThread() == thread()) {
    f();
  } else {
    QMetaObject::invokeMethod(this, std::forward<F>(f), Qt::QueuedConnection);
  }
}

WindowHost* QtRuntime::HostOf(const MWindow& window) const {
  auto it = hosts_.find(&window);
  return it == hosts_.end() ? nullptr : it->second;
}

void QtRuntime::WindowCreated(MWindow& window) {
  Runtime::WindowCreated(window);
  auto* dialog = dynamic_cast<MDialog*>(&window);
  if (!dialog) return;
  if (&window == start_owner_ && start_host_) {
    start_owner_ = nullptr;
    WindowHost* host = start_host_;
    start_host_ = nullptr;
    hosts_[&window] = host;
    host->Attach(*dialog);
    return;
  }
  QWidget* parent_host = nullptr;
  if (MWindow* parent = window.GetParentWindow()) parent_host = HostOf(*parent);
  hosts_[&window] = new WindowHost(*dialog, parent_host);
}

void QtRuntime::WindowDestroyed(MWindow& window) {
  Runtime::WindowDestroyed(window);
  if (auto it = loops_.find(&window); it != loops_.end()) it->second->exit(kResultCancel);
  for (auto it = timers_.begin(); it != timers_.end();) {
    if (it->first.first == &window) {
      delete it->second;
      it = timers_.erase(it);
    } else {
      ++it;
    }
  }
  if (auto it = hosts_.find(&window); it != hosts_.end()) {
    delete it->second;
    hosts_.erase(it);
  }
}

void QtRuntime::ControlCreated(MDialog& dialog, MControl& control) {
  if (WindowHost* host = HostOf(dialog)) host->AddView(control);
}

int QtRuntime::RunModal(MWindow& window, int show) {
  WindowHost* host = HostOf(window);
  if (host && host->parentWidget()) host->setWindowModality(Qt::WindowModal);
  window.SetModalRunning(true);
  if (show) window.ShowWindow(show);
  if (host) host->SyncAll();
  std::optional<int> end = window.TakeModalEnd();
  if (!end) {
    QEventLoop loop;
    loops_[&window] = &loop;
    // An end that arrived between the check and here is already queued to quit the loop.
    loop.exec(QEventLoop::DialogExec);
    loops_.erase(&window);
    // A handler may have destroyed the window inside its own run.
    if (!IsAlive(&window)) return kResultCancel;
    end = window.TakeModalEnd();
  }
  window.SetModalRunning(false);
  window.ShowWindow(0);
  if (WindowHost* still = HostOf(window)) still->hide();
  return end.value_or(kResultCancel);
}

void QtRuntime::ModalEndRequested(MWindow& window, int /*result*/) {
  MWindow* target = &window;
  QMetaObject::invokeMethod(
      this,
      [this, target] {
        if (auto it = loops_.find(target); it != loops_.end()) it->second->quit();
      },
      Qt::QueuedConnection);
}

void QtRuntime::Post(MWindow& window, unsigned message, uintptr_t wparam, intptr_t lparam) {
  MWindow* target = &window;
  QMetaObject::invokeMethod(
      this,
      [this, target, message, wparam, lparam] {
        if (IsAlive(target)) target->SendMessage(message, wparam, lparam);
      },
      Qt::QueuedConnection);
}

void QtRuntime::SetTimer(MWindow& window, int id, int ms) {
  MWindow* target = &window;
  OnGui([this, target, id, ms] {
    const std::pair<const MWindow*, int> key(target, id);
    auto it = timers_.find(key);
    if (ms <= 0 || !IsAlive(target)) {
      if (it != timers_.end()) {
        delete it->second;
        timers_.erase(it);
      }
      return;
    }
    QTimer* timer = it != timers_.end() ? it->second : nullptr;
    if (!timer) {
      timer = new QTimer(this);
      connect(timer, &QTimer::timeout, this, [this, target, id] {
        if (IsAlive(target)) target->SendMessage(kWmTimer, static_cast<uintptr_t>(id), 0);
      });
      timers_[key] = timer;
    }
    timer->start(ms);
  });
}

void QtRuntime::ShowMenu(MenuWnd& menu) {
  MWindow* parent = menu.GetParentWindow();
  WindowHost* host = parent ? HostOf(*parent) : nullptr;
  auto* popup = new QMenu(host);
  popup->setAttribute(Qt::WA_DeleteOnClose);
  popup->setFont(UiFont());
  popup->setStyleSheet(QStringLiteral(
      "QMenu { background: #1f232c; color: #e8ebf1; border: 1px solid #3a4150; padding: 4px; }"
      "QMenu::item { padding: 6px 20px; border-radius: 4px; }"
      "QMenu::item:selected { background: #ff4d5e; color: white; }"));
  if (menu.GetWidth() > 0) popup->setMinimumWidth(menu.GetWidth());
  open_menus_.insert(&menu);
  MenuWnd* target = &menu;
  for (const MenuWnd::Item& item : menu.GetItems()) {
    QAction* action = popup->addAction(ToQ(item.text));
    const int id = item.id;
    connect(action, &QAction::triggered, this, [this, target, id] {
      if (open_menus_.count(target)) target->Choose(id);
    });
  }
  // The menu hides before its action fires: dismiss only after that settled.
  connect(popup, &QMenu::aboutToHide, this, [this, target] {
    QTimer::singleShot(0, this, [this, target] {
      if (open_menus_.count(target)) target->Close();
    });
  });
  // The point is on the screen already (the pointer, or a control's corner
  // the page placed on the screen).
  popup->popup(QPoint(menu.GetPoint().x, menu.GetPoint().y));
}

void QtRuntime::MenuClosed(MenuWnd& menu) { open_menus_.erase(&menu); }

std::optional<MPoint> QtRuntime::CursorPos() const {
  const QPoint at = QCursor::pos();
  return MPoint{at.x(), at.y()};
}

MRect QtRuntime::ScreenRect() const {
  const QScreen* screen = QGuiApplication::primaryScreen();
  if (!screen) return Runtime::ScreenRect();
  const QRect r = screen->availableGeometry();
  return MRect{r.left(), r.top(), r.right() + 1, r.bottom() + 1};
}

}  // namespace PLKUI::qt
