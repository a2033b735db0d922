#pragma once
// RulesDlg: the dialog of "profiles for programs", opened from the settings
// page. It lists the rules (program and profile), sets the profile of the
// selected rule, removes it, adds the program that is in front three
// seconds after its button is pressed (time to bring the game forward) or
// one chosen from the running programs, and sets the profile for every other
// program (or none: the profile stays). Every change is stored at once and
// the window's follower hears of it.

#include <string>

#include "plkui/dialog.h"

namespace tk410 {

class DeviceMainDlg;
struct AppRuleRecord;

class RulesDlg : public PLKUI::MDialog {
 public:
  enum : int {
    kTitleArea = 30,
    kTitle = 31,
    kClose = 32,
    kStatus = 33,        // why the window in front is unknown, or what the last pick did
    kRuleList = 34,      // MacroList: item text the rule, item data its rule_id
    kRuleProfileLabel = 35,
    kRuleProfile = 36,   // MComboBox: the selected rule's profile
    kRemove = 37,
    kAddInFront = 38,    // starts the countdown; shows the seconds left
    kProgramsLabel = 39,
    kPrograms = 40,      // MComboBox: running programs
    kAddProgram = 41,
    kOtherLabel = 42,
    kOther = 43,         // MComboBox: data 0 leave the profile, else the profile
  };
  static constexpr int kWidth = 560;
  static constexpr int kHeight = 500;
  static constexpr int kCountdownSeconds = 3;

  explicit RulesDlg(DeviceMainDlg& window);
  ~RulesDlg() override;

  // Creates the dialog centred over the window and runs it modally.
  int RunModal();

  void InitUI() override;
  void UISize(const PLKUI::MRect& client) override;
  intptr_t OnInitDialog() override;
  intptr_t OnMessage(int id, int code, intptr_t param) override;
  intptr_t OnTimer(int id) override;

  int SecondsLeft() const { return seconds_left_; }

 private:
  std::wstring Text(int text_id) const;
  std::wstring ProfileName(int profile) const;
  std::wstring RuleText(const AppRuleRecord& rule) const;
  void FillProfiles();
  // Refills the list and selects the rule `select_id` (0: the first).
  void FillRules(int select_id);
  void FillPrograms();
  void ShowSelectedRule();
  int SelectedRule() const;
  // Stores `rule` for the window's current profile and selects it.
  void AddRule(AppRuleRecord rule);
  void StartCountdown();
  void PickWindowInFront();
  void SetStatus(const std::wstring& text);
  void RulesChanged();

  DeviceMainDlg& window_;
  int seconds_left_ = 0;
};

// Opens the dialog over the main window (the settings page's button).
void ShowRulesDialog(DeviceMainDlg& window);

}  // namespace tk410
