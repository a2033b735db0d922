#pragma once
// WindowHost: shows an MDialog as a frameless top-level QWidget. It builds a
// view per control (stacked in creation order, so later controls lie on
// top), follows the window's state (rectangle, shown, minimised, zoomed,
// topmost, overlay message), paints the themed background, lets the user drag
// the window by its background and hands resize, activation and close to the
// dialog.
//
// A control that is not shown (on a page not on screen) gets its view when it
// is first shown, or asked for: the window's start builds the views of what
// is on screen only. Until then the control's change listener only looks
// whether the control is shown now.
//
// A host may be shown before its dialog exists (a start window): it paints
// the window's backdrop and nothing else, takes no input, and becomes the
// dialog's own window - the same native window, not a second one - when
// the dialog is attached.

#include <QWidget>
#include <atomic>
#include <functional>
#include <map>
#include <vector>

#include "plkui/dialog.h"

namespace PLKUI::qt {

class ControlView;

class WindowHost : public QWidget {
  Q_OBJECT

 public:
  WindowHost(MDialog& dialog, QWidget* parent_host);
  // A host without its dialog yet (see above); top-level.
  WindowHost();
  ~WindowHost() override;

  // Gives a host made without a dialog its dialog: its views, title, place
  // and shown state from now on. Once only.
  void Attach(MDialog& dialog);
  bool IsAttached() const { return dialog_ != nullptr; }
  // Called once, after the next frame a host without its dialog draws.
  void WhenFirstDrawn(std::function<void()> drawn) { first_drawn_ = std::move(drawn); }
  // The dialog; only for an attached host.
  MDialog& Dialog() const { return *dialog_; }
  // A control of the dialog: its view now when it is shown, else when it is.
  void AddView(MControl& control);
  // Re-reads the window and every control.
  void SyncAll();
  // The view of a control, built now if it had none yet; nullptr for an
  // unknown id or a control without a view class.
  ControlView* ViewOf(int id);

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
  // Builds the view of a waiting control and stacks it in creation order.
  ControlView* BuildView(MControl& control);
  // Builds the views of the waiting controls that are shown now.
  void BuildShownViews();

  MDialog* dialog_ = nullptr;
  std::vector<ControlView*> views_;
  // Creation order of the dialog's controls (stacking order of the views).
  std::map<const MControl*, size_t> order_;
  // Controls without a view yet, in creation order.
  std::vector<MControl*> waiting_;
  std::atomic<bool> waiting_shown_{false};  // a check of waiting_ is posted
  QWidget* overlay_ = nullptr;
  std::atomic<bool> pending_{false};
  bool dragging_ = false;
  QPoint drag_offset_;
  bool syncing_ = false;
  int icon_ = 0;  // the icon resource shown
  std::function<void()> first_drawn_;
};

}  // namespace PLKUI::qt
