// Skin pictures: names with backslashes are found in the skin folder beside
// the data files and drawn; a picture that is missing is drawn by the theme
// instead of leaving the control's rectangle empty.

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QImage>
#include <QWidget>
#include <cstdlib>

#include "plkui/qt/control_view.h"
#include "plkui/qt/theme.h"
#include "plkui/controls.h"
#include "support/temp_dir.h"

namespace tk410::test {
namespace {

using namespace PLKUI;

// Counts pixels that differ from the first (top-left) one.
int VariedPixels(const QImage& image) {
  int varied = 0;
  const QRgb first = image.pixel(0, 0);
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) varied += image.pixel(x, y) != first;
  }
  return varied;
}

TEST(SkinTest, BackslashNamesLoadFromTheSkinFolderAndMissingOnesAreDrawn) {
  ASSERT_NE(QCoreApplication::instance(), nullptr);
  tk410::testing::TempDir data;
  data.Write("config.xml", "<config/>");
  std::filesystem::create_directories(data.path() / "skin" / "icon");
  QImage red(8, 8, QImage::Format_ARGB32);
  red.fill(QColor(255, 0, 0));
  ASSERT_TRUE(red.save(QString::fromStdString((data.path() / "skin" / "icon" / "red.png").string())));
  setenv("TK410_DATA_DIR", data.path().c_str(), 1);

  EXPECT_EQ(qt::SkinPath(L"icon\\red.png"),
            QString::fromStdString((data.path() / "skin" / "icon" / "red.png").string()));
  EXPECT_FALSE(qt::SkinPixmap(L"icon\\red.png").isNull());
  EXPECT_TRUE(qt::SkinPixmap(L"icon\\missing.png").isNull());
  EXPECT_TRUE(qt::SkinPixmap(L"").isNull());

  QWidget host;
  host.resize(200, 100);
  MPicture shipped;
  shipped.SetRect(MRect{0, 0, 40, 40});
  shipped.SetImage(L"icon\\red.png");
  MPicture missing;
  missing.SetRect(MRect{50, 0, 130, 80});
  missing.SetImage(L"device\\img_mouse.png");
  CImageButton close;
  close.SetRect(MRect{140, 0, 164, 24});
  close.SetImage(L"sysbtn_close.png");
  std::unique_ptr<qt::ControlView> views[] = {
      std::unique_ptr<qt::ControlView>(qt::CreateControlView(shipped, &host)),
      std::unique_ptr<qt::ControlView>(qt::CreateControlView(missing, &host)),
      std::unique_ptr<qt::ControlView>(qt::CreateControlView(close, &host))};
  for (auto& v : views) v->Sync();

  const QImage drawn = views[0]->grab().toImage();
  EXPECT_EQ(drawn.pixelColor(20, 20), QColor(255, 0, 0));
  EXPECT_GT(VariedPixels(views[1]->grab().toImage()), 200);  // a drawn mouse, not a blank box
  EXPECT_GT(VariedPixels(views[2]->grab().toImage()), 20);   // a drawn close glyph
  unsetenv("TK410_DATA_DIR");
}

}  // namespace
}  // namespace tk410::test
