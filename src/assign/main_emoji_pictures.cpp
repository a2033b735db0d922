// tk410-emoji-pictures: draws the emoji picker's 109 pictures at build time
// from the Noto Color Emoji font (Debian fonts-noto-color-emoji), each from
// the Unicode emoji its text stands for (assign/emoji_table.h), as the
// 48 x 48 PNG files the picker loads (Emoji\wechat_emoji_NN.png).
//
// Usage: tk410-emoji-pictures DRAWN_DIR OUTPUT_DIR
//   DRAWN_DIR   the project's own drawn pictures (data/skin/Emoji), kept for
//               any emoji the font cannot draw, and for all without the font
//   OUTPUT_DIR  receives the 109 pictures
// Exit codes: 0 done (it says how many came from the font), 1 a picture
// could not be written, 2 usage.

#include <QDir>
#include <QFile>
#include <QFontInfo>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QRawFont>
#include <cstdio>

#include "assign/emoji_table.h"

namespace {

constexpr int kSide = 48;      // the picture
constexpr int kInner = 44;     // the emoji inside it
constexpr int kCanvas = 160;   // drawn at the font's own bitmap size first
constexpr int kFontPixels = 109;
const QString kFamily = QStringLiteral("Noto Color Emoji");

// Joiners and presentation selectors carry no picture of their own.
bool IsJoiner(char32_t c) { return c == 0x200D || c == 0xFE0F || c == 0xFE0E; }

bool FontDraws(const QRawFont& font, const std::u32string& code_points) {
  if (code_points.empty()) return false;
  for (char32_t c : code_points)
    if (!IsJoiner(c) && !font.supportsCharacter(static_cast<uint>(c))) return false;
  return true;
}

// The emoji drawn large, cut to its square and scaled into the picture; a
// null image when nothing was drawn.
QImage Draw(const QFont& font, const std::u32string& code_points) {
  QImage canvas(kCanvas, kCanvas, QImage::Format_ARGB32_Premultiplied);
  canvas.fill(Qt::transparent);
  {
    QPainter p(&canvas);
    p.setFont(font);
    p.drawText(canvas.rect(), Qt::AlignCenter,
               QString::fromUcs4(code_points.data(), static_cast<qsizetype>(code_points.size())));
  }
  int left = kCanvas, top = kCanvas, right = -1, bottom = -1;
  for (int y = 0; y < kCanvas; ++y)
    for (int x = 0; x < kCanvas; ++x)
      if (qAlpha(canvas.pixel(x, y)) > 0) {
        left = std::min(left, x);
        right = std::max(right, x);
        top = std::min(top, y);
        bottom = std::max(bottom, y);
      }
  if (right < 0) return QImage();
  const int side = std::max(right - left, bottom - top) + 1;
  const QRect square((left + right + 1 - side) / 2, (top + bottom + 1 - side) / 2, side, side);
  const QImage emoji = canvas.copy(square).scaled(kInner, kInner, Qt::KeepAspectRatio, Qt::SmoothTransformation);
  QImage picture(kSide, kSide, QImage::Format_ARGB32);
  picture.fill(Qt::transparent);
  QPainter p(&picture);
  p.drawImage((kSide - emoji.width()) / 2, (kSide - emoji.height()) / 2, emoji);
  return picture;
}

}  // namespace

int main(int argc, char** argv) {
  QGuiApplication app(argc, argv);
  if (argc != 3) {
    std::fprintf(stderr, "usage: tk410-emoji-pictures DRAWN_DIR OUTPUT_DIR\n");
    return 2;
  }
  const QString drawn = QString::fromLocal8Bit(argv[1]);
  const QString output = QString::fromLocal8Bit(argv[2]);
  if (!QDir().mkpath(output)) {
    std::fprintf(stderr, "tk410-emoji-pictures: cannot create %s\n", argv[2]);
    return 1;
  }
  QFont font(kFamily);
  font.setPixelSize(kFontPixels);
  const bool have_font = QFontInfo(font).family() == kFamily;
  const QRawFont raw = QRawFont::fromFont(font);
  if (!have_font)
    std::fprintf(stderr, "tk410-emoji-pictures: no %s font (Debian fonts-noto-color-emoji); "
                         "the drawn pictures are kept\n", qPrintable(kFamily));

  int from_font = 0;
  for (int number = 1; number <= tk410::kEmojiCount; ++number) {
    const QString name = QStringLiteral("wechat_emoji_%1.png").arg(number - 1, 2, 10, QLatin1Char('0'));
    const QString target = output + QLatin1Char('/') + name;
    const std::u32string code_points = tk410::EmojiCodePoints(number);
    QImage picture;
    if (have_font && FontDraws(raw, code_points)) picture = Draw(font, code_points);
    if (!picture.isNull()) {
      if (!picture.save(target, "PNG")) {
        std::fprintf(stderr, "tk410-emoji-pictures: cannot write %s\n", qPrintable(target));
        return 1;
      }
      ++from_font;
      continue;
    }
    QFile::remove(target);
    if (!QFile::copy(drawn + QLatin1Char('/') + name, target)) {
      std::fprintf(stderr, "tk410-emoji-pictures: cannot copy the drawn %s\n", qPrintable(name));
      return 1;
    }
  }
  std::printf("tk410-emoji-pictures: %d of %d pictures drawn from %s\n", from_font, tk410::kEmojiCount,
              qPrintable(kFamily));
  return 0;
}
