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

// A click selects the row under the pointer; a right click selects it (or
// nothing below the last row) and reports 9.
template <class List>
class ListRowsView : public RowsView {
 public:
  ListRowsView(List& c, QWidget* parent) : RowsView(c, parent), list_(c) {}
 protected:
  void Clicked(QPoint pos) override {
    const int row = RowAt(pos);
    if (row < list_.GetItemCount()) list_.PerformSelect(row);
  }
  void RightClicked(QPoint pos) override {
    const int row = RowAt(pos);
    list_.PerformRightClickItem(row < list_.GetItemCount() ? row : -1);
  }
  List& list_;
};

class MacroListView : public ListRowsView<MacroList> {
 public:
  MacroListView(MacroList& c, QWidget* parent) : ListRowsView(c, parent) {}
 protected:
  void paintEvent(QPaintEvent*) override;
  void mouseDoubleClickEvent(QMouseEvent* e) override;
 private:
  QLineEdit* rename_ = nullptr;
};

class RecordListView : public ListRowsView<CRecordList> {
 public:
  RecordListView(CRecordList& c, QWidget* parent) : ListRowsView(c, parent) {}
 protected:
  void SyncState() override;
  void paintEvent(QPaintEvent*) override;
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
