#include "plkui/qt/list_views.h"

#include <QHelpEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QToolTip>
#include <QWheelEvent>

#include "plkui/qt/check_views.h"
#include "plkui/qt/mouse_marker_layout.h"
#include "plkui/qt/theme.h"

namespace PLKUI::qt {

// ----------------------------------------------------------------- tab strip
TabView::TabView(MTabCtrl& c, QWidget* parent) : ControlView(c, parent), tab_(c) {
  setCursor(Qt::PointingHandCursor);
}

QRect TabView::ItemRect(int index) const {
  auto [w, h] = tab_.GetItemSize();
  if (width() >= height()) return QRect(index * (w + 8), (height() - h) / 2, w, h);
  return QRect((width() - w) / 2, index * (h + 8), w, h);
}

void TabView::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.setRenderHint(QPainter::Antialiasing);
  const auto items = tab_.GetItems();
  const int selected = tab_.GetSelectItem();
  for (int i = 0; i < static_cast<int>(items.size()); ++i) {
    const QRectF r = QRectF(ItemRect(i)).adjusted(1, 1, -1, -1);
    const bool on = i == selected;
    DrawSurface(p, r, on ? Theme::kAccent.darker(150) : Theme::kRaised, on ? Theme::kAccent : Theme::kBorder, 10);
    const QRectF icon_rect(r.center().x() - 12, r.top() + 8, 24, 24);
    const QPixmap pix = SkinPixmap(items[i].icon);
    if (!pix.isNull()) {
      p.drawPixmap(icon_rect.toRect(), pix);
    } else {
      // A glyph with the caption's first character.
      p.setPen(QPen(on ? Qt::white : Theme::kMuted, 1.4));
      p.setBrush(Qt::NoBrush);
      p.drawRoundedRect(icon_rect, 6, 6);
      p.setFont(UiFont(12, true));
      p.drawText(icon_rect, Qt::AlignCenter, ToQ(items[i].text).left(1));
    }
    p.setFont(UiFont(11, on));
    p.setPen(!isEnabled() ? Theme::kMuted : on ? QColor(Qt::white) : Theme::kText);
    p.drawText(QRectF(r.left(), icon_rect.bottom() + 2, r.width(), r.bottom() - icon_rect.bottom() - 4),
               Qt::AlignCenter, p.fontMetrics().elidedText(ToQ(items[i].text), Qt::ElideRight, int(r.width()) - 4));
  }
}

void TabView::Clicked(QPoint pos) {
  for (int i = 0; i < tab_.GetItemCount(); ++i) {
    if (ItemRect(i).contains(pos)) return tab_.PerformSelect(i);
  }
}

// ----------------------------------------------------------------- mouse picture
MouseView::MouseView(MouseCtrl& c, QWidget* parent) : ControlView(c, parent), mouse_(c) {
  setCursor(Qt::PointingHandCursor);
}

void MouseView::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.setRenderHint(QPainter::Antialiasing);
  const auto texts = mouse_.GetItemTexts();
  const MouseMarkerLayout layout = LayOutMouseMarkers(QRectF(rect()), static_cast<int>(texts.size()));
  const QRectF b = layout.body;
  const qreal w = b.width();
  const qreal h = b.height();
  QPainterPath body;
  body.moveTo(b.center().x(), b.top());
  body.cubicTo(b.right() + w * 0.06, b.top(), b.right(), b.top() + h * 0.55, b.right() - w * 0.06, b.bottom() - h * 0.1);
  body.cubicTo(b.right() - w * 0.16, b.bottom(), b.left() + w * 0.16, b.bottom(), b.left() + w * 0.06, b.bottom() - h * 0.1);
  body.cubicTo(b.left(), b.top() + h * 0.55, b.left() - w * 0.06, b.top(), b.center().x(), b.top());
  QLinearGradient g(b.topLeft(), b.bottomRight());
  g.setColorAt(0, QColor(0x3a, 0x40, 0x4f));
  g.setColorAt(1, QColor(0x1b, 0x1e, 0x26));
  p.setBrush(g);
  p.setPen(QPen(Theme::kBorder.lighter(140), 1.6));
  p.drawPath(body);
  // Button split, wheel, lighting strip.
  p.drawLine(QPointF(b.center().x(), b.top()), QPointF(b.center().x(), b.top() + h * 0.36));
  p.drawLine(QPointF(b.left() + w * 0.03, b.top() + h * 0.37), QPointF(b.right() - w * 0.03, b.top() + h * 0.37));
  p.setBrush(QColor(0x12, 0x14, 0x19));
  p.drawRoundedRect(QRectF(b.center().x() - w * 0.07, b.top() + h * 0.06, w * 0.14, h * 0.16), 4, 4);
  p.setPen(QPen(Theme::kAccent, 3, Qt::SolidLine, Qt::RoundCap));
  p.drawLine(QPointF(b.center().x(), b.top() + h * 0.55), QPointF(b.center().x(), b.top() + h * 0.72));

  const int selected = mouse_.GetSelectItem();
  // Leaders first, so every marker and label lies above every line.
  for (int i = 0; i < static_cast<int>(layout.markers.size()); ++i) {
    p.setPen(QPen(i == selected ? Theme::kAccent : Theme::kMuted, 1));
    p.setBrush(Qt::NoBrush);
    p.drawPolyline(layout.markers[i].leader);
  }
  for (int i = 0; i < static_cast<int>(layout.markers.size()); ++i) {
    const MarkerPlacement& m = layout.markers[i];
    const bool on = i == selected;
    p.setBrush(on ? Theme::kAccent : Theme::kRaised);
    p.setPen(QPen(on ? Qt::white : Theme::kText, 1.5));
    p.drawEllipse(m.anchor, kMarkerRadius, kMarkerRadius);
    p.setFont(UiFont(10, true));
    p.drawText(QRectF(m.anchor.x() - kMarkerRadius, m.anchor.y() - kMarkerRadius, 2 * kMarkerRadius,
                      2 * kMarkerRadius),
               Qt::AlignCenter, QString::number(i + 1));
    DrawSurface(p, m.label, on ? Theme::kAccent.darker(160) : Theme::kRaised, on ? Theme::kAccent : Theme::kBorder, 6);
    const QString text = ToQ(texts[i]);
    const int size = MarkerLabelFontSize(text, m.label, on);
    const QRectF room = MarkerLabelTextRect(m.label);
    p.setFont(UiFont(size ? size : 10, on));
    p.setPen(on ? QColor(Qt::white) : Theme::kText);
    const int align = Qt::AlignVCenter | (m.left ? Qt::AlignRight : Qt::AlignLeft);
    if (size) {
      p.drawText(room, align | Qt::TextWordWrap, text);
    } else {
      p.drawText(room, align, p.fontMetrics().elidedText(text, Qt::ElideRight, int(room.width())));
    }
  }
}

void MouseView::Clicked(QPoint pos) {
  const MouseMarkerLayout layout = LayOutMouseMarkers(QRectF(rect()), mouse_.GetItemCount());
  for (int i = 0; i < static_cast<int>(layout.markers.size()); ++i) {
    const QPointF d = layout.markers[i].anchor - QPointF(pos);
    if (layout.markers[i].label.contains(pos) || d.x() * d.x() + d.y() * d.y() <= kMarkerRadius * kMarkerRadius * 1.6)
      return mouse_.PerformSelect(i);
  }
}

// ----------------------------------------------------------------- rows
int RowsView::RowAt(QPoint pos) const { return first_ + (pos.y() - 2) / kRow; }

void RowsView::wheelEvent(QWheelEvent* e) {
  first_ = std::max(0, first_ + (e->angleDelta().y() < 0 ? 1 : -1));
  update();
}

void RowsView::KeepVisible(int row, int count) {
  const int rows = std::max(1, height() / kRow);
  if (row >= 0 && row < first_) first_ = row;
  if (row >= first_ + rows) first_ = row - rows + 1;
  first_ = std::clamp(first_, 0, std::max(0, count - rows));
}

void RowsView::PaintRow(QPainter& p, int row, bool selected, const QString& text, const QString& lead) {
  const QRectF r(3, 2 + (row - first_) * kRow, width() - 6, kRow - 2);
  if (selected) {
    p.setPen(QPen(Theme::kAccent, 1));
    p.setBrush(Theme::kAccentSoft);
    p.drawRoundedRect(r, 5, 5);
  } else if (row % 2) {
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0xff, 0xff, 0xff, 8));
    p.drawRoundedRect(r, 5, 5);
  }
  p.setFont(UiFont(12, selected));
  qreal x = r.left() + 10;
  if (!lead.isEmpty()) {
    p.setPen(Theme::kMuted);
    p.drawText(QRectF(x, r.top(), 34, r.height()), Qt::AlignVCenter | Qt::AlignLeft, lead);
    x += 38;
  }
  p.setPen(isEnabled() ? (selected ? QColor(Qt::white) : Theme::kText) : Theme::kMuted);
  p.drawText(QRectF(x, r.top(), r.right() - x - 6, r.height()), Qt::AlignVCenter | Qt::AlignLeft, text);
}

namespace {
void PaintListFrame(QPainter& p, const QRect& rect) {
  p.setRenderHint(QPainter::Antialiasing);
  p.setPen(QPen(Theme::kBorder, 1));
  p.setBrush(Theme::kPanel);
  p.drawRoundedRect(QRectF(rect).adjusted(0.5, 0.5, -0.5, -0.5), 8, 8);
}
}  // namespace

void MacroListView::paintEvent(QPaintEvent*) {
  QPainter p(this);
  PaintListFrame(p, rect());
  const auto items = list_.GetItems();
  const int selected = list_.GetCurSel();
  p.setClipRect(rect().adjusted(1, 1, -1, -1));
  for (int i = first_; i < static_cast<int>(items.size()); ++i) {
    PaintRow(p, i, i == selected, ToQ(items[i].text), QString());
    if (i == selected) {
      // The "more" mark of the selected macro.
      const qreal y = 2 + (i - first_) * kRow + kRow / 2.0 - 1;
      p.setPen(Qt::NoPen);
      p.setBrush(Theme::kText);
      for (int k = 0; k < 3; ++k) p.drawEllipse(QPointF(width() - 28 + k * 6, y), 1.6, 1.6);
    }
  }
}

void MacroListView::mouseDoubleClickEvent(QMouseEvent* e) {
  const int row = RowAt(e->position().toPoint());
  if (!isEnabled() || row >= list_.GetItemCount()) return;
  delete rename_;
  rename_ = new QLineEdit(this);
  rename_->setStyleSheet(EditStyleSheet());
  rename_->setFont(UiFont(12));
  rename_->setGeometry(6, 2 + (row - first_) * kRow, width() - 12, kRow - 2);
  rename_->setText(ToQ(list_.GetItemText(row)));
  rename_->selectAll();
  rename_->show();
  rename_->setFocus();
  connect(rename_, &QLineEdit::editingFinished, this, [this, row] {
    QLineEdit* edit = rename_;
    if (!edit) return;
    rename_ = nullptr;
    edit->deleteLater();
    list_.PerformRename(row, FromQ(edit->text()));
  });
}

void RecordListView::SyncState() { KeepVisible(list_.GetCurSel(), list_.GetItemCount()); }

void RecordListView::paintEvent(QPaintEvent*) {
  QPainter p(this);
  PaintListFrame(p, rect());
  const auto items = list_.GetRecordItems();
  const int selected = list_.GetCurSel();
  p.setClipRect(rect().adjusted(1, 1, -1, -1));
  for (int i = first_; i < static_cast<int>(items.size()); ++i) {
    PaintRow(p, i, i == selected, ToQ(items[i].text), QString::number(i + 1));
  }
}

// ----------------------------------------------------------------- emoji grid
namespace {
constexpr int kCell = 44;
}

EmojiView::EmojiView(EmojiControl& c, QWidget* parent) : ControlView(c, parent), emoji_(c) {
  setCursor(Qt::PointingHandCursor);
}

int EmojiView::Columns() const { return std::max(1, (width() - 8) / kCell); }

int EmojiView::CellAt(QPoint pos) const {
  const int col = (pos.x() - 4) / kCell;
  const int row = (pos.y() - 4) / kCell;
  if (pos.x() < 4 || pos.y() < 4 || col >= Columns()) return -1;
  const int index = row * Columns() + col;
  return index < emoji_.GetItemCount() ? index : -1;
}

bool EmojiView::event(QEvent* e) {
  if (e->type() == QEvent::ToolTip) {
    auto* help = static_cast<QHelpEvent*>(e);
    const int index = CellAt(help->pos());
    const auto items = emoji_.GetItems();
    if (index >= 0) QToolTip::showText(help->globalPos(), ToQ(items[index].tooltip), this);
    else QToolTip::hideText();
    return true;
  }
  return ControlView::event(e);
}

void EmojiView::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.setRenderHint(QPainter::Antialiasing);
  const auto items = emoji_.GetItems();
  const int selected = emoji_.GetSelectItem();
  const int cols = Columns();
  for (int i = 0; i < static_cast<int>(items.size()); ++i) {
    const QRectF cell(4 + (i % cols) * kCell, 4 + (i / cols) * kCell, kCell - 4, kCell - 4);
    if (cell.top() > height()) break;
    DrawSurface(p, cell, i == selected ? Theme::kAccent.darker(160) : Theme::kRaised,
                i == selected ? Theme::kAccent : Theme::kBorder, 6);
    const QPixmap pix = SkinPixmap(items[i].picture);
    const QRectF face = cell.adjusted(7, 7, -7, -7);
    if (!pix.isNull()) {
      p.drawPixmap(face.toRect(), pix);
      continue;
    }
    // A drawn face whose colour and mouth vary with the number.
    QColor c = QColor::fromHsv((items[i].number * 37) % 360, 150, 250);
    p.setPen(QPen(c.darker(160), 1));
    p.setBrush(c);
    p.drawEllipse(face);
    p.setBrush(QColor(0x20, 0x20, 0x20));
    p.setPen(Qt::NoPen);
    const qreal e = face.width() * 0.09;
    p.drawEllipse(QPointF(face.left() + face.width() * 0.34, face.top() + face.height() * 0.4), e, e * 1.3);
    p.drawEllipse(QPointF(face.left() + face.width() * 0.66, face.top() + face.height() * 0.4), e, e * 1.3);
    p.setPen(QPen(QColor(0x20, 0x20, 0x20), 1.6, Qt::SolidLine, Qt::RoundCap));
    p.setBrush(Qt::NoBrush);
    const QRectF mouth = face.adjusted(face.width() * 0.25, face.height() * 0.35, -face.width() * 0.25, -face.height() * 0.2);
    if (items[i].number % 3 == 0) p.drawLine(QPointF(mouth.left(), mouth.center().y() + 2), QPointF(mouth.right(), mouth.center().y() + 2));
    else p.drawArc(mouth, (items[i].number % 3 == 1 ? 200 : 20) * 16, (items[i].number % 3 == 1 ? 140 : 140) * 16);
  }
}

void EmojiView::Clicked(QPoint pos) {
  const int index = CellAt(pos);
  if (index >= 0) emoji_.PerformSelect(index);
}

}  // namespace PLKUI::qt
