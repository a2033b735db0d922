#include "ui/rules_dialog.h"

#include <unistd.h>

#include "app/lang_text.h"
#include "base/text.h"
#include "plkui/controls.h"
#include "rules/app_rule.h"
#include "rules/program_identity.h"
#include "rules/rule_for_window.h"
#include "store/config_database.h"
#include "ui/device_main_dlg.h"
#include "ui/profile_follower.h"

namespace tk410 {

namespace {

constexpr uint32_t kPopupStyle = 0x96000000u;
constexpr int kCountdownTickMs = 1000;
constexpr int kTextTitle = 1000;
constexpr int kTextAddInFront = 1003;
constexpr int kTextCountdown = 1004;     // "... %s"
constexpr int kTextAdd = 1005;
constexpr int kTextRemove = 1006;
constexpr int kTextOther = 1007;
constexpr int kTextLeaveProfile = 1008;
constexpr int kTextPrograms = 1009;
constexpr int kTextOwnWindow = 1017;
constexpr int kTextNoWindow = 1018;
constexpr int kTextRuleProfile = 1019;
constexpr int kTextAdded = 1024;         // "%s: added"
constexpr wchar_t kArrow[] = L"  \u2192  ";

int KindTextId(int match_type) {
  switch (match_type) {
    case kMatchExecutable: return 1014;
    case kMatchWindowClass: return 1015;
    case kMatchSteamApp: return 1016;
    default: return 0;
  }
}

}  // namespace

RulesDlg::RulesDlg(DeviceMainDlg& window) : window_(window) {}

RulesDlg::~RulesDlg() { window_.Follower().SetPicking(false); }

std::wstring RulesDlg::Text(int text_id) const { return window_.LangText(text_id); }

int RulesDlg::RunModal() {
  if (!Create(&window_, L"RulesDlg", kPopupStyle, 0, PLKUI::MRect{0, 0, kWidth, kHeight})) return 2;
  CenterWindow();
  const int result = ShowModal(1);
  SetMTimer(0);
  window_.Follower().SetPicking(false);
  return result;
}

void RulesDlg::InitUI() {
  const PLKUI::MRect none{};
  if (auto* area = dynamic_cast<PLKUI::CArea*>(CreateArea(L"CArea", kTitleArea, none, L"")))
    area->SetTransparent(true);
  if (auto* title = dynamic_cast<PLKUI::MControlFont*>(CreateArea(L"MText", kTitle, none, Text(kTextTitle)))) {
    title->SetAlignment(PLKUI::kAlignCenter | PLKUI::kAlignVCenter);
    title->SetFontWidth(18);
  }
  if (auto* close = CreateControl(L"CImageButton", kClose, none, L"")) {
    close->SetImage(L"sysbtn_close.png");
    close->SetTooltip(Text(5));
  }
  CreateArea(L"MText", kStatus, none, L"");
  CreateControl(L"MacroList", kRuleList, none, L"");
  CreateArea(L"MText", kRuleProfileLabel, none, Text(kTextRuleProfile));
  if (auto* combo = CreateControl(L"MComboBox", kRuleProfile, none, L"")) combo->SetImage(L"img_combobox.png");
  if (auto* button = CreateControl(L"MButton", kRemove, none, Text(kTextRemove))) button->SetImage(L"img_button.png");
  if (auto* button = CreateControl(L"MButton", kAddInFront, none, Text(kTextAddInFront)))
    button->SetImage(L"img_button.png");
  CreateArea(L"MText", kProgramsLabel, none, Text(kTextPrograms));
  if (auto* combo = CreateControl(L"MComboBox", kPrograms, none, L"")) combo->SetImage(L"img_combobox.png");
  if (auto* button = CreateControl(L"MButton", kAddProgram, none, Text(kTextAdd))) button->SetImage(L"img_button.png");
  CreateArea(L"MText", kOtherLabel, none, Text(kTextOther));
  if (auto* combo = CreateControl(L"MComboBox", kOther, none, L"")) combo->SetImage(L"img_combobox.png");
}

void RulesDlg::UISize(const PLKUI::MRect& client) {
  const int w = client.Width();
  auto place = [this](int id, const PLKUI::MRect& r) {
    if (auto* c = GetControl(id)) c->SetRect(r);
  };
  place(kTitleArea, {1, 1, w - 1, 41});
  place(kTitle, {40, 5, w - 40, 35});
  place(kClose, {w - 40, 10, w - 20, 30});
  place(kStatus, {30, 48, w - 30, 76});
  place(kRuleList, {30, 80, w - 30, 250});
  place(kRuleProfileLabel, {30, 262, 250, 292});
  place(kRuleProfile, {250, 258, w - 150, 294});
  place(kRemove, {w - 140, 258, w - 30, 294});
  place(kAddInFront, {30, 316, w - 30, 354});
  place(kProgramsLabel, {30, 372, 250, 402});
  place(kPrograms, {30, 402, w - 150, 438});
  place(kAddProgram, {w - 140, 402, w - 30, 438});
  place(kOtherLabel, {30, 452, 250, 488});
  place(kOther, {250, 452, w - 30, 488});
}

intptr_t RulesDlg::OnInitDialog() {
  MDialog::OnInitDialog();
  FillProfiles();
  FillRules(0);
  FillPrograms();
  if (const int why = window_.Follower().UnavailableTextId()) SetStatus(Text(why));
  return 1;
}

std::wstring RulesDlg::ProfileName(int profile) const {
  RecordList<ProfileRecord> profiles;
  window_.Db().LoadProfiles(profiles);
  for (const auto& p : profiles) {
    // As the profile list names them: the text of the number they store.
    if (p->profile == profile) return Text(WToI(p->name));
  }
  return FormatInt(profile);
}

std::wstring RulesDlg::RuleText(const AppRuleRecord& rule) const {
  return Text(KindTextId(rule.match_type)) + L": " + rule.match_text + kArrow + ProfileName(rule.profile);
}

void RulesDlg::FillProfiles() {
  RecordList<ProfileRecord> profiles;
  window_.Db().LoadProfiles(profiles);
  auto* rule_profile = GetControlAs<PLKUI::MComboBox>(kRuleProfile);
  auto* other = GetControlAs<PLKUI::MComboBox>(kOther);
  if (rule_profile) rule_profile->DelAllItems();
  if (other) {
    other->DelAllItems();
    other->AddItem(Text(kTextLeaveProfile), 0);
  }
  for (const auto& p : profiles) {
    if (rule_profile) rule_profile->AddItem(Text(WToI(p->name)), p->profile);
    if (other) other->AddItem(Text(WToI(p->name)), p->profile);
  }
}

void RulesDlg::FillRules(int select_id) {
  RecordList<AppRuleRecord> rules;
  window_.Db().LoadAppRules(rules);
  auto* list = GetControlAs<PLKUI::MacroList>(kRuleList);
  auto* other = GetControlAs<PLKUI::MComboBox>(kOther);
  if (other) other->SelectData(0);
  if (!list) return;
  list->DeleteAllItems();
  for (const auto& rule : rules) {
    if (rule->match_type == kMatchOtherPrograms) {
      if (other) other->SelectData(rule->profile);
      continue;
    }
    const int at = list->AddString(RuleText(*rule), rule->rule_id);
    if (rule->rule_id == select_id || (select_id == 0 && at == 0)) list->SetCurSel(at);
  }
  ShowSelectedRule();
}

void RulesDlg::FillPrograms() {
  auto* programs = GetControlAs<PLKUI::MComboBox>(kPrograms);
  if (!programs) return;
  programs->DelAllItems();
  int n = 0;
  for (const RunningProgram& program : ListRunningPrograms(window_.Follower().ProcRoot(), ::getuid(), ::getpid()))
    programs->AddItem(FromUtf8(program.name), n++);
  if (programs->GetItemCount() > 0) programs->SetCurSel(0);
}

int RulesDlg::SelectedRule() const {
  auto* list = GetControlAs<PLKUI::MacroList>(kRuleList);
  return list && list->GetCurSel() >= 0 ? list->GetItemData(list->GetCurSel()) : 0;
}

void RulesDlg::ShowSelectedRule() {
  const int id = SelectedRule();
  RecordList<AppRuleRecord> rules;
  window_.Db().LoadAppRules(rules);
  auto* combo = GetControlAs<PLKUI::MComboBox>(kRuleProfile);
  for (const auto& rule : rules) {
    if (rule->rule_id == id && combo) combo->SelectData(rule->profile);
  }
  for (int control : {kRuleProfile, kRemove}) {
    if (auto* c = GetControl(control)) c->SetEnabled(id != 0);
  }
}

void RulesDlg::SetStatus(const std::wstring& text) {
  if (auto* status = GetControlAs<PLKUI::MControlFont>(kStatus)) status->SetTitle(text);
}

void RulesDlg::RulesChanged() { window_.Follower().RulesChanged(); }

void RulesDlg::AddRule(AppRuleRecord rule) {
  if (!MatchTextProblem(rule.match_type, rule.match_text).empty()) return;
  rule.profile = window_.current_profile.load();
  const int id = window_.Db().AddAppRule(rule);
  if (id == 0) return;
  FillRules(id);
  SetStatus(FillLangText(Text(kTextAdded), rule.match_text));
  RulesChanged();
}

void RulesDlg::StartCountdown() {
  seconds_left_ = kCountdownSeconds;
  window_.Follower().SetPicking(true);
  if (const int why = window_.Follower().UnavailableTextId()) {
    seconds_left_ = 0;
    window_.Follower().SetPicking(false);
    SetStatus(Text(why));
    return;
  }
  if (auto* button = GetControlAs<PLKUI::MControlFont>(kAddInFront)) {
    button->SetTitle(FillLangText(Text(kTextCountdown), FormatInt(seconds_left_)));
    button->SetEnabled(false);
  }
  SetMTimer(kCountdownTickMs);
}

intptr_t RulesDlg::OnTimer(int id) {
  if (seconds_left_ <= 0) return 0;
  --seconds_left_;
  auto* button = GetControlAs<PLKUI::MControlFont>(kAddInFront);
  if (seconds_left_ > 0) {
    if (button) button->SetTitle(FillLangText(Text(kTextCountdown), FormatInt(seconds_left_)));
    return 0;
  }
  SetMTimer(0);
  if (button) {
    button->SetTitle(Text(kTextAddInFront));
    button->SetEnabled(true);
  }
  PickWindowInFront();
  window_.Follower().SetPicking(false);
  return 0;
}

void RulesDlg::PickWindowInFront() {
  const std::optional<WindowIdentity> window = window_.Follower().WindowInFront();
  if (!window || window->window == 0) {
    SetStatus(Text(kTextNoWindow));
    return;
  }
  if (window->pid == ::getpid()) {
    SetStatus(Text(kTextOwnWindow));
    return;
  }
  const AppRuleRecord rule = RuleForWindow(*window, ReadProgramIdentity(window_.Follower().ProcRoot(), window->pid));
  if (rule.match_type < 0) {
    SetStatus(Text(kTextNoWindow));
    return;
  }
  AddRule(rule);
}

intptr_t RulesDlg::OnMessage(int id, int code, intptr_t param) {
  if (code != PLKUI::kNotifyClick) return 0;
  switch (id) {
    case kClose:
      DoCancel();
      break;
    case kRuleList:
      ShowSelectedRule();
      break;
    case kRuleProfile:
      if (auto* combo = GetControlAs<PLKUI::MComboBox>(kRuleProfile)) {
        const int rule = SelectedRule();
        if (rule != 0 && window_.Db().SetAppRuleProfile(rule, combo->GetCurData())) {
          FillRules(rule);
          RulesChanged();
        }
      }
      break;
    case kRemove:
      if (const int rule = SelectedRule(); rule != 0 && window_.Db().DeleteAppRule(rule)) {
        FillRules(0);
        RulesChanged();
      }
      break;
    case kAddInFront:
      if (seconds_left_ == 0) StartCountdown();
      break;
    case kAddProgram:
      if (auto* programs = GetControlAs<PLKUI::MComboBox>(kPrograms); programs && programs->GetCurSel() >= 0) {
        AppRuleRecord rule;
        rule.match_type = kMatchExecutable;
        rule.match_text = programs->GetCurText();
        AddRule(rule);
      }
      break;
    case kOther:
      if (auto* other = GetControlAs<PLKUI::MComboBox>(kOther)) {
        const int profile = other->GetCurData();
        if (profile == 0) {
          RecordList<AppRuleRecord> rules;
          window_.Db().LoadAppRules(rules);
          for (const auto& rule : rules) {
            if (rule->match_type == kMatchOtherPrograms) window_.Db().DeleteAppRule(rule->rule_id);
          }
        } else {
          AppRuleRecord rule;
          rule.match_type = kMatchOtherPrograms;
          rule.profile = profile;
          window_.Db().AddAppRule(rule);
        }
        RulesChanged();
      }
      break;
    default:
      break;
  }
  return 0;
}

void ShowRulesDialog(DeviceMainDlg& window) {
  RulesDlg dialog(window);
  dialog.RunModal();
}

}  // namespace tk410
