#include "plkui/qt/theme.h"

#include <algorithm>

#include <QFile>
#include <QHash>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QToolTip>

#include "app/program_paths.h"
#include "plkui/manager.h"

namespace PLKUI::qt {

QString ToQ(const std::wstring& text) { return QString::fromStdWString(text); }
std::wstring FromQ(const QString& text) { return text.toStdWString(); }

QFont UiFont(int px, bool bold) {
  QFont font;
  QStringList families;
  const QString named = ToQ(Manager::GetFontName());
  if (!named.isEmpty()) families << named;
  families << QStringLiteral("Open Sans Semibold") << QStringLiteral("Open Sans")
           << QStringLiteral("Noto Sans CJK SC") << QStringLiteral("Noto Sans SC")
           << QStringLiteral("Noto Sans");
  font.setFamilies(families);
  font.setPixelSize(px > 0 ? px : 13);
  font.setWeight(bold ? QFont::Bold : QFont::DemiBold);
  font.setStyleStrategy(QFont::PreferAntialias);
  return font;
}

QString SkinPath(const std::wstring& name) {
  QString rel = ToQ(name);
  rel.replace(QLatin1Char('\\'), QLatin1Char('/'));
  return ToQ(tk410::ShippedDataDirectory()) + QStringLiteral("skin/") + rel;
}

QPixmap SkinPixmap(const std::wstring& name) {
  if (name.empty()) return QPixmap();
  static QHash<QString, QPixmap> cache;
  const QString path = SkinPath(name);
  auto it = cache.find(path);
  if (it != cache.end()) return *it;
  QPixmap pixmap;
  if (QFile::exists(path)) pixmap.load(path);
  cache.insert(path, pixmap);
  return pixmap;
}

QColor FromBgr(uint32_t bgr) {
  return QColor(bgr & 0xFF, (bgr >> 8) & 0xFF, (bgr >> 16) & 0xFF);
}

void ApplyTooltipTheme() {
  QPalette palette = QToolTip::palette();
  for (QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
    palette.setColor(group, QPalette::ToolTipBase, Theme::kPanel);
    palette.setColor(group, QPalette::ToolTipText, Theme::kText);
    palette.setColor(group, QPalette::Window, Theme::kPanel);
    palette.setColor(group, QPalette::WindowText, Theme::kText);
  }
  QToolTip::setPalette(palette);
  QToolTip::setFont(UiFont(12));
}

QString MenuStyleSheet() {
  return QStringLiteral(
      "QMenu { background: #1f232c; color: #e8ebf1; border: 1px solid #3a4150; padding: 4px; }"
      "QMenu::item { padding: 5px 18px; border-radius: 4px; }"
      "QMenu::item:selected { background: #ff4d5e; color: white; }"
      "QMenu::item:disabled { color: #8e96a8; }");
}

void DrawSurface(QPainter& p, const QRectF& r, const QColor& fill, const QColor& border,
                 qreal radius) {
  p.save();
  p.setRenderHint(QPainter::Antialiasing);
  QLinearGradient g(r.topLeft(), r.bottomLeft());
  g.setColorAt(0, fill.lighter(112));
  g.setColorAt(1, fill);
  p.setBrush(g);
  p.setPen(QPen(border, 1));
  p.drawRoundedRect(r.adjusted(0.5, 0.5, -0.5, -0.5), radius, radius);
  p.restore();
}

void DrawBackdrop(QPainter& p, const QRect& area) {
  constexpr int kLineGap = 18;
  p.save();
  p.setRenderHint(QPainter::Antialiasing);
  const QRectF r = QRectF(area).adjusted(0.5, 0.5, -0.5, -0.5);
  QRadialGradient g(r.center().x(), r.top() + r.height() * 0.35, std::max(r.width(), r.height()) * 0.7);
  g.setColorAt(0, QColor(0x26, 0x2b, 0x38));
  g.setColorAt(1, QColor(0x14, 0x16, 0x1c));
  p.setPen(Qt::NoPen);
  p.setBrush(g);
  p.drawRoundedRect(r, 8, 8);
  // Faint diagonal lines, one every 18 pixels: the pixels whose x + y is a
  // multiple of 18. A tile of 18 by 18 repeats them exactly, and a tiled
  // fill costs a fraction of drawing the lines one by one (they were the
  // dearest part of the window's first frame).
  QImage tile(kLineGap, kLineGap, QImage::Format_ARGB32_Premultiplied);
  tile.fill(Qt::transparent);
  for (int y = 0; y < kLineGap; ++y) tile.setPixelColor((kLineGap - y) % kLineGap, y, QColor(0xff, 0xff, 0xff, 10));
  p.setRenderHint(QPainter::Antialiasing, false);
  p.fillRect(area, QBrush(tile));
  p.restore();
}

}  // namespace PLKUI::qt
