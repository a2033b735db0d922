// The emoji picker's pictures as shipped beside the program: each shows the
// emoji its text names, so a user finds a heart by its red, the sun by its
// yellow and the skull by its white, not by hovering every cell.

#include <gtest/gtest.h>

#include <QImage>
#include <set>

#include "app/program_paths.h"
#include "assign/emoji_table.h"
#include "ui/qt/window_trial/trial_window.h"

namespace tk410 {
namespace {

QApplication& g_app = test::TrialApp();

QImage Picture(int number) {
  QString name = QString::fromStdWString(EmojiPictureName(number));
  name.replace(QLatin1Char('\\'), QLatin1Char('/'));
  return QImage(QString::fromStdWString(ShippedDataDirectory()) + QStringLiteral("skin/") + name);
}

enum class Hue { kRed, kYellow, kWhite, kBrown };

bool Is(Hue hue, const QColor& c) {
  switch (hue) {
    case Hue::kRed: return c.red() > 170 && c.green() < 100 && c.blue() < 120;
    case Hue::kYellow: return c.red() > 200 && c.green() > 130 && c.blue() < 100;
    case Hue::kWhite: return c.lightness() > 170 && c.saturation() < 60;
    case Hue::kBrown: return c.red() > 80 && c.red() < 200 && c.green() < c.red() && c.blue() < c.green();
  }
  return false;
}

// Share of the picture's opaque pixels in `hue`, in percent.
int Share(const QImage& image, Hue hue) {
  int opaque = 0;
  int matching = 0;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x) {
      const QColor c = image.pixelColor(x, y);
      if (c.alpha() < 200) continue;
      ++opaque;
      if (Is(hue, c)) ++matching;
    }
  return opaque ? matching * 100 / opaque : 0;
}

TEST(EmojiPicturesTest, EachPictureShowsItsEmoji) {
  // Number, text, the colour most of its picture has.
  const struct {
    int number;
    const wchar_t* text;
    Hue hue;
  } cases[] = {
      {77, L"[爱心]", Hue::kRed},    {78, L"[心碎]", Hue::kRed},     {98, L"[太阳]", Hue::kYellow},
      {97, L"[月亮]", Hue::kYellow}, {33, L"[骷髅]", Hue::kWhite},   {96, L"[便便]", Hue::kBrown},
      {1, L"[微笑]", Hue::kYellow},  {80, L"[强]", Hue::kYellow},
  };
  for (const auto& c : cases) {
    ASSERT_EQ(EmojiText(c.number), c.text);
    const QImage image = Picture(c.number);
    ASSERT_FALSE(image.isNull()) << c.number;
    EXPECT_GE(Share(image, c.hue), 35) << c.number << " does not look like its emoji";
  }
}

TEST(EmojiPicturesTest, AllPicturesKeepTheirNamesAndSizesAndDiffer) {
  std::set<QByteArray> seen;
  for (int number = 1; number <= kEmojiCount; ++number) {
    const QImage image = Picture(number);
    ASSERT_FALSE(image.isNull()) << number;
    EXPECT_EQ(image.size(), QSize(48, 48)) << number;
    const QImage rgba = image.convertToFormat(QImage::Format_RGBA8888);
    EXPECT_TRUE(seen.insert(QByteArray(reinterpret_cast<const char*>(rgba.constBits()), rgba.sizeInBytes())).second)
        << number << " looks like another picture";
  }
}

}  // namespace
}  // namespace tk410
