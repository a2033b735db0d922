// The frame's connection pill and battery, and the home page's advice, as
// they look with no mouse, with a mouse the program may not open, and with a
// connected mouse.

#include <gtest/gtest.h>

#include <QLabel>

#include "ui/qt/window_trial/trial_window.h"

namespace tk410 {
namespace {

QApplication& g_app = test::TrialApp();

using test::TrialMouse;
using test::TrialWindow;

struct Pixels {
  int green = 0;   // the "connected" dot and a charged battery
  int bright = 0;  // text and marks drawn in the full text colour
};

// The view as it shows in its window (over the window's background).
Pixels Count(TrialWindow& trial, int id) {
  Pixels n;
  const QImage image = trial.Host().grab(trial.View(id)->geometry()).toImage();
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) {
      const QColor c = image.pixelColor(x, y);
      if (c.green() > 150 && c.green() > c.red() + 60 && c.green() > c.blue() + 20) ++n.green;
      if (c.red() > 200 && c.green() > 200 && c.blue() > 200) ++n.bright;
    }
  }
  return n;
}

// Nothing connected: no green dot, and an empty grey battery with no level
// and no charging mark. A mouse that may not be opened is not "connected"
// either. A connected mouse keeps its green dot.
TEST(ConnectionPillTest, GreenOnlyWhileAMouseIsConnected) {
  const struct {
    TrialMouse mouse;
    bool green_dot;
  } cases[] = {{TrialMouse::kNone, false}, {TrialMouse::kDenied, false}, {TrialMouse::kWired, true}};
  for (const auto& c : cases) {
    TrialWindow trial(kLanguageEnglish, c.mouse);
    ASSERT_TRUE(trial.Ready());
    const Pixels pill = Count(trial, ctl::kDeviceState);
    EXPECT_EQ(pill.green > 0, c.green_dot) << static_cast<int>(c.mouse) << ": " << pill.green;
    if (c.mouse == TrialMouse::kWired) continue;
    // (0, 2) is what the scan shows before any battery value is known.
    const Pixels battery = Count(trial, ctl::kBattery);
    EXPECT_EQ(battery.green, 0) << static_cast<int>(c.mouse);
    EXPECT_EQ(battery.bright, 0) << static_cast<int>(c.mouse) << ": a level or a bolt is drawn";
  }
}

// The advice for a mouse the program may not open is read whole and its
// command can be selected and copied, in both languages.
TEST(AccessAdviceTest, ReadableWholeAndSelectable) {
  for (int language : {kLanguageEnglish, kLanguageChinese}) {
    TrialWindow trial(language, TrialMouse::kDenied);
    ASSERT_TRUE(trial.Ready());
    const std::wstring advice = trial.Texts().GetLangText(901);
    ASSERT_NE(advice.find(L"udev-rules"), std::wstring::npos) << language;
    QWidget* view = trial.View(ctl::kHomeStatus2);
    ASSERT_NE(view, nullptr);
    ASSERT_TRUE(view->isVisible()) << language;
    auto* label = view->findChild<QLabel*>();
    ASSERT_NE(label, nullptr) << language << ": the advice cannot be selected";
    EXPECT_EQ(label->text().toStdWString(), advice) << language;
    EXPECT_TRUE(label->textInteractionFlags() & Qt::TextSelectableByMouse) << language;
    EXPECT_TRUE(label->isVisible()) << language;
    // Every line of the wrapped text lies inside the label, the label inside
    // the page's panel.
    EXPECT_LE(label->heightForWidth(label->width()), label->height()) << language;
    const QRect panel = trial.View(ctl::kHomePanel)->geometry();
    const QRect shown(label->mapTo(&trial.Host(), QPoint(0, 0)), label->size());
    EXPECT_TRUE(panel.contains(shown)) << language;
  }
}

}  // namespace
}  // namespace tk410
