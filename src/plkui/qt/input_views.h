#pragma once
// Views of the combo box, the edits and the sliders.

#include "plkui/combo_box.h"
#include "plkui/edit.h"
#include "plkui/qt/control_view.h"
#include "plkui/slider.h"

class QLineEdit;

namespace PLKUI::qt {

// A closed box showing the title; a click drops the item list down.
class ComboView : public ControlView {
 public:
  ComboView(MComboBox& c, QWidget* parent);
 protected:
  void paintEvent(QPaintEvent*) override;
  void Clicked(QPoint) override;
 private:
  MComboBox& combo_;
};

// MEdit, NumberEdit (with spin buttons), NumberEdit2.
class EditView : public ControlView {
 public:
  EditView(MEdit& c, QWidget* parent);
 protected:
  void SyncState() override;
  void resizeEvent(QResizeEvent*) override;
  void paintEvent(QPaintEvent*) override;
  void Clicked(QPoint pos) override;
  bool eventFilter(QObject* watched, QEvent* e) override;
 private:
  int SpinWidth() const;
  MEdit& edit_;
  QLineEdit* line_;
  bool entered_ = false;
};

class SliderView : public ControlView {
 public:
  SliderView(MSlider& c, QWidget* parent);
 protected:
  void paintEvent(QPaintEvent*) override;
  void mousePressEvent(QMouseEvent* e) override;
  void mouseMoveEvent(QMouseEvent* e) override;
  void mouseReleaseEvent(QMouseEvent* e) override;
 private:
  int PositionAt(qreal x) const;
  QRectF Track() const;
  MSlider& slider_;
  bool dragging_ = false;
};

}  // namespace PLKUI::qt
