#pragma once
// ControlView: the QWidget base of every control's view. It sits in its
// window's host at the control's rectangle and follows the control: the
// control's change listener (called on whatever thread changed it) only posts
// one coalesced event; the view re-reads the whole state on the GUI thread.
// User input becomes the control's Perform* call, which updates the model and
// reports to the dialog — on the GUI thread.

#include <QWidget>
#include <atomic>

#include "plkui/control.h"

namespace PLKUI::qt {

class ControlView : public QWidget {
  Q_OBJECT

 public:
  ControlView(MControl& control, QWidget* parent);
  ~ControlView() override;

  MControl& Control() const { return control_; }
  // Re-reads the control (geometry, shown, enabled, tooltip, then SyncState).
  void Sync();

 signals:
  // The control's own visibility changed: containers make the host re-check
  // the controls inside them.
  void ShownChanged();

 protected:
  bool event(QEvent* e) override;
  void mousePressEvent(QMouseEvent* e) override;
  void mouseReleaseEvent(QMouseEvent* e) override;
  void enterEvent(QEnterEvent* e) override;
  void leaveEvent(QEvent* e) override;

  // Class-specific state; the default does nothing.
  virtual void SyncState() {}
  // A left click released inside the view; the default is the control's click.
  virtual void Clicked(QPoint pos) { control_.PerformClick(); }
  virtual void RightClicked(QPoint pos) { control_.PerformRightClick(); }

  bool Hovered() const { return hovered_; }
  bool Pressed() const { return pressed_; }

 private:
  MControl& control_;
  std::atomic<bool> pending_{false};
  bool hovered_ = false;
  bool pressed_ = false;
  bool last_shown_ = true;
};

// Creates the view for a control by its class.
ControlView* CreateControlView(MControl& control, QWidget* parent);

}  // namespace PLKUI::qt
