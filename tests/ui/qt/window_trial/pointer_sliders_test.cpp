// The settings page's pointer sliders as a user reads them: the double-click
// slider stands where the desktop's time lies between "Slow" and "Fast", and
// each slider's row carries both end labels and its value with its unit.

#include <gtest/gtest.h>

#include <cstdlib>

#include "ui/qt/window_trial/trial_window.h"
#include "ui/system_settings_page.h"

namespace tk410 {
namespace {

QApplication& g_app = test::TrialApp();

using test::TrialMouse;
using test::TrialWindow;

QRect Shown(TrialWindow& trial, int id) {
  QWidget* view = trial.View(id);
  return view && view->isVisible() ? view->geometry() : QRect();
}

bool SameRow(const QRect& a, const QRect& b) {
  return !a.isEmpty() && !b.isEmpty() && a.top() < b.bottom() && b.top() < a.bottom();
}

// The visible texts of the settings page with this caption, in one row with
// `slider`, left or right of it.
int TextsBeside(TrialWindow& trial, const std::wstring& caption, int slider, bool right) {
  const QRect track = Shown(trial, slider);
  int found = 0;
  for (PLKUI::MControl* control : trial.Window().GetControls()) {
    auto* text = dynamic_cast<PLKUI::MText*>(control);
    if (!text || text->GetTitle() != caption) continue;
    const QRect r = Shown(trial, control->GetId());
    if (SameRow(r, track) && (right ? r.left() >= track.right() : r.right() <= track.left())) ++found;
  }
  return found;
}

TEST(PointerSlidersTest, DoubleClickAtGnomeDefaultAndLabelledRows) {
  for (int language : {kLanguageEnglish, kLanguageChinese}) {
    TrialWindow trial(language, TrialMouse::kWired);
    ASSERT_TRUE(trial.Ready());
    trial.ShowPage(4);
    auto* slider = trial.Window().Control<PLKUI::MSlider>(ctl::kDoubleClick);
    ASSERT_NE(slider, nullptr);
    // 400 ms: the position whose time is nearest, well away from the slow end.
    const int position = slider->GetProgress();
    EXPECT_LE(std::abs(DoubleClickMsOfPosition(position) - test::kGnomeDoubleClickMs), 35)
        << language << ": position " << position;

    const std::wstring slow = trial.Texts().GetLangText(632);
    const std::wstring fast = trial.Texts().GetLangText(633);
    for (int id : {ctl::kPointerSpeed, ctl::kDoubleClick}) {
      EXPECT_EQ(TextsBeside(trial, slow, id, false), 1) << language << " slider " << id;
      EXPECT_EQ(TextsBeside(trial, fast, id, true), 1) << language << " slider " << id;
    }
    // The value in the slider's own row, the time followed by its unit.
    const std::wstring unit = trial.Texts().GetLangText(990);
    EXPECT_FALSE(unit.empty()) << language;
    EXPECT_TRUE(SameRow(Shown(trial, ctl::kDoubleClickValue), Shown(trial, ctl::kDoubleClick))) << language;
    EXPECT_TRUE(SameRow(Shown(trial, ctl::kPointerSpeedValue), Shown(trial, ctl::kPointerSpeed))) << language;
    EXPECT_EQ(trial.Window().Control<PLKUI::MText>(ctl::kDoubleClickValue)->GetTitle(), L"400") << language;
    const QRect value = Shown(trial, ctl::kDoubleClickValue);
    int units = 0;
    for (PLKUI::MControl* control : trial.Window().GetControls()) {
      auto* text = dynamic_cast<PLKUI::MText*>(control);
      const QRect r = Shown(trial, control->GetId());
      if (text && text->GetTitle() == unit && SameRow(r, value) && r.left() >= value.right() - 1) ++units;
    }
    EXPECT_EQ(units, 1) << language << ": the time has no unit beside it";
  }
}

}  // namespace
}  // namespace tk410
