#pragma once
// Views of the item controls: tab strip, mouse picture with markers, macro
// list, step list and emoji grid.

#include "plkui/emoji_control.h"
#include "plkui/macro_list.h"
#include "plkui/mouse_ctrl.h"
#include "plkui/qt/control_view.h"
#include "plkui/record_list.h"
#include "plkui/tab.h"

class QLineEdit;

namespace PLKUI::qt {

class TabView : public ControlView {
 public:
  TabView(MTabCtrl& c, QWidget* parent);
 protected:
  void paintEvent(QPaintEvent*) override;
  void Clicked(QPoint pos) override;
 private:
  QRect ItemRect(int index) const;
  MTabCtrl& tab_;
};

class MouseView : public ControlView {
 public:
  MouseView(MouseCtrl& c, QWidget* parent);
 protected:
  void paintEvent(QPaintEvent*) override;
  void Clicked(QPoint pos) override;
 private:
  // Where marker `index` sits on the mouse and where its label goes.
  QPointF Anchor(int index) const;
  QRectF Label(int index) const;
  MouseCtrl& mouse_;
};

// Rows of text with a selection; shared by the macro list and the step list.
class RowsView : public ControlView {
 public:
  RowsView(MControl& c, QWidget* parent) : ControlView(c, parent) {}
 protected:
  static constexpr int kRow = 30;
  int RowAt(QPoint pos) const;
  void wheelEvent(QWheelEvent* e) override;
  void KeepVisible(int row, int count);
  void PaintRow(QPainter& p, int row, bool selected, const QString& text, const QString& lead);
  int first_ = 0;
};

class MacroListView : public RowsView {
 public:
  MacroListView(MacroList& c, QWidget* parent);
 protected:
  void paintEvent(QPaintEvent*) override;
  void Clicked(QPoint pos) override;
  void RightClicked(QPoint pos) override;
  void mouseDoubleClickEvent(QMouseEvent* e) override;
 private:
  MacroList& list_;
  QLineEdit* rename_ = nullptr;
};

class RecordListView : public RowsView {
 public:
  RecordListView(CRecordList& c, QWidget* parent);
 protected:
  void SyncState() override;
  void paintEvent(QPaintEvent*) override;
  void Clicked(QPoint pos) override;
  void RightClicked(QPoint pos) override;
 private:
  CRecordList& list_;
};

class EmojiView : public ControlView {
 public:
  EmojiView(EmojiControl& c, QWidget* parent);
 protected:
  bool event(QEvent* e) override;
  void paintEvent(QPaintEvent*) override;
  void Clicked(QPoint pos) override;
 private:
  int Columns() const;
  int CellAt(QPoint pos) const;
  EmojiControl& emoji_;
};

}  // namespace PLKUI::qt
