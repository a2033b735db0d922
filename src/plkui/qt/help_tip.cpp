#include "plkui/qt/help_tip.h"

#include <QGuiApplication>
#include <QLabel>
#include <QPointer>
#include <QScreen>
#include <QWidget>
#include <algorithm>

#include "plkui/qt/theme.h"

namespace PLKUI::qt {

namespace {

constexpr int kGap = 6;         // between the button and the tip
constexpr int kMaxWidth = 380;  // longer help wraps
// Padding and border of the tip's style, across and down.
constexpr int kFrame = 2 * 10 + 2;
constexpr int kFrameHeight = 2 * 8 + 2;
constexpr int kSpare = 6;

struct Tip {
  QPointer<QLabel> label;
  QPointer<QWidget> owner;
};

Tip& TheTip() {
  static Tip tip;
  return tip;
}

QLabel* CreateLabel() {
  auto* label = new QLabel(nullptr, Qt::ToolTip | Qt::FramelessWindowHint);
  label->setObjectName(QStringLiteral("tk410HelpTip"));
  label->setAttribute(Qt::WA_ShowWithoutActivating);
  label->setTextFormat(Qt::PlainText);
  label->setWordWrap(true);
  label->setFont(UiFont(12));
  label->setStyleSheet(QStringLiteral("QLabel { background: %1; color: %2; border: 1px solid %3; "
                                      "border-radius: 6px; padding: 8px 10px; }")
                           .arg(Theme::kPanel.name(), Theme::kText.name(), Theme::kBorder.lighter(130).name()));
  return label;
}

}  // namespace

QRect PlaceHelpTip(const QRect& button, const QSize& size, const QRect& screen) {
  auto clamp_x = [&](int x) { return std::clamp(x, screen.left(), std::max(screen.left(), screen.right() + 1 - size.width())); };
  auto clamp_y = [&](int y) { return std::clamp(y, screen.top(), std::max(screen.top(), screen.bottom() + 1 - size.height())); };
  const int above = button.top() - kGap - size.height();
  if (above >= screen.top()) return QRect(QPoint(clamp_x(button.left() - 12), above), size);
  // Beside the button, reaching up from its bottom edge as far as it must.
  const int right = button.right() + 1 + kGap;
  if (right + size.width() <= screen.right() + 1)
    return QRect(QPoint(right, clamp_y(button.bottom() + 1 - size.height())), size);
  return QRect(QPoint(clamp_x(button.left() - 12), clamp_y(button.bottom() + 1 + kGap)), size);
}

void ShowHelpTip(QWidget* button, const QString& text) {
  Tip& tip = TheTip();
  if (text.isEmpty()) {
    HideHelpTip(button);
    return;
  }
  if (!tip.label) tip.label = CreateLabel();
  QLabel* label = tip.label;
  label->setText(text);
  // The text wrapped at its widest line, up to the longest width, plus the
  // padding and border of the style; a few pixels spare, so the label wraps
  // no line the measure did not.
  const QFontMetrics metrics(label->font());
  const QRect needed = metrics.boundingRect(QRect(0, 0, kMaxWidth - kFrame, 100000), Qt::TextWordWrap, text);
  label->setFixedSize(needed.width() + kFrame + kSpare, needed.height() + kFrameHeight + kSpare);
  const QRect at(button->mapToGlobal(QPoint(0, 0)), button->size());
  const QScreen* screen = button->screen() ? button->screen() : QGuiApplication::primaryScreen();
  const QRect area = screen ? screen->availableGeometry() : QRect(0, 0, 1920, 1080);
  label->setGeometry(PlaceHelpTip(at, label->size(), area));
  tip.owner = button;
  label->show();
  label->raise();
}

void HideHelpTip(const QWidget* button) {
  Tip& tip = TheTip();
  if (tip.label && tip.owner == button) {
    tip.label->hide();
    tip.owner = nullptr;
  }
}

}  // namespace PLKUI::qt
