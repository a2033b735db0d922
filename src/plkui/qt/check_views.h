#pragma once
// Views of the checkable controls: check box, radio button, switch, the
// report-rate buttons and the DPI stage cards.

#include "plkui/check_controls.h"
#include "plkui/qt/control_view.h"

class QLineEdit;

namespace PLKUI::qt {

// CCheckButton, CRadioButton, CSwitchButton, ColorButtonEx.
class CheckView : public ControlView {
 public:
  CheckView(MCheckControl& c, QWidget* parent);
 protected:
  void paintEvent(QPaintEvent*) override;
 private:
  void PaintMark(QPainter& p, const QRectF& box, bool checked);
  MCheckControl& check_;
};

// A DPI stage: colour bar, caption, editable DPI value, checked state.
class DpiView : public ControlView {
 public:
  DpiView(DPIControl& c, QWidget* parent);
 protected:
  void SyncState() override;
  void resizeEvent(QResizeEvent*) override;
  void paintEvent(QPaintEvent*) override;
 private:
  DPIControl& dpi_;
  QLineEdit* edit_;
  bool edited_ = false;
};

// The line-edit look shared by every edit of the theme.
QString EditStyleSheet();

}  // namespace PLKUI::qt
