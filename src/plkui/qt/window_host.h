#pragma once
// WindowHost: shows an MDialog as a frameless top-level QWidget. It builds a
// view per control (in creation order, so later controls lie on top), follows
// the window's state (rectangle, shown, minimised, zoomed, topmost, overlay
// message), paints the themed background, lets the user drag the window by
// its background and hands resize, activation and close to the dialog.

#include <QWidget>
#include <atomic>
#include <vector>

#include "plkui/dialog.h"

namespace PLKUI::qt {

class ControlView;

class WindowHost : public QWidget {
  Q_OBJECT

 public:
  WindowHost(MDialog& dialog, QWidget* parent_host);
  ~WindowHost() override;

  MDialog& Dialog() const { return dialog_; }
  void AddView(MControl& control);
  // Re-reads the window and every control.
  void SyncAll();
  ControlView* ViewOf(int id) const;

 protected:
  bool event(QEvent* e) override;
  void paintEvent(QPaintEvent*) override;
  void resizeEvent(QResizeEvent*) override;
  void closeEvent(QCloseEvent* e) override;
  void changeEvent(QEvent* e) override;
  void mousePressEvent(QMouseEvent* e) override;
  void mouseMoveEvent(QMouseEvent* e) override;
  void mouseReleaseEvent(QMouseEvent* e) override;

 private:
  void SyncWindow();
  // The window's icon from the dialog's icon resource.
  void SyncIcon();
  void SyncVisibility();

  MDialog& dialog_;
  std::vector<ControlView*> views_;
  QWidget* overlay_ = nullptr;
  std::atomic<bool> pending_{false};
  bool dragging_ = false;
  QPoint drag_offset_;
  bool syncing_ = false;
  int icon_ = 0;  // the icon resource shown
};

}  // namespace PLKUI::qt
