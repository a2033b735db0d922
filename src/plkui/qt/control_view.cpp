#include "plkui/qt/control_view.h"

#include <QCoreApplication>
#include <QEvent>
#include <QMouseEvent>

#include "plkui/qt/theme.h"

namespace PLKUI::qt {

namespace {
const QEvent::Type kSyncEvent = static_cast<QEvent::Type>(QEvent::registerEventType());
}

ControlView::ControlView(MControl& control, QWidget* parent) : QWidget(parent), control_(control) {
  setAttribute(Qt::WA_Hover);
  setFont(UiFont());
  control_.SetChangeListener([this] {
    // Any thread: post once until the GUI thread has caught up.
    if (!pending_.exchange(true)) QCoreApplication::postEvent(this, new QEvent(kSyncEvent));
  });
}

ControlView::~ControlView() {
  // Waits for a listener call in flight; afterwards none can reach this view.
  control_.SetChangeListener({});
}

bool ControlView::event(QEvent* e) {
  if (e->type() == kSyncEvent) {
    pending_ = false;
    Sync();
    return true;
  }
  return QWidget::event(e);
}

void ControlView::Sync() {
  const MRect r = control_.GetRect();
  setGeometry(r.left, r.top, std::max(0, r.Width()), std::max(0, r.Height()));
  const bool shown = control_.IsShown();
  setVisible(shown);
  setEnabled(control_.IsEnabled());
  const QString tip = ToQ(control_.GetTooltip());
  if (toolTip() != tip) setToolTip(tip);
  SyncState();
  update();
  if (control_.IsVisible() != last_shown_) {
    last_shown_ = control_.IsVisible();
    emit ShownChanged();
  }
}

void ControlView::mousePressEvent(QMouseEvent* e) {
  if (e->button() == Qt::LeftButton) {
    pressed_ = true;
    update();
  }
  e->accept();
}

void ControlView::mouseReleaseEvent(QMouseEvent* e) {
  const bool inside = rect().contains(e->position().toPoint());
  if (e->button() == Qt::LeftButton && pressed_) {
    pressed_ = false;
    update();
    if (inside) Clicked(e->position().toPoint());
  } else if (e->button() == Qt::RightButton && inside) {
    RightClicked(e->position().toPoint());
  }
  e->accept();
}

void ControlView::enterEvent(QEnterEvent*) {
  hovered_ = true;
  update();
}

void ControlView::leaveEvent(QEvent*) {
  hovered_ = false;
  pressed_ = false;
  update();
}

}  // namespace PLKUI::qt
