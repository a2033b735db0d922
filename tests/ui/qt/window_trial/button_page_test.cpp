// The button page: each row is numbered as its button's marker on the mouse
// picture, so "3" in the list is "3" on the picture.

#include <gtest/gtest.h>

#include "assign/button_function.h"
#include "base/text.h"
#include "ui/qt/window_trial/trial_window.h"

namespace tk410 {
namespace {

QApplication& g_app = test::TrialApp();

using test::TrialMouse;
using test::TrialWindow;

TEST(ButtonPageTest, RowNumbersAreTheMarkerNumbers) {
  TrialWindow trial(kLanguageEnglish, TrialMouse::kWired);
  ASSERT_TRUE(trial.Ready());
  trial.ShowPage(1);
  auto* mouse = trial.Window().Control<PLKUI::MouseCtrl>(ctl::kMouseCtrl);
  ASSERT_NE(mouse, nullptr);
  EXPECT_EQ(mouse->GetItemCount(), PLKUI::MouseCtrl::kMarkerCount);
  std::vector<std::wstring> shown;
  for (const ButtonInfo& button : PageButtons()) {
    auto* row = trial.Window().Control<PLKUI::MText>(ctl::KeyComboId(button.key_code) - 1);
    ASSERT_NE(row, nullptr) << button.key_code;
    EXPECT_TRUE(trial.View(row->GetId())->isVisible()) << button.key_code;
    // The picture draws marker n as the number n + 1.
    EXPECT_EQ(row->GetTitle(), FormatInt(button.mouse_item + 1)) << "key code " << button.key_code;
    shown.push_back(row->GetTitle());
  }
  EXPECT_EQ(shown, (std::vector<std::wstring>{L"1", L"2", L"3", L"4", L"5", L"6", L"7", L"8"}));
}

}  // namespace
}  // namespace tk410
