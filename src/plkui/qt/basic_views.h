#pragma once
// Views of text, buttons, pictures, areas and the status indicators.

#include <QTimer>

#include "plkui/basic_controls.h"
#include "plkui/qt/control_view.h"

class QLabel;
class QMovie;

namespace PLKUI::qt {

// A text drawn in its rectangle; a selectable MText shows its text in a label
// the user can select and copy from.
class TextView : public ControlView {
 public:
  TextView(MControlFont& c, QWidget* parent);
 protected:
  void SyncState() override;
  void resizeEvent(QResizeEvent*) override;
  void paintEvent(QPaintEvent*) override;
  MControlFont& text_;
 private:
  QLabel* label_ = nullptr;
  QString label_sheet_;  // the style sheet the label was given last
};

// MButton, CIconButton, CTextButton, CHelpButton, CImageButton. A help
// button shows its title (the help text) in a help tip while the pointer
// rests on it.
class ButtonView : public ControlView {
 public:
  ButtonView(MControlFont& c, QWidget* parent);
  ~ButtonView() override;
 protected:
  bool event(QEvent* e) override;
  void leaveEvent(QEvent* e) override;
  void hideEvent(QHideEvent* e) override;
  void paintEvent(QPaintEvent*) override;
 private:
  void PaintImageButton(QPainter& p);
  void PaintHelp(QPainter& p);
  void PaintLink(QPainter& p);
  MControlFont& button_;
};

// MPicture (and the picture part of others).
class PictureView : public ControlView {
 public:
  PictureView(MControlFont& c, QWidget* parent);
 protected:
  void paintEvent(QPaintEvent*) override;
  MControlFont& picture_;
};

// An animated loading indicator: loading.gif when shipped, else a spinner.
class GifView : public ControlView {
 public:
  GifView(CGifPicture& c, QWidget* parent);
 protected:
  void SyncState() override;
  void paintEvent(QPaintEvent*) override;
 private:
  CGifPicture& gif_;
  QTimer timer_;
  QMovie* movie_ = nullptr;
  int phase_ = 0;
};

// CArea, CRoundArea, MTabLayout.
class AreaView : public ControlView {
 public:
  AreaView(MControlFont& c, QWidget* parent);
 protected:
  void paintEvent(QPaintEvent*) override;
};

// The connection pill: a green dot while connected, amber for a mouse that
// cannot be configured, an empty ring when nothing is connected.
class DeviceStateView : public TextView {
 public:
  DeviceStateView(CDeviceState& c, QWidget* parent) : TextView(c, parent), state_(c) {}
 protected:
  void paintEvent(QPaintEvent*) override;
 private:
  CDeviceState& state_;
};

class BatteryView : public ControlView {
 public:
  BatteryView(BatteryCtrl& c, QWidget* parent);
 protected:
  void paintEvent(QPaintEvent*) override;
 private:
  BatteryCtrl& battery_;
};

// Draws a text in a rectangle with the control's alignment, size and colour.
void DrawControlText(QPainter& p, const MControlFont& c, const QRect& r, bool enabled);

}  // namespace PLKUI::qt
