// The main window carries the program's icon (the taskbar and the window
// switcher show it), drawn at the sizes a desktop asks for. The start reads
// the icon after the first frame, so the window first shows without it and
// takes it when it arrives.

#include <gtest/gtest.h>

#include <QIcon>
#include <QTest>
#include <set>

#include "plkui/qt/program_icon.h"
#include "ui/qt/window_trial/trial_window.h"

namespace tk410 {
namespace {

QApplication& g_app = test::TrialApp();

using test::TrialMouse;
using test::TrialWindow;

TEST(WindowIconTest, MainWindowShowsTheProgramIcon) {
  PLKUI::qt::ProgramIdentityLoader identity;
  TrialWindow trial(kLanguageEnglish, TrialMouse::kNone);
  ASSERT_TRUE(trial.Ready());
  identity.Load();  // as the start does after the first frame
  ASSERT_TRUE(QTest::qWaitFor([&] { return !trial.Host().windowIcon().isNull(); }, 5000))
      << "the window has no icon";
  const QIcon icon = trial.Host().windowIcon();
  for (int side : {16, 32, 48, 128}) {
    const QImage image = icon.pixmap(side, side).toImage();
    ASSERT_FALSE(image.isNull()) << side;
    EXPECT_EQ(image.width(), side);
    // A drawn picture, not one colour: some pixels are clear, others opaque,
    // and several colours appear.
    std::set<QRgb> colours;
    int opaque = 0;
    for (int y = 0; y < image.height(); ++y)
      for (int x = 0; x < image.width(); ++x) {
        const QRgb c = image.pixel(x, y);
        colours.insert(c);
        if (qAlpha(c) == 255) ++opaque;
      }
    EXPECT_GT(colours.size(), 3u) << side;
    EXPECT_GT(opaque, side * side / 4) << side;
    EXPECT_LT(opaque, side * side) << side;
  }
}

}  // namespace
}  // namespace tk410
