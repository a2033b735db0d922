#include "plkui/qt/window_host.h"

#include <QCloseEvent>
#include <algorithm>
#include <QCoreApplication>
#include <QMouseEvent>
#include <QPainter>
#include <utility>

#include "plkui/qt/control_view.h"
#include "plkui/qt/program_icon.h"
#include "plkui/qt/theme.h"

namespace PLKUI::qt {

namespace {
const QEvent::Type kWindowSyncEvent = static_cast<QEvent::Type>(QEvent::registerEventType());
// A waiting control may be shown now.
const QEvent::Type kWaitingShownEvent = static_cast<QEvent::Type>(QEvent::registerEventType());

// The dialog's overlay message, above every control.
class MessageOverlay : public QWidget {
 public:
  MessageOverlay(MDialog& dialog, QWidget* parent) : QWidget(parent), dialog_(dialog) {
    setAttribute(Qt::WA_TransparentForMouseEvents);
  }
  void Sync() {
    const std::wstring text = dialog_.GetMessageText();
    MRect r = dialog_.GetMessageRect();
    if (r.Width() <= 0 || r.Height() <= 0) r = MRect{0, 0, parentWidget()->width(), 60};
    setGeometry(r.left, r.top, r.Width(), r.Height());
    setVisible(!text.empty());
    raise();
    update();
  }

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    DrawSurface(p, QRectF(rect()).adjusted(1, 1, -1, -1), QColor(0x14, 0x16, 0x1c, 235), Theme::kAccent, 10);
    p.setFont(UiFont(15, true));
    p.setPen(Theme::kText);
    p.drawText(rect().adjusted(12, 6, -12, -6), Qt::AlignCenter | Qt::TextWordWrap, ToQ(dialog_.GetMessageText()));
  }

 private:
  MDialog& dialog_;
};

}

WindowHost::WindowHost(MDialog& dialog, QWidget* parent_host)
    : QWidget(parent_host, Qt::Window | Qt::FramelessWindowHint) {
  setAttribute(Qt::WA_DeleteOnClose, false);
  setFont(UiFont());
  Attach(dialog);
}

WindowHost::WindowHost() : QWidget(nullptr, Qt::Window | Qt::FramelessWindowHint) {
  setAttribute(Qt::WA_DeleteOnClose, false);
  setFont(UiFont());
}

void WindowHost::Attach(MDialog& dialog) {
  if (dialog_) return;
  dialog_ = &dialog;
  setWindowTitle(ToQ(dialog.GetTitle()));
  overlay_ = new MessageOverlay(dialog, this);
  for (MControl* control : dialog.GetControls()) AddView(*control);
  dialog.SetChangeListener([this] {
    if (!pending_.exchange(true)) QCoreApplication::postEvent(this, new QEvent(kWindowSyncEvent));
  });
  SyncWindow();
}

WindowHost::~WindowHost() {
  if (dialog_) dialog_->SetChangeListener({});
  // Controls and views detach before the dialog frees the controls.
  for (MControl* control : waiting_) control->SetChangeListener({});
  waiting_.clear();
  for (ControlView* view : views_) delete view;
  views_.clear();
}

void WindowHost::AddView(MControl& control) {
  order_.emplace(&control, order_.size());
  if (control.IsShown()) {
    waiting_.push_back(&control);
    BuildView(control);
    return;
  }
  waiting_.push_back(&control);
  MControl* watched = &control;
  control.SetChangeListener([this, watched] {
    // Any thread: post once until the GUI thread has looked.
    if (watched->IsShown() && !waiting_shown_.exchange(true)) {
      QCoreApplication::postEvent(this, new QEvent(kWaitingShownEvent));
    }
  });
}

ControlView* WindowHost::BuildView(MControl& control) {
  const auto waiting = std::find(waiting_.begin(), waiting_.end(), &control);
  if (waiting == waiting_.end()) return nullptr;
  waiting_.erase(waiting);
  control.SetChangeListener({});
  ControlView* view = CreateControlView(control, this);  // installs the view's listener
  if (!view) return nullptr;
  // Views stay in creation order; the new one goes under the first later one.
  const size_t rank = order_[&control];
  auto later = std::find_if(views_.begin(), views_.end(),
                            [&](ControlView* v) { return order_[&v->Control()] > rank; });
  ControlView* above = later == views_.end() ? nullptr : *later;
  views_.insert(later, view);
  connect(view, &ControlView::ShownChanged, this, &WindowHost::SyncVisibility);
  view->Sync();
  if (above) {
    view->stackUnder(above);
  } else {
    view->raise();
    overlay_->raise();
  }
  return view;
}

void WindowHost::BuildShownViews() {
  waiting_shown_ = false;
  // A copy: building views changes the list.
  const std::vector<MControl*> waiting = waiting_;
  for (MControl* control : waiting) {
    if (control->IsShown()) BuildView(*control);
  }
}

ControlView* WindowHost::ViewOf(int id) {
  for (ControlView* view : views_) {
    if (view->Control().GetId() == id) return view;
  }
  for (MControl* control : waiting_) {
    if (control->GetId() == id) return BuildView(*control);
  }
  return nullptr;
}

void WindowHost::SyncAll() {
  SyncWindow();
  BuildShownViews();
  for (ControlView* view : views_) view->Sync();
}

void WindowHost::SyncVisibility() {
  // A container shown again may show controls that never had a view.
  BuildShownViews();
  for (ControlView* view : views_) view->setVisible(view->Control().IsShown());
}

bool WindowHost::event(QEvent* e) {
  if (e->type() == kWindowSyncEvent && dialog_) {
    pending_ = false;
    SyncWindow();
    return true;
  }
  if (e->type() == kWaitingShownEvent) {
    BuildShownViews();
    return true;
  }
  return QWidget::event(e);
}

void WindowHost::SyncIcon() {
  const int icon = dialog_->GetIcon();
  if (icon == icon_) return;
  icon_ = icon;
  // A null icon set on a window would hide the application's for good; a
  // window without one shows the application's, also when it comes later.
  const QIcon picture = IconOfResource(icon);
  if (!picture.isNull()) setWindowIcon(picture);
}

void WindowHost::SyncWindow() {
  if (!dialog_) return;
  SyncIcon();
  syncing_ = true;
  setWindowTitle(ToQ(dialog_->GetTitle()));
  const MRect r = dialog_->GetWindowRect();
  if (!dialog_->IsZoomed()) setGeometry(r.left, r.top, std::max(1, r.Width()), std::max(1, r.Height()));
  setWindowFlag(Qt::WindowStaysOnTopHint, dialog_->IsTopMost());
  if (dialog_->IsWindowVisible()) {
    // showNormal, not show: show keeps a maximised or minimised state.
    if (dialog_->IsIconic()) showMinimized();
    else if (dialog_->IsZoomed()) showMaximized();
    else showNormal();
  } else {
    hide();
  }
  syncing_ = false;
  static_cast<MessageOverlay*>(overlay_)->Sync();
  update();
}

void WindowHost::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.setRenderHint(QPainter::Antialiasing);
  const QPixmap skin = dialog_ ? SkinPixmap(dialog_->GetBkImage()) : QPixmap();
  if (!skin.isNull()) {
    p.drawPixmap(rect(), skin);
  } else {
    QLinearGradient g(0, 0, 0, height());
    g.setColorAt(0, Theme::kWindowTop);
    g.setColorAt(1, Theme::kWindowBottom);
    p.fillRect(rect(), g);
    p.setPen(QPen(Theme::kBorder, 1));
    p.drawRect(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5));
  }
  if (!dialog_) {
    // A start window: the backdrop its dialog's window shows under its pages.
    DrawBackdrop(p, rect());
    if (first_drawn_) std::exchange(first_drawn_, {})();
  }
}

void WindowHost::resizeEvent(QResizeEvent*) {
  if (syncing_ || !dialog_) return;
  dialog_->UISize(MRect{0, 0, width(), height()});
  for (ControlView* view : views_) view->Sync();
}

void WindowHost::closeEvent(QCloseEvent* e) {
  // The dialog decides: by default a close ends its modal run with 2.
  e->ignore();
  if (dialog_) dialog_->SendMessage(kWmClose);
}

void WindowHost::changeEvent(QEvent* e) {
  if (!dialog_) {
    QWidget::changeEvent(e);
    return;
  }
  if (e->type() == QEvent::ActivationChange) dialog_->OnNcActivate(isActiveWindow());
  // A state the window manager gave (not one this host asked for) becomes
  // the window's own.
  if (e->type() == QEvent::WindowStateChange && !syncing_ && isVisible())
    dialog_->SetShowState(isMinimized(), isMaximized());
  QWidget::changeEvent(e);
}

void WindowHost::mousePressEvent(QMouseEvent* e) {
  if (e->button() != Qt::LeftButton || !dialog_) return;
  dragging_ = true;
  drag_offset_ = e->globalPosition().toPoint() - frameGeometry().topLeft();
}

void WindowHost::mouseMoveEvent(QMouseEvent* e) {
  if (!dragging_) return;
  const QPoint top_left = e->globalPosition().toPoint() - drag_offset_;
  const MRect r = dialog_->GetWindowRect();
  dialog_->MoveWindow(MRect{top_left.x(), top_left.y(), top_left.x() + r.Width(), top_left.y() + r.Height()});
}

void WindowHost::mouseReleaseEvent(QMouseEvent*) { dragging_ = false; }

}  // namespace PLKUI::qt
