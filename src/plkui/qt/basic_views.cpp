#include "plkui/qt/basic_views.h"

#include <QFile>
#include <QImage>
#include <QLabel>
#include <QMovie>
#include <QPainter>
#include <QPainterPath>
#include <cmath>

#include "plkui/qt/help_tip.h"
#include "plkui/qt/theme.h"
#include "plkui/tab.h"

namespace PLKUI::qt {

namespace {

int TextFlags(const MControlFont& c) {
  const int align = c.GetAlignment();
  int flags = Qt::TextWordWrap;
  flags |= (align & kAlignCenter) ? Qt::AlignHCenter : (align & kAlignRight) ? Qt::AlignRight : Qt::AlignLeft;
  flags |= (align & kAlignVCenter) ? Qt::AlignVCenter : Qt::AlignTop;
  return flags;
}

QColor TextColor(const MControlFont& c, bool enabled) {
  if (!enabled) return Theme::kMuted;
  const uint32_t color = c.GetTextColor();
  return color ? FromBgr(color) : Theme::kText;
}

QFont TextFont(const MControlFont& c) {
  QFont font = UiFont(c.GetFontWidth());
  const std::wstring family = c.GetFontName();
  if (!family.empty()) {
    QStringList families = font.families();
    families.prepend(ToQ(family));
    font.setFamilies(families);
  }
  return font;
}

}  // namespace

void DrawControlText(QPainter& p, const MControlFont& c, const QRect& r, bool enabled) {
  const std::wstring title = c.GetTitle();
  if (title.empty()) return;
  p.setFont(TextFont(c));
  p.setPen(TextColor(c, enabled));
  p.drawText(r, TextFlags(c), ToQ(title));
}

// ----------------------------------------------------------------- text
TextView::TextView(MControlFont& c, QWidget* parent) : ControlView(c, parent), text_(c) {
  setAttribute(Qt::WA_TransparentForMouseEvents);
}

void TextView::SyncState() {
  auto* text = dynamic_cast<MText*>(&text_);
  const bool selectable = text && text->IsSelectable();
  if (selectable != (label_ != nullptr)) {
    delete label_;
    label_ = nullptr;
    if (selectable) {
      label_ = new QLabel(this);
      label_->setTextFormat(Qt::PlainText);
      label_->setWordWrap(true);
      label_->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
      label_->setCursor(Qt::IBeamCursor);
      // Placed before it is shown: a widget shown without a size is first
      // laid out at its preferred one, text and all.
      label_->setGeometry(rect());
      label_->show();
      label_sheet_.clear();
    }
    // Only a selectable text takes the pointer.
    setAttribute(Qt::WA_TransparentForMouseEvents, !selectable);
  }
  if (!label_) return;
  label_->setGeometry(rect());
  label_->setFont(TextFont(text_));
  label_->setAlignment(Qt::Alignment(TextFlags(text_) & ~Qt::TextWordWrap));
  // Given again only when it changed: each new sheet is parsed and the
  // label polished anew.
  const QString sheet = QStringLiteral("QLabel { color: %1; background: transparent; "
                                       "selection-background-color: %2; selection-color: white; }")
                            .arg(TextColor(text_, isEnabled()).name(), Theme::kAccent.name()) +
                        MenuStyleSheet();
  if (sheet != label_sheet_) {
    label_->setStyleSheet(sheet);
    label_sheet_ = sheet;
  }
  const QString title = ToQ(text_.GetTitle());
  if (label_->text() != title) label_->setText(title);
}

void TextView::resizeEvent(QResizeEvent*) {
  if (label_) label_->setGeometry(rect());
}

void TextView::paintEvent(QPaintEvent*) {
  if (label_) return;  // the label draws the text
  QPainter p(this);
  p.setRenderHint(QPainter::TextAntialiasing);
  DrawControlText(p, text_, rect(), isEnabled());
}

// ----------------------------------------------------------------- buttons
ButtonView::ButtonView(MControlFont& c, QWidget* parent) : ControlView(c, parent), button_(c) {
  setCursor(Qt::PointingHandCursor);
}

ButtonView::~ButtonView() { HideHelpTip(this); }

bool ButtonView::event(QEvent* e) {
  if (e->type() == QEvent::ToolTip && button_.GetClassName() == L"CHelpButton") {
    ShowHelpTip(this, ToQ(button_.GetTitle()));
    return true;
  }
  return ControlView::event(e);
}

void ButtonView::leaveEvent(QEvent* e) {
  HideHelpTip(this);
  ControlView::leaveEvent(e);
}

void ButtonView::hideEvent(QHideEvent*) { HideHelpTip(this); }

void ButtonView::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.setRenderHint(QPainter::Antialiasing);
  const std::wstring& cls = button_.GetClassName();
  if (cls == L"CImageButton") return PaintImageButton(p);
  if (cls == L"CHelpButton") return PaintHelp(p);
  if (cls == L"CTextButton") return PaintLink(p);

  const QRectF r = QRectF(rect()).adjusted(1, 1, -1, -1);
  const QPixmap skin = SkinPixmap(button_.GetImage());
  if (!skin.isNull()) {
    p.drawPixmap(rect(), skin);
  } else {
    QColor fill = Pressed() ? Theme::kAccent.darker(130) : Hovered() ? Theme::kHover : Theme::kRaised;
    if (!isEnabled()) fill = Theme::kPanel;
    DrawSurface(p, r, fill, Hovered() && isEnabled() ? Theme::kAccent : Theme::kBorder, 6);
  }
  QRect text_rect = rect();
  if (auto* icon_button = dynamic_cast<CIconButton*>(&button_)) {
    const std::wstring icon = icon_button->GetIcon();
    const int side = std::min(height() - 12, 18);
    const QRect icon_rect(10, (height() - side) / 2, side, side);
    const QPixmap pix = SkinPixmap(icon);
    if (!pix.isNull()) {
      p.drawPixmap(icon_rect, pix);
    } else if (icon.find(L"stop") != std::wstring::npos) {
      p.setPen(Qt::NoPen);
      p.setBrush(Theme::kAccent);
      p.drawRoundedRect(icon_rect.adjusted(3, 3, -3, -3), 2, 2);
    } else {
      p.setPen(QPen(Theme::kAccent.lighter(130), 1.5));
      p.setBrush(Theme::kAccent);
      p.drawEllipse(icon_rect.adjusted(2, 2, -2, -2));
    }
    text_rect.setLeft(icon_rect.right() + 4);
  }
  p.setFont(UiFont(button_.GetFontWidth()));
  p.setPen(isEnabled() ? Theme::kText : Theme::kMuted);
  p.drawText(text_rect, Qt::AlignCenter, ToQ(button_.GetTitle()));
}

void ButtonView::PaintImageButton(QPainter& p) {
  const std::wstring image = button_.GetImage();
  const QPixmap skin = SkinPixmap(image);
  if (!skin.isNull()) {
    p.drawPixmap(rect(), skin);
    return;
  }
  // A drawn glyph chosen by the picture's name.
  const QRectF r = QRectF(rect()).adjusted(1, 1, -1, -1);
  const bool close = image.find(L"close") != std::wstring::npos;
  QColor fill = Hovered() ? (close ? Theme::kAccent : Theme::kHover) : Theme::kRaised;
  if (!isEnabled()) fill = Theme::kPanel;
  p.setPen(QPen(Theme::kBorder, 1));
  p.setBrush(fill);
  p.drawRoundedRect(r, 5, 5);
  const qreal s = std::min(r.width(), r.height()) * 0.28;
  const QPointF c = r.center();
  p.setPen(QPen(isEnabled() ? Theme::kText : Theme::kMuted, 1.6, Qt::SolidLine, Qt::RoundCap));
  p.setBrush(Qt::NoBrush);
  if (close) {
    p.drawLine(c + QPointF(-s, -s), c + QPointF(s, s));
    p.drawLine(c + QPointF(-s, s), c + QPointF(s, -s));
  } else if (image.find(L"restore") != std::wstring::npos) {
    p.drawRect(QRectF(c.x() - s, c.y() - s * 0.5, s * 1.5, s * 1.5));
    p.drawPolyline(QPolygonF({c + QPointF(-s * 0.5, -s * 0.5), c + QPointF(-s * 0.5, -s),
                              c + QPointF(s, -s), c + QPointF(s, s * 0.5),
                              c + QPointF(s * 0.5, s * 0.5)}));
  } else if (image.find(L"max") != std::wstring::npos) {
    p.drawRect(QRectF(c.x() - s, c.y() - s, 2 * s, 2 * s));
  } else if (image.find(L"min") != std::wstring::npos) {
    p.drawLine(c + QPointF(-s, s * 0.6), c + QPointF(s, s * 0.6));
  } else if (image.find(L"add") != std::wstring::npos) {
    p.drawLine(c + QPointF(-s, 0), c + QPointF(s, 0));
    p.drawLine(c + QPointF(0, -s), c + QPointF(0, s));
  } else if (image.find(L"sub") != std::wstring::npos) {
    p.drawLine(c + QPointF(-s, 0), c + QPointF(s, 0));
  } else {
    // A reset arrow.
    const QRectF arc(c.x() - s, c.y() - s, 2 * s, 2 * s);
    p.drawArc(arc, 60 * 16, 280 * 16);
    const QPointF tip = c + QPointF(s * std::cos(M_PI / 3), -s * std::sin(M_PI / 3));
    p.drawLine(tip, tip + QPointF(s * 0.6, 0));
    p.drawLine(tip, tip + QPointF(0, -s * 0.6));
  }
}

void ButtonView::PaintHelp(QPainter& p) {
  const qreal side = std::min(width(), height()) - 2;
  const QRectF r((width() - side) / 2, (height() - side) / 2, side, side);
  p.setPen(QPen(Hovered() ? Theme::kCyan : Theme::kMuted, 1.3));
  p.setBrush(Hovered() ? QColor(0x2e, 0xc4, 0xff, 0x30) : Qt::transparent);
  p.drawEllipse(r);
  QFont f = UiFont(std::max(9, static_cast<int>(side * 0.62)), true);
  p.setFont(f);
  p.drawText(r, Qt::AlignCenter, QStringLiteral("?"));
}

void ButtonView::PaintLink(QPainter& p) {
  QString text = ToQ(button_.GetTitle());
  p.setFont(UiFont(button_.GetFontWidth()));
  p.setPen(Hovered() ? Theme::kCyan.lighter(120) : Theme::kCyan);
  if (text.isEmpty()) {
    // No caption: the link is a click area over what lies beneath it (the
    // logo); only hovering shows it.
    if (Hovered()) {
      p.setPen(QPen(Theme::kCyan, 1));
      p.setBrush(Qt::NoBrush);
      p.drawRoundedRect(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5), 4, 4);
    }
    return;
  }
  QFont f = p.font();
  f.setUnderline(Hovered());
  p.setFont(f);
  p.drawText(rect(), Qt::AlignCenter, text);
}

// ----------------------------------------------------------------- pictures
PictureView::PictureView(MControlFont& c, QWidget* parent) : ControlView(c, parent), picture_(c) {
  setAttribute(Qt::WA_TransparentForMouseEvents);
}

namespace {

void DrawMouseSilhouette(QPainter& p, const QRectF& area, const QColor& body, const QColor& line) {
  const qreal w = std::min(area.width() * 0.55, area.height() * 0.38);
  const qreal h = w / 0.58;
  const QRectF m(area.center().x() - w / 2, area.center().y() - h / 2, w, h);
  QPainterPath path;
  path.moveTo(m.center().x(), m.top());
  path.cubicTo(m.right() + w * 0.05, m.top(), m.right(), m.top() + h * 0.55, m.right() - w * 0.06, m.bottom() - h * 0.12);
  path.cubicTo(m.right() - w * 0.15, m.bottom(), m.left() + w * 0.15, m.bottom(), m.left() + w * 0.06, m.bottom() - h * 0.12);
  path.cubicTo(m.left(), m.top() + h * 0.55, m.left() - w * 0.05, m.top(), m.center().x(), m.top());
  QLinearGradient g(m.topLeft(), m.bottomRight());
  g.setColorAt(0, body.lighter(140));
  g.setColorAt(1, body);
  p.setBrush(g);
  p.setPen(QPen(line, 1.5));
  p.drawPath(path);
  p.drawLine(QPointF(m.center().x(), m.top()), QPointF(m.center().x(), m.top() + h * 0.36));
  p.drawLine(QPointF(m.left() + w * 0.04, m.top() + h * 0.36), QPointF(m.right() - w * 0.04, m.top() + h * 0.36));
  p.setBrush(line);
  p.drawRoundedRect(QRectF(m.center().x() - w * 0.06, m.top() + h * 0.1, w * 0.12, h * 0.16), 3, 3);
}

}  // namespace

void PictureView::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.setRenderHint(QPainter::Antialiasing);
  const std::wstring name = picture_.GetImage();
  const QPixmap skin = SkinPixmap(name);
  if (!skin.isNull()) {
    p.drawPixmap(rect(), skin);
    return;
  }
  const QRectF r = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
  if (name.find(L"background") != std::wstring::npos || name.empty()) {
    DrawBackdrop(p, rect());
    return;
  }
  if (name.find(L"mouse") != std::wstring::npos) {
    DrawMouseSilhouette(p, r, QColor(0x30, 0x35, 0x42), Theme::kBorder.lighter(130));
    return;
  }
  if (name.find(L"logo") != std::wstring::npos) {
    p.setFont(UiFont(std::max(12, height() / 2), true));
    p.setPen(Theme::kAccent);
    p.drawText(rect(), Qt::AlignCenter, QStringLiteral("TEVO"));
    return;
  }
  DrawSurface(p, r, Theme::kPanel, Theme::kBorder, 8);
  // Panels and areas ("img_area3.png") are plain surfaces; any other missing
  // picture gets a small landscape mark so it reads as a picture.
  if (name.find(L"area") != std::wstring::npos || name.find(L"bkg") != std::wstring::npos) return;
  const QPointF c = r.center();
  p.setPen(QPen(Theme::kMuted, 1.4));
  p.setBrush(Qt::NoBrush);
  const qreal s = std::min(r.width(), r.height()) * 0.18;
  p.drawRoundedRect(QRectF(c.x() - s * 1.3, c.y() - s, s * 2.6, s * 2), 3, 3);
  p.drawPolyline(QPolygonF({c + QPointF(-s * 1.1, s * 0.8), c + QPointF(-s * 0.2, -s * 0.2),
                            c + QPointF(s * 0.4, s * 0.4), c + QPointF(s * 0.8, 0),
                            c + QPointF(s * 1.1, s * 0.8)}));
}

GifView::GifView(CGifPicture& c, QWidget* parent) : ControlView(c, parent), gif_(c) {
  setAttribute(Qt::WA_TransparentForMouseEvents);
  timer_.setInterval(80);
  connect(&timer_, &QTimer::timeout, this, [this] {
    phase_ = (phase_ + 1) % 12;
    update();
  });
}

void GifView::SyncState() {
  const QString path = SkinPath(gif_.GetImage());
  if (!movie_ && !gif_.GetImage().empty() && QFile::exists(path)) {
    movie_ = new QMovie(path, QByteArray(), this);
    connect(movie_, &QMovie::frameChanged, this, [this] { update(); });
  }
  const bool playing = gif_.IsPlaying();
  if (movie_) {
    movie_->setPaused(!playing);
    if (playing && movie_->state() == QMovie::NotRunning) movie_->start();
  } else if (playing != timer_.isActive()) {
    playing ? timer_.start() : timer_.stop();
  }
}

void GifView::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.setRenderHint(QPainter::Antialiasing);
  if (movie_ && movie_->isValid()) {
    p.drawPixmap(rect(), movie_->currentPixmap());
    return;
  }
  // Twelve spokes fading behind the leading one.
  const QPointF c = QRectF(rect()).center();
  const qreal outer = std::min(width(), height()) * 0.36;
  const qreal inner = outer * 0.5;
  for (int i = 0; i < 12; ++i) {
    const int age = (phase_ - i + 12) % 12;
    QColor col = Theme::kAccent;
    col.setAlpha(255 - age * 19);
    p.setPen(QPen(col, std::max(2.0, outer * 0.16), Qt::SolidLine, Qt::RoundCap));
    const qreal a = i * M_PI / 6;
    p.drawLine(c + QPointF(inner * std::sin(a), -inner * std::cos(a)),
               c + QPointF(outer * std::sin(a), -outer * std::cos(a)));
  }
}

// ----------------------------------------------------------------- areas
AreaView::AreaView(MControlFont& c, QWidget* parent) : ControlView(c, parent) {
  setAttribute(Qt::WA_TransparentForMouseEvents);
}

void AreaView::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.setRenderHint(QPainter::Antialiasing);
  const QRectF r = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
  auto* area = dynamic_cast<CArea*>(&Control());
  if (area && area->IsTransparent()) {
    p.setPen(QPen(Theme::kBorder, 1));
    p.drawLine(r.bottomLeft(), r.bottomRight());
    return;
  }
  const QPixmap skin = SkinPixmap(Control().GetImage());
  if (!skin.isNull()) {
    p.drawPixmap(rect(), skin);
    return;
  }
  const QColor fill = area && area->GetBkColor() ? FromBgr(area->GetBkColor()) : Theme::kPanel;
  qreal radius = 4;
  if (auto* round = dynamic_cast<CRoundArea*>(&Control())) radius = round->GetRadius();
  if (dynamic_cast<MTabLayout*>(&Control())) radius = 10;
  QColor translucent = fill;
  translucent.setAlpha(dynamic_cast<MTabLayout*>(&Control()) ? 120 : 235);
  p.setPen(QPen(Theme::kBorder, 1));
  p.setBrush(translucent);
  p.drawRoundedRect(r, radius, radius);
}

void DeviceStateView::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.setRenderHint(QPainter::Antialiasing);
  const QRectF r = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
  p.setPen(QPen(Theme::kBorder, 1));
  p.setBrush(Theme::kPanel);
  p.drawRoundedRect(r, r.height() / 2, r.height() / 2);
  const QPixmap skin = SkinPixmap(Control().GetImage());
  const qreal d = std::min(10.0, r.height() * 0.4);
  const QRectF dot(r.left() + r.height() / 2 - d / 2, r.center().y() - d / 2, d, d);
  const int state = state_.GetState();
  if (!skin.isNull() && state == CDeviceState::kConnected) {
    p.drawPixmap(dot.toRect().adjusted(-3, -3, 3, 3), skin);
  } else if (state == CDeviceState::kConnected || state == CDeviceState::kAttention) {
    p.setPen(Qt::NoPen);
    p.setBrush(state == CDeviceState::kConnected ? Theme::kGood : Theme::kWarning);
    p.drawEllipse(dot);
  } else {
    // Nothing connected: an empty ring.
    p.setPen(QPen(Theme::kMuted, 1.4));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(dot.adjusted(0.7, 0.7, -0.7, -0.7));
  }
  DrawControlText(p, text_, rect().adjusted(static_cast<int>(r.height()), 0, -8, 0),
                  isEnabled() && state != CDeviceState::kNone);
}

BatteryView::BatteryView(BatteryCtrl& c, QWidget* parent) : ControlView(c, parent), battery_(c) {
  setAttribute(Qt::WA_TransparentForMouseEvents);
}

void BatteryView::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.setRenderHint(QPainter::Antialiasing);
  const int level = std::clamp(battery_.GetBatteryLevel(), 0, 100);
  const qreal h = std::min<qreal>(height() - 4, 16);
  const qreal w = h * 2;
  const QRectF body(2, (height() - h) / 2, w, h);
  p.setPen(QPen(Theme::kMuted, 1.4));
  p.setBrush(Theme::kPanel);
  p.drawRoundedRect(body, 3, 3);
  p.setPen(Qt::NoPen);
  p.setBrush(Theme::kMuted);
  p.drawRoundedRect(QRectF(body.right() + 1, body.center().y() - h * 0.2, 3, h * 0.4), 1, 1);
  const QRectF caption(body.right() + 8, 0, width() - body.right() - 8, height());
  p.setFont(UiFont(11));
  if (level == 0) {
    // No reading: an empty battery and a dash, nothing that looks like a level.
    p.setPen(Theme::kMuted);
    p.drawText(caption, Qt::AlignVCenter | Qt::AlignLeft, QStringLiteral("\u2013"));
    return;
  }
  const bool charging = battery_.GetBatteryState() != 0;
  const QColor fill = level > 50 ? Theme::kGood : level > 20 ? Theme::kWarning : Theme::kAccent;
  const QRectF inner = body.adjusted(2.5, 2.5, -2.5, -2.5);
  p.setBrush(fill);
  p.drawRoundedRect(QRectF(inner.left(), inner.top(), inner.width() * level / 100.0, inner.height()), 1.5, 1.5);
  if (charging) {
    const QPointF c = body.center();
    QPolygonF bolt({c + QPointF(1.5, -h * 0.42), c + QPointF(-3.5, 1), c + QPointF(-0.2, 1),
                    c + QPointF(-1.5, h * 0.42), c + QPointF(3.5, -1), c + QPointF(0.2, -1)});
    p.setBrush(Theme::kText);
    p.setPen(QPen(Theme::kWindowBottom, 0.8));
    p.drawPolygon(bolt);
  }
  p.setPen(Theme::kText);
  p.setFont(UiFont(11));
  p.drawText(caption, Qt::AlignVCenter | Qt::AlignLeft, QStringLiteral("%1%").arg(level));
}

}  // namespace PLKUI::qt
