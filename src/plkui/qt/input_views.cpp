#include "plkui/qt/input_views.h"

#include <QLineEdit>
#include <QFocusEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>

#include "plkui/qt/check_views.h"
#include "plkui/qt/theme.h"

namespace PLKUI::qt {

namespace {

void DrawChevron(QPainter& p, QPointF c, qreal s, const QColor& color, bool up = false) {
  p.setPen(QPen(color, 1.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  p.setBrush(Qt::NoBrush);
  const qreal d = up ? -s / 2 : s / 2;
  p.drawPolyline(QPolygonF({c + QPointF(-s, -d), c + QPointF(0, d), c + QPointF(s, -d)}));
}

}  // namespace

// ----------------------------------------------------------------- combo box
ComboView::ComboView(MComboBox& c, QWidget* parent) : ControlView(c, parent), combo_(c) {
  setCursor(Qt::PointingHandCursor);
}

void ComboView::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.setRenderHint(QPainter::Antialiasing);
  const QRectF r = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
  const QPixmap skin = SkinPixmap(combo_.GetImage());
  if (!skin.isNull()) {
    p.drawPixmap(rect(), skin);
  } else {
    DrawSurface(p, r, isEnabled() ? (Hovered() ? Theme::kHover : Theme::kRaised) : Theme::kPanel,
                Hovered() && isEnabled() ? Theme::kAccent : Theme::kBorder, 6);
  }
  p.setFont(UiFont(combo_.GetFontWidth()));
  p.setPen(isEnabled() ? Theme::kText : Theme::kMuted);
  const QRectF text_rect = r.adjusted(10, 0, -28, 0);
  p.drawText(text_rect, Qt::AlignVCenter | Qt::AlignLeft,
             p.fontMetrics().elidedText(ToQ(combo_.GetTitle()), Qt::ElideRight, int(text_rect.width())));
  DrawChevron(p, QPointF(r.right() - 14, r.center().y()), 4.5, isEnabled() ? Theme::kAccent : Theme::kMuted);
}

void ComboView::Clicked(QPoint) {
  const auto items = combo_.GetItems();
  if (items.empty()) return;
  QMenu menu(this);
  menu.setStyleSheet(MenuStyleSheet());
  menu.setFont(UiFont());
  menu.setMinimumWidth(width());
  const int current = combo_.GetCurSel();
  for (int i = 0; i < static_cast<int>(items.size()); ++i) {
    QAction* action = menu.addAction(ToQ(items[i].text));
    action->setData(i);
    action->setCheckable(true);
    action->setChecked(i == current);
  }
  if (QAction* chosen = menu.exec(mapToGlobal(QPoint(0, height())))) {
    combo_.PerformSelect(chosen->data().toInt());
  }
}

// ----------------------------------------------------------------- edits
EditView::EditView(MEdit& c, QWidget* parent) : ControlView(c, parent), edit_(c) {
  line_ = new QLineEdit(this);
  line_->setStyleSheet(EditStyleSheet());
  line_->setFont(UiFont(c.GetFontWidth()));
  line_->setFocusPolicy(Qt::ClickFocus);
  line_->installEventFilter(this);
  connect(line_, &QLineEdit::textEdited, this, [this](const QString& typed) {
    edit_.PerformEditText(FromQ(typed));
    const QString kept = ToQ(edit_.GetEditText());
    if (kept != line_->text()) line_->setText(kept);
  });
  // Entering reports 30 and leaving 29, once per visit of the user.
  connect(line_, &QLineEdit::editingFinished, this, [this] {
    if (!entered_) return;
    entered_ = false;
    edit_.PerformEditFinished();
  });
}

int EditView::SpinWidth() const { return dynamic_cast<NumberEdit*>(&edit_) ? 18 : 0; }

bool EditView::eventFilter(QObject* watched, QEvent* e) {
  if (watched == line_ && e->type() == QEvent::FocusIn && !entered_) {
    const Qt::FocusReason reason = static_cast<QFocusEvent*>(e)->reason();
    if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason) {
      entered_ = true;
      edit_.PerformEditEntered();
    }
  }
  return ControlView::eventFilter(watched, e);
}

void EditView::SyncState() {
  const QString text = ToQ(edit_.GetEditText());
  if (line_->text() != text) line_->setText(text);
  line_->setPlaceholderText(ToQ(edit_.GetTipInfo()));
  const int limit = edit_.GetLimitText();
  line_->setMaxLength(limit > 0 ? limit : 32767);
}

void EditView::resizeEvent(QResizeEvent*) {
  line_->setGeometry(0, 0, width() - SpinWidth(), height());
}

void EditView::paintEvent(QPaintEvent*) {
  if (!SpinWidth()) return;
  QPainter p(this);
  p.setRenderHint(QPainter::Antialiasing);
  const QRectF spin(width() - SpinWidth() + 2, 0.5, SpinWidth() - 2.5, height() - 1);
  DrawSurface(p, spin, Theme::kRaised, Theme::kBorder, 4);
  const QColor c = isEnabled() ? Theme::kText : Theme::kMuted;
  DrawChevron(p, QPointF(spin.center().x(), spin.top() + spin.height() * 0.3), 3.5, c, true);
  DrawChevron(p, QPointF(spin.center().x(), spin.top() + spin.height() * 0.7), 3.5, c);
}

void EditView::Clicked(QPoint pos) {
  auto* number = dynamic_cast<NumberEdit*>(&edit_);
  if (!number || pos.x() < width() - SpinWidth()) return;
  number->PerformSpin(pos.y() < height() / 2 ? +1 : -1);
}

// ----------------------------------------------------------------- sliders
SliderView::SliderView(MSlider& c, QWidget* parent) : ControlView(c, parent), slider_(c) {
  setCursor(Qt::PointingHandCursor);
}

QRectF SliderView::Track() const {
  const qreal h = slider_.GetClassName() == L"DPISlider" ? 8 : 5;
  return QRectF(10, height() / 2.0 - h / 2, std::max(1, width() - 20), h);
}

int SliderView::PositionAt(qreal x) const {
  const QRectF t = Track();
  const int low = slider_.GetLow();
  const int high = slider_.GetHigh();
  const qreal f = std::clamp((x - t.left()) / t.width(), 0.0, 1.0);
  return low + static_cast<int>(std::lround(f * (high - low)));
}

void SliderView::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.setRenderHint(QPainter::Antialiasing);
  const QPixmap background = SkinPixmap(slider_.GetClassName() == L"DPISlider" ? slider_.GetImage() : std::wstring());
  if (!background.isNull()) p.drawPixmap(rect(), background);
  const QRectF t = Track();
  const int low = slider_.GetLow();
  const int high = slider_.GetHigh();
  const qreal f = high > low ? qreal(slider_.GetProgress() - low) / (high - low) : 0;
  p.setPen(Qt::NoPen);
  p.setBrush(Theme::kPanel.darker(120));
  p.drawRoundedRect(t, t.height() / 2, t.height() / 2);
  QLinearGradient g(t.topLeft(), t.topRight());
  g.setColorAt(0, Theme::kCyan);
  g.setColorAt(1, Theme::kAccent);
  p.setBrush(isEnabled() ? QBrush(g) : QBrush(Theme::kMuted));
  p.drawRoundedRect(QRectF(t.left(), t.top(), t.width() * f, t.height()), t.height() / 2, t.height() / 2);
  const QPointF c(t.left() + t.width() * f, t.center().y());
  const QPixmap thumb = SkinPixmap(slider_.GetThumbImage());
  if (!thumb.isNull()) {
    p.drawPixmap(QPointF(c.x() - thumb.width() / 2.0, c.y() - thumb.height() / 2.0), thumb);
  } else {
    p.setBrush(Qt::white);
    p.setPen(QPen(isEnabled() ? Theme::kAccent : Theme::kMuted, 3));
    p.drawEllipse(c, 7, 7);
  }
}

void SliderView::mousePressEvent(QMouseEvent* e) {
  if (e->button() != Qt::LeftButton) return;
  dragging_ = true;
  slider_.PerformDrag(PositionAt(e->position().x()));
}

void SliderView::mouseMoveEvent(QMouseEvent* e) {
  if (!dragging_) return;
  const int pos = PositionAt(e->position().x());
  if (pos != slider_.GetProgress()) slider_.PerformDrag(pos);
}

void SliderView::mouseReleaseEvent(QMouseEvent* e) {
  if (!dragging_ || e->button() != Qt::LeftButton) return;
  dragging_ = false;
  slider_.PerformRelease();
}

}  // namespace PLKUI::qt
