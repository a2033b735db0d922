#include "plkui/qt/check_views.h"

#include <QLineEdit>
#include <QPainter>

#include "base/text.h"
#include "plkui/qt/theme.h"

namespace PLKUI::qt {

QString EditStyleSheet() {
  return QStringLiteral(
      "QLineEdit { background: #161920; color: #e8ebf1; border: 1px solid #3a4150;"
      " border-radius: 5px; padding: 1px 6px; selection-background-color: #ff4d5e; }"
      "QLineEdit:focus { border: 1px solid #ff4d5e; }"
      "QLineEdit:disabled { color: #8e96a8; background: #1f232c; }");
}

CheckView::CheckView(MCheckControl& c, QWidget* parent) : ControlView(c, parent), check_(c) {
  setCursor(Qt::PointingHandCursor);
}

void CheckView::PaintMark(QPainter& p, const QRectF& box, bool checked) {
  const std::wstring& cls = check_.GetClassName();
  const QColor edge = checked ? Theme::kAccent : Hovered() ? Theme::kText : Theme::kMuted;
  if (cls == L"CRadioButton") {
    p.setPen(QPen(edge, 1.5));
    p.setBrush(Theme::kPanel);
    p.drawEllipse(box);
    if (checked) {
      p.setPen(Qt::NoPen);
      p.setBrush(Theme::kAccent);
      p.drawEllipse(box.adjusted(4, 4, -4, -4));
    }
    return;
  }
  p.setPen(QPen(edge, 1.5));
  p.setBrush(checked ? Theme::kAccent : Theme::kPanel);
  p.drawRoundedRect(box, 3, 3);
  if (checked) {
    p.setPen(QPen(Qt::white, 2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPolyline(QPolygonF({box.topLeft() + QPointF(box.width() * 0.22, box.height() * 0.52),
                              box.topLeft() + QPointF(box.width() * 0.43, box.height() * 0.72),
                              box.topLeft() + QPointF(box.width() * 0.78, box.height() * 0.3)}));
  }
}

void CheckView::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.setRenderHint(QPainter::Antialiasing);
  const bool checked = check_.GetCheck() != 0;
  const std::wstring& cls = check_.GetClassName();
  const QRectF r = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);

  if (cls == L"ColorButtonEx") {
    const uint32_t color = static_cast<ColorButtonEx&>(check_).GetColor();
    const QColor accent = color ? FromBgr(color) : Theme::kAccent;
    // A checked button that cannot be chosen (a stored value the mouse does
    // not offer now) is a dimmed accent with light text, readable on it.
    const bool enabled = isEnabled();
    const QColor fill = checked ? accent.darker(enabled ? 115 : 190) : Hovered() ? Theme::kHover : Theme::kRaised;
    DrawSurface(p, r, fill, checked ? accent.darker(enabled ? 100 : 140) : Theme::kBorder, r.height() / 2);
    p.setFont(UiFont(check_.GetFontWidth(), checked));
    p.setPen(checked ? QColor(255, 255, 255, enabled ? 255 : 210) : enabled ? Theme::kText : Theme::kMuted);
    p.drawText(rect(), Qt::AlignCenter, ToQ(check_.GetTitle()));
    return;
  }
  if (cls == L"CSwitchButton") {
    auto& sw = static_cast<CSwitchButton&>(check_);
    const QPixmap skin = SkinPixmap(checked ? sw.GetOnImage() : sw.GetImage());
    if (!skin.isNull()) {
      p.drawPixmap(rect(), skin);
      return;
    }
    const qreal h = std::min(r.height(), 22.0);
    const QRectF track(r.left(), r.center().y() - h / 2, std::min(r.width(), h * 1.9), h);
    p.setPen(QPen(checked ? Theme::kAccent : Theme::kBorder, 1));
    p.setBrush(checked ? Theme::kAccent : Theme::kPanel);
    p.drawRoundedRect(track, h / 2, h / 2);
    const qreal d = h - 6;
    const qreal x = checked ? track.right() - d - 3 : track.left() + 3;
    p.setPen(Qt::NoPen);
    p.setBrush(isEnabled() ? QColor(Qt::white) : Theme::kMuted);
    p.drawEllipse(QRectF(x, track.top() + 3, d, d));
    if (!check_.GetTitle().empty()) {
      p.setFont(UiFont(check_.GetFontWidth()));
      p.setPen(isEnabled() ? Theme::kText : Theme::kMuted);
      p.drawText(QRectF(track.right() + 8, 0, width() - track.right() - 8, height()),
                 Qt::AlignVCenter | Qt::AlignLeft, ToQ(check_.GetTitle()));
    }
    return;
  }
  const QPixmap skin = SkinPixmap(check_.GetImage());
  const qreal side = 16;
  const QRectF box(r.left() + 1, r.center().y() - side / 2, side, side);
  if (!skin.isNull()) {
    // Skin pictures hold the unchecked and checked marks side by side.
    const int half = skin.width() / 2;
    p.drawPixmap(box.toRect(), skin, QRect(checked ? half : 0, 0, half, skin.height()));
  } else {
    PaintMark(p, box, checked);
  }
  p.setFont(UiFont(check_.GetFontWidth()));
  p.setPen(isEnabled() ? Theme::kText : Theme::kMuted);
  p.drawText(QRectF(box.right() + 8, 0, width() - box.right() - 8, height()),
             Qt::AlignVCenter | Qt::AlignLeft, ToQ(check_.GetTitle()));
}

DpiView::DpiView(DPIControl& c, QWidget* parent) : ControlView(c, parent), dpi_(c) {
  setCursor(Qt::PointingHandCursor);
  edit_ = new QLineEdit(this);
  edit_->setAlignment(Qt::AlignCenter);
  edit_->setMaxLength(5);
  edit_->setStyleSheet(EditStyleSheet());
  edit_->setFont(UiFont(14, true));
  // Only a click puts the caret here: hiding a page must not walk focus through the stages.
  edit_->setFocusPolicy(Qt::ClickFocus);
  connect(edit_, &QLineEdit::textEdited, this, [this](const QString& text) {
    edited_ = true;
    QString digits;
    for (QChar ch : text) {
      if (ch.isDigit()) digits.append(ch);
    }
    if (digits != text) edit_->setText(digits);
    dpi_.PerformEditText(FromQ(digits));
  });
  // Finished reports only an edit the user typed into.
  connect(edit_, &QLineEdit::editingFinished, this, [this] {
    if (!edited_) return;
    edited_ = false;
    dpi_.PerformEditFinished();
  });
}

void DpiView::SyncState() {
  edit_->setReadOnly(!dpi_.IsEditEnabled());
  const int dpi = dpi_.GetDPIValue();
  if (tk410::WToI(FromQ(edit_->text())) != dpi || edit_->text().isEmpty()) {
    edit_->setText(QString::number(dpi));
  }
}

void DpiView::resizeEvent(QResizeEvent*) {
  const int h = std::min(28, height() / 3);
  edit_->setGeometry(8, height() - h - 8, width() - 16, h);
}

void DpiView::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.setRenderHint(QPainter::Antialiasing);
  const bool checked = dpi_.GetCheckState() != 0;
  const QColor stage = FromBgr(dpi_.GetColor());
  const QRectF r = QRectF(rect()).adjusted(1, 1, -1, -1);
  DrawSurface(p, r, checked ? Theme::kHover : Hovered() ? Theme::kRaised.lighter(110) : Theme::kRaised,
              checked ? stage : Theme::kBorder, 8);
  if (checked) {
    QColor glow = stage;
    glow.setAlpha(50);
    p.setPen(QPen(glow, 4));
    p.setBrush(Qt::NoBrush);
    p.drawRoundedRect(r.adjusted(2, 2, -2, -2), 7, 7);
  }
  // Stage colour bar and dot.
  p.setPen(Qt::NoPen);
  p.setBrush(stage);
  p.drawRoundedRect(QRectF(r.left() + 10, r.top() + 8, r.width() - 20, 4), 2, 2);
  p.setFont(UiFont(dpi_.GetFontWidth() ? dpi_.GetFontWidth() : 12, checked));
  p.setPen(isEnabled() ? Theme::kText : Theme::kMuted);
  p.drawText(QRectF(r.left(), r.top() + 14, r.width(), 22), Qt::AlignCenter, ToQ(dpi_.GetTitle()));
}

}  // namespace PLKUI::qt
