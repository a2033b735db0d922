// The settings page's pointer controls as a user meets them: the wheel
// lines, which values the desktop really takes, and the restore of the
// desktop's defaults.

#include <set>

#include "sync/sync_task.h"
#include "ui/system_settings_page.h"
#include "ui/window_trial/trial_fixture.h"

namespace tk410 {
namespace {

using Calls = std::vector<std::string>;

// The wheel-lines slider and the lines spin show one number of lines, 1 to
// 20, and both give it to the desktop; page scrolling takes both away.
TEST_F(TrialWindowTest, WheelLinesSliderAndSpinShowAndApplyOneNumber) {
  pointer.wheel_lines = 7;
  Start();
  FillSystemSettings(*window);
  auto* slider = C<PLKUI::MSlider>(ctl::kWheelLinesSlider);
  auto* lines = C<PLKUI::NumberEdit>(ctl::kWheelLines);
  ASSERT_TRUE(slider && lines);
  EXPECT_EQ(slider->GetProgress(), 7);
  EXPECT_TRUE(slider->IsEnabled());
  EXPECT_EQ(lines->GetEditText(), L"7");
  EXPECT_EQ(lines->GetLow(), 1);
  EXPECT_EQ(lines->GetHigh(), 20);

  slider->PerformDrag(12);  // dragging shows the number only
  EXPECT_EQ(lines->GetEditText(), L"12");
  EXPECT_TRUE(pointer.calls.empty());
  slider->PerformRelease();
  EXPECT_EQ(pointer.calls, Calls{"wheel=12"});

  // The spin stops at 20 and applies what it shows; the slider follows.
  lines->SetEditText(L"20");
  lines->PerformSpin(1);
  EXPECT_EQ(lines->GetEditText(), L"20");
  EXPECT_EQ(pointer.calls, (Calls{"wheel=12", "wheel=20"}));
  EXPECT_EQ(slider->GetProgress(), 20);
  lines->PerformSpin(-1);
  EXPECT_EQ(pointer.calls, (Calls{"wheel=12", "wheel=20", "wheel=19"}));
  EXPECT_EQ(slider->GetProgress(), 19);

  // One screen per notch: neither can be used; back to lines: 3 in both.
  C<PLKUI::MControl>(ctl::kWheelPage)->PerformClick();
  EXPECT_FALSE(slider->IsEnabled());
  EXPECT_FALSE(lines->IsEnabled());
  C<PLKUI::MControl>(ctl::kWheelLinesRadio)->PerformClick();
  EXPECT_TRUE(slider->IsEnabled());
  EXPECT_EQ(slider->GetProgress(), 3);
  EXPECT_EQ(pointer.calls, (Calls{"wheel=12", "wheel=20", "wheel=19", "wheel=page", "wheel=3"}));

  // Filled from a desktop set to page scrolling, the slider cannot be used.
  pointer.wheel_lines = kWheelPageScroll;
  FillSystemSettings(*window);
  EXPECT_FALSE(slider->IsEnabled());
}

// Values the desktop does not apply are named under the pointer settings
// with text 908; values it applies are not.
TEST_F(TrialWindowTest, PointerValuesTheDesktopIgnoresAreSaidToBeKeptOnly) {
  Start();
  using V = PointerValue;
  struct Row {
    std::set<PointerValue> kept_only;
    const wchar_t* note;
  };
  const Row rows[] = {
      {{}, L""},
      {{V::kWheelLines}, L"T635: T908"},  // GNOME: no wheel setting
      {{V::kSpeed, V::kAcceleration, V::kWheelLines, V::kDoubleClick},
       L"T980: T908\nT634: T908\nT635: T908\nT638: T908"},
  };
  for (const Row& row : rows) {
    pointer.kept_only = row.kept_only;
    FillSystemSettings(*window);
    auto* note = window->Control<PLKUI::MText>(ctl::kPointerNote);
    ASSERT_NE(note, nullptr);
    EXPECT_EQ(note->GetTitle(), row.note);
    EXPECT_EQ(note->IsVisible(), row.note[0] != 0);
  }
  // The note follows the language.
  numbered.SetText(908, L"kept here");
  window->RefreshTexts();
  EXPECT_EQ(Caption(ctl::kPointerNote), L"T980: kept here\nT634: kept here\nT635: kept here\nT638: kept here");
}

// A restore puts back the desktop's own defaults (on GNOME a double-click
// time of 400 ms), touching only values that differ.
TEST_F(TrialWindowTest, RestoreGivesBackTheDesktopsOwnDefaults) {
  PlugCable();
  pointer.defaults = PointerValues{10, 1, 3, 400};
  pointer.double_click_ms = 550;
  Start();
  FillSystemSettings(*window);
  window->reset_selector.store(1);
  window->Enqueue(kTaskRestoreProfile);
  RunQueue();
  EXPECT_EQ(pointer.calls, Calls{"doubleclick=400"});
  EXPECT_EQ(Caption(ctl::kDoubleClickValue), L"400");

  pointer.calls.clear();
  window->Enqueue(kTaskRestoreProfile);
  RunQueue();
  EXPECT_TRUE(pointer.calls.empty());

  // The factory reset does the same with whatever the desktop's defaults are.
  pointer.defaults = PointerValues{12, 0, 5, 620};
  window->Enqueue(kTaskFactoryReset);
  RunQueue();
  EXPECT_EQ(pointer.calls, (Calls{"speed=12", "acceleration=0", "wheel=5", "doubleclick=620"}));
  EXPECT_EQ(C<PLKUI::MSlider>(ctl::kPointerSpeed)->GetProgress(), 11);
  EXPECT_EQ(Caption(ctl::kPointerSpeedValue), L"12");
  EXPECT_EQ(C<PLKUI::CCheckButton>(ctl::kPointerPrecision)->GetCheck(), 0);
  EXPECT_EQ(Caption(ctl::kWheelLines), L"5");
  EXPECT_EQ(C<PLKUI::MSlider>(ctl::kDoubleClick)->GetProgress(), DoubleClickPosition(620));
  EXPECT_EQ(Caption(ctl::kDoubleClickValue), L"620");
}

}  // namespace
}  // namespace tk410
