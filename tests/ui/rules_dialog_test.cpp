// The dialog of profiles for programs, opened from the settings page: adding
// the program in front after the countdown and one from the running
// programs, the profile of a rule, the rule for every other program,
// removing.

#include <gtest/gtest.h>
#include <unistd.h>

#include "ui/follow_fixture.h"
#include "ui/rules_dialog.h"

namespace tk410::testing {
namespace {

std::vector<std::wstring> Rules(ConfigDatabase& db) {
  RecordList<AppRuleRecord> rules;
  db.LoadAppRules(rules);
  std::vector<std::wstring> shown;
  for (const auto& r : rules) {
    shown.push_back(std::to_wstring(r->match_type) + L" " + r->match_text + L" " + std::to_wstring(r->profile));
  }
  return shown;
}

TEST_F(FollowTest, RulesDialogAddsChangesAndRemovesRules) {
  texts_.SetText(800, L"text 800");
  for (int id : {1003, 1004, 1014, 1016, 1017, 1024}) texts_.SetText(id, L"[" + std::to_wstring(id) + L" %s]");
  bool ran = false;
  runtime_.AnswerNextModalByEnd([&](PLKUI::MWindow& window) {
    auto& dlg = static_cast<RulesDlg&>(window);
    auto click = [&](int id) { dlg.GetControl(id)->PerformClick(); };
    auto combo = [&](int id) { return dlg.GetControlAs<PLKUI::MComboBox>(id); };
    auto* list = dlg.GetControlAs<PLKUI::MacroList>(RulesDlg::kRuleList);
    auto title = [&](int id) { return dlg.GetControlAs<PLKUI::MControlFont>(id)->GetTitle(); };
    EXPECT_EQ(list->GetItemCount(), 0);
    EXPECT_FALSE(dlg.GetControl(RulesDlg::kRemove)->IsEnabled());
    std::vector<std::wstring> programs;
    for (const auto& item : combo(RulesDlg::kPrograms)->GetItems()) programs.push_back(item.text);
    EXPECT_EQ(programs, (std::vector<std::wstring>{L"firefox", L"racer", L"Shooter.exe"}));

    // Three seconds to bring the game forward; then its Steam id is the rule.
    click(RulesDlg::kAddInFront);
    EXPECT_EQ(title(RulesDlg::kAddInFront), L"[1004 3]");
    source_.Bring(WindowIdentity{0x700001, 4343, "x", "X"}, false);
    runtime_.FireTimers();
    runtime_.FireTimers();
    EXPECT_EQ(title(RulesDlg::kAddInFront), L"[1004 1]");
    EXPECT_TRUE(Rules(db_).empty());
    runtime_.FireTimers();
    EXPECT_EQ(title(RulesDlg::kAddInFront), L"[1003 %s]");
    EXPECT_EQ(Rules(db_), std::vector<std::wstring>{L"3 570 1"});
    EXPECT_EQ(title(RulesDlg::kStatus), L"[1024 570]");
    EXPECT_EQ(list->GetItemText(0), L"[1016 %s]: 570  \u2192  text 800");  // profile 1 is named by text 800

    // The selected rule's profile.
    combo(RulesDlg::kRuleProfile)->PerformSelect(2);
    EXPECT_EQ(Rules(db_), std::vector<std::wstring>{L"3 570 3"});

    // From the running programs; for every other program.
    combo(RulesDlg::kPrograms)->PerformSelect(1);
    click(RulesDlg::kAddProgram);
    combo(RulesDlg::kOther)->PerformSelect(2);
    EXPECT_EQ(Rules(db_), (std::vector<std::wstring>{L"3 570 3", L"1 racer 1", L"0  2"}));
    EXPECT_EQ(list->GetItemCount(), 2);
    combo(RulesDlg::kOther)->PerformSelect(0);
    list->PerformSelect(0);
    click(RulesDlg::kRemove);
    EXPECT_EQ(Rules(db_), std::vector<std::wstring>{L"1 racer 1"});

    // This program's own window in front: nothing is added, and it says so.
    click(RulesDlg::kAddInFront);
    source_.Bring(WindowIdentity{0x500001, ::getpid(), "tk410", "tk410"}, false);
    for (int i = 0; i < RulesDlg::kCountdownSeconds; ++i) runtime_.FireTimers();
    EXPECT_EQ(title(RulesDlg::kStatus), L"[1017 %s]");
    EXPECT_EQ(Rules(db_).size(), 1u);
    ran = true;
    click(RulesDlg::kClose);
  });
  window_->OnMessage(ctl::kRulesButton, PLKUI::kNotifyClick, 0);
  EXPECT_TRUE(ran);
  // The rule left is followed.
  EXPECT_TRUE(source_.Started());
}

}  // namespace
}  // namespace tk410::testing
