// Help buttons and tooltips: resting the pointer on a "?" shows its help
// text in the window's dark colours, beside the controls it explains rather
// than over them; ordinary tooltips share the dark colours.

#include <gtest/gtest.h>

#include <QHelpEvent>
#include <QLabel>

#include "ui/qt/window_trial/trial_window.h"

namespace tk410 {
namespace {

QApplication& g_app = test::TrialApp();

using test::Settle;
using test::TrialMouse;
using test::TrialWindow;

// Rests the pointer on `view` (Qt's tooltip request) and returns the tip
// shown: a visible tooltip window that is a label.
QLabel* Hover(QWidget* view) {
  QHelpEvent hover(QEvent::ToolTip, view->rect().center(), view->mapToGlobal(view->rect().center()));
  QApplication::sendEvent(view, &hover);
  Settle();
  for (QWidget* w : QApplication::topLevelWidgets())
    if (w->isVisible() && w->windowType() == Qt::ToolTip)
      if (auto* label = qobject_cast<QLabel*>(w)) return label;
  return nullptr;
}

void Leave(QWidget* view) {
  QEvent leave(QEvent::Leave);
  QApplication::sendEvent(view, &leave);
  Settle();
}

QRect OnScreen(QWidget* w) { return QRect(w->mapToGlobal(QPoint(0, 0)), w->size()); }

// The mean lightness of a tip as drawn (0 black .. 255 white).
int Lightness(QLabel* tip) {
  const QImage image = tip->grab().toImage();
  qint64 sum = 0;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x) sum += image.pixelColor(x, y).lightness();
  return static_cast<int>(sum / std::max(1, image.width() * image.height()));
}

TEST(HelpButtonTest, EveryHelpShowsItsTextDarkAndBesideItsControls) {
  for (int language : {kLanguageEnglish, kLanguageChinese}) {
    TrialWindow trial(language, TrialMouse::kWired);
    ASSERT_TRUE(trial.Ready());
    const struct {
      int page;
      int help;
      std::vector<int> explained;  // controls the tip must leave visible
    } cases[] = {
        {2, ctl::kDpiHelp, {101, 102, 103}},
        {2, ctl::kRateHelp, {ctl::kFirstRate + 3}},
        {2, ctl::kSensorHelp, {ctl::kSensor4, ctl::kSensor8, ctl::kSensor16}},
        {2, ctl::kScrollHelp, {ctl::kScrollNormal, ctl::kScrollReverse}},
        {2, ctl::kGameHelp, {ctl::kGameOn, ctl::kGameOff}},
        {4, ctl::kPointerHelp, {ctl::kPointerSpeed, ctl::kPointerPrecision}},
    };
    for (const auto& c : cases) {
      trial.ShowPage(c.page);
      QWidget* view = trial.View(c.help);
      ASSERT_NE(view, nullptr) << c.help;
      QLabel* tip = Hover(view);
      ASSERT_NE(tip, nullptr) << language << " help " << c.help;
      const std::wstring help = trial.Window().Control<PLKUI::MControlFont>(c.help)->GetTitle();
      EXPECT_NE(help, L"?") << language << " help " << c.help;
      EXPECT_GT(help.size(), 10u) << language << " help " << c.help;
      EXPECT_EQ(tip->text().toStdWString(), help) << language << " help " << c.help;
      EXPECT_LT(Lightness(tip), 100) << language << " help " << c.help << ": a light tip";
      for (int id : c.explained) {
        EXPECT_FALSE(OnScreen(tip).intersects(OnScreen(trial.View(id))))
            << language << " help " << c.help << " covers control " << id;
      }
      Leave(view);
      EXPECT_FALSE(tip->isVisible()) << language << " help " << c.help << " stays after the pointer left";
    }
  }
}

TEST(TooltipTest, OrdinaryTooltipsAreDark) {
  TrialWindow trial(kLanguageEnglish, TrialMouse::kWired);
  ASSERT_TRUE(trial.Ready());
  QLabel* tip = Hover(trial.View(ctl::kClose));
  ASSERT_NE(tip, nullptr);
  EXPECT_EQ(tip->text().toStdWString(), trial.Texts().GetLangText(5));
  EXPECT_LT(Lightness(tip), 100);
}

}  // namespace
}  // namespace tk410
