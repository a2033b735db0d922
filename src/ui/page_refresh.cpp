// Page refresh operations of the main window, run on the window thread and
// by the sync worker after device reads and profile changes.

#include "app/lang_text.h"
#include "assign/button_function.h"
#include "assign/function_text.h"
#include "base/text.h"
#include "device/device_manager.h"
#include "plkui/controls.h"
#include "store/config_database.h"
#include "ui/background_presence.h"
#include "ui/device_main_dlg.h"
#include "ui/macro_page.h"
#include "ui/system_settings_page.h"
#include "ui/macro_page_builder.h"
#include "ui/performance_values.h"

namespace tk410 {

void DeviceMainDlg::RefreshProfileList() {
  ConfigDatabase& db = Db();
  RecordList<ProfileRecord> profiles;
  if (db.LoadProfiles(profiles) < 1) db.EnsureDefaultProfiles();

  auto* combo = Control<PLKUI::MComboBox>(ctl::kProfileCombo);
  if (combo) combo->DelAllItems();
  db.LoadProfiles(profiles);
  for (const auto& p : profiles) {
    // Default profiles store the number of their language text as their name.
    if (combo) combo->AddItem(LangText(WToI(p->name)), p->profile);
  }

  int active = db.GetActiveProfile();
  if (active < 1) {
    db.SetActiveProfile(1);
    active = db.GetActiveProfile();
  }
  current_profile.store(active);
  if (combo) combo->SelectData(active);
  UpdatePresence(*this);
}

namespace {

// What the connection picture shows with each caption the window sets.
int ConnectionStateOfText(int text_id) {
  switch (text_id) {
    case 51:  // connected by cable
    case 52:  // receiver with the mouse linked
      return PLKUI::CDeviceState::kConnected;
    case 54:   // Bluetooth: present, no settings
    case 902:  // present, access denied
      return PLKUI::CDeviceState::kAttention;
    default:  // no mouse, a receiver without its mouse
      return PLKUI::CDeviceState::kNone;
  }
}

}  // namespace

void DeviceMainDlg::SetConnectionText(int text_id) {
  if (auto* state = Control<PLKUI::CDeviceState>(ctl::kDeviceState)) {
    state->SetTitle(LangText(text_id));
    state->SetState(ConnectionStateOfText(text_id));
  }
}

void DeviceMainDlg::SetBattery(int level, int state) {
  if (auto* battery = Control<PLKUI::BatteryCtrl>(ctl::kBattery)) battery->SetBatteryInfo(level, state);
  UpdatePresence(*this);
}

// ---------------------------------------------------------------- buttons page

namespace {

// The left-button lock of the current profile: its switch shows it, and the
// left button's combo can be used while it is off.
void ShowLeftLock(DeviceMainDlg& w) {
  std::wstring lock;
  w.Db().GetConfigValue(w.current_profile.load(), L"leftbtn_lock", lock);
  const bool locked = lock == L"1";
  if (auto* sw = w.Control<PLKUI::MCheckControl>(ctl::kLeftLock)) sw->SetCheck(locked ? 1 : 0);
  if (auto* left = w.GetControl(ctl::KeyComboId(1))) left->SetEnabled(!locked);
}

}  // namespace

void DeviceMainDlg::FillFunctionLists() {
  // Disabled while the lists are rebuilt; the lock decides afterwards.
  if (auto* left = Control<PLKUI::MComboBox>(ctl::KeyComboId(1))) left->SetEnabled(false);
  for (int key_code = 1; key_code <= 11; ++key_code)
    if (auto* combo = Control<PLKUI::MComboBox>(ctl::KeyComboId(key_code))) combo->DelAllItems();
  for (const ButtonInfo& button : PageButtons()) {
    auto* combo = Control<PLKUI::MComboBox>(ctl::KeyComboId(button.key_code));
    if (!combo) continue;
    const bool takes_all = button.key_code == 1 || button.key_code == 10;
    for (const FunctionListItem& item : FunctionList())
      if (takes_all || !item.only_buttons_1_and_10) combo->AddItem(LangText(item.text_id), item.kind);
    combo->SetCurSel(button.default_combo_index);
  }
  ShowLeftLock(*this);
}

void DeviceMainDlg::RefreshKeyPage() {
  auto* mouse = Control<PLKUI::MouseCtrl>(ctl::kMouseCtrl);
  for (const ButtonInfo& button : PageButtons()) {
    if (mouse) mouse->SetItemText(button.mouse_item, LangText(button.default_text_id));
    if (auto* combo = Control<PLKUI::MComboBox>(ctl::KeyComboId(button.key_code)))
      combo->SetCurSel(button.default_combo_index);
  }

  RecordList<KeyMacroRecord> rows;
  Db().LoadKeyRecords(current_profile.load(), 0, rows);
  for (const auto& row : rows) {
    const ButtonInfo* button = FindPageButton(row->key_code);
    if (!button) continue;
    std::wstring text = row->macro_desc;
    // Stored TextIds (any leading number of a non-keyboard text) show in the current language.
    if (row->macro_type != kKindKeyboard) {
      std::wstring translated = LangText(WToI(text));
      if (!translated.empty()) text = translated;
    }
    if (auto* combo = Control<PLKUI::MComboBox>(ctl::KeyComboId(row->key_code))) {
      combo->SelectData(row->macro_type);
      combo->SetTitle(text);
    }
    if (mouse) mouse->SetItemText(button->mouse_item, text);
  }
}

// ---------------------------------------------------------------- macro page

namespace {

void CheckRadio(DeviceMainDlg& w, int id) {
  if (auto* radio = w.Control<PLKUI::MCheckControl>(id)) radio->SetCheck(1);
}

}  // namespace

void ShowMacro(DeviceMainDlg& w, int macro_id) {
  ShowStepEditor(w, false, false);
  auto* delay = w.Control<PLKUI::MEdit>(ctl::kDelayEdit);
  auto* repeat = w.Control<PLKUI::MEdit>(ctl::kRepeatEdit);
  if (delay) delay->SetEnabled(false);
  if (repeat) repeat->SetEnabled(false);
  MacroRecord macro;
  w.Db().GetMacro(macro_id, macro);
  switch (macro.delay_type) {
    case 0: CheckRadio(w, ctl::kDelayNone); break;
    case 1: CheckRadio(w, ctl::kDelayRecorded); break;
    case 2:
      CheckRadio(w, ctl::kDelayFixed);
      if (delay) {
        delay->SetEnabled(true);
        delay->SetEditText(FormatInt(macro.delay_time));
      }
      break;
    default: break;
  }
  switch (macro.play_type) {
    case 1: CheckRadio(w, ctl::kPlayMode1); break;
    case 2: CheckRadio(w, ctl::kPlayMode2); break;
    case 0:
      CheckRadio(w, ctl::kPlayRepeat);
      if (repeat) {
        repeat->SetEnabled(true);
        repeat->SetEditText(FormatInt(macro.play_times));
      }
      break;
    default: break;
  }
  auto* steps = w.Control<PLKUI::CRecordList>(ctl::kStepList);
  if (!steps) return;
  steps->DeleteAllItems();
  RecordList<MacroEvent> events;
  w.Db().LoadMacroEvents(macro_id, events);
  for (const auto& e : events) steps->AddString(e->desc, e->type, e->value, e->delay_time);
}

void DeviceMainDlg::ShowMacroPage() {
  // While a recording runs the lists hold steps not yet saved; the refresh
  // waits until the recording stops.
  bool deferred = false;
  auto hold = MacroEditor().HoldRefresh(deferred);
  if (deferred) return;
  auto* list = Control<PLKUI::MacroList>(ctl::kMacroList);
  if (auto* steps = Control<PLKUI::CRecordList>(ctl::kStepList)) steps->DeleteAllItems();
  if (!list) return;
  list->DeleteAllItems();
  RecordList<MacroRecord> macros;
  Db().LoadMacros(macros);
  for (const auto& m : macros)
    list->AddString(services_.texts ? TranslateMacroName(m->name, *services_.texts) : m->name, m->macro_id);
  if (list->GetItemCount() > 0) {
    list->SetCurSel(0);
    ShowMacro(*this, list->GetItemData(0));
  }
}

// ---------------------------------------------------------------- DPI and performance page

namespace {

std::wstring ConfigText(DeviceMainDlg& w, const std::wstring& key) {
  std::wstring value;
  w.Db().GetConfigValue(w.current_profile.load(), key, value);
  return value;
}

void SetCheck(DeviceMainDlg& w, int id, bool checked) {
  if (auto* c = w.Control<PLKUI::MCheckControl>(id)) c->SetCheck(checked ? 1 : 0);
}

// Shows the rate buttons first..last and `also`; every shown one can be
// chosen except `stored_only`.
void ShowRates(DeviceMainDlg& w, int first, int last, int also = 0, int stored_only = 0) {
  for (int id = ctl::kFirstRate; id <= ctl::kLastRate; ++id) {
    auto* rate = w.GetControl(id);
    if (!rate) continue;
    rate->SetVisible((id >= first && id <= last) || id == also);
    rate->SetEnabled(id != stored_only);
  }
}

void LoadReportRate(DeviceMainDlg& w) {
  const bool nordic = w.IsNordicFamily();
  const int highest = w.highest_rate_index.load();
  const int index = ReportRateIndex(ConfigText(w, L"report_rate"), nordic, highest);
  const int stored = ctl::kFirstRate + index;
  SetCheck(w, stored, true);
  if (highest > 3) {
    ShowRates(w, ctl::kFirstRate, ctl::kFirstRate + 5);
  } else if (!nordic && w.Devices().ActiveMode() == 0) {
    // A cable is offered 1000 Hz only. Another stored rate is what the next
    // write gives the mouse, so it stays in view, checked, but cannot be
    // chosen again.
    const int kept = stored == ctl::kRate1000 ? 0 : stored;
    ShowRates(w, ctl::kRate1000, ctl::kRate1000, kept, kept);
  } else {
    ShowRates(w, ctl::kFirstRate, ctl::kRate1000);
  }
  if (nordic) {
    // No game mode at 2000 Hz and above; the radios come back below that.
    const bool fast = index >= 4;
    if (fast) SetCheck(w, ctl::kGameOn, false);
    for (int id : {ctl::kGameOn, ctl::kGameOff})
      if (auto* radio = w.GetControl(id)) radio->SetEnabled(!fast);
  }
  w.ArrangeRateButtons();
}

}  // namespace

void DeviceMainDlg::LoadPerformancePage() {
  auto* light = Control<PLKUI::MComboBox>(ctl::kLightCombo);
  const int light_mode = WToI(ConfigText(*this, L"light_mode"));
  current_light_mode.store(light_mode);
  if (light) light->SelectData(light_mode);
  if (auto* response = Control<PLKUI::NumberEdit>(ctl::kResponseTime))
    response->SetEditText(ConfigText(*this, L"button_respondtime"));

  for (const RadioPairSetting& pair : kRadioPairSettings)
    SetCheck(*this, ConfigText(*this, pair.key) == pair.when_checked ? pair.checked_id : pair.other_id, true);
  LoadReportRate(*this);

  for (int n = 0; n < kDpiStageCount; ++n) {
    auto* stage = Control<PLKUI::DPIControl>(ctl::kFirstDpiStage + n);
    if (!stage) continue;
    stage->SetDPIValue(WToI(ConfigText(*this, FormatW(L"dpi_group%d_value", n))));
    stage->SetColor(static_cast<uint32_t>(WToI(ConfigText(*this, FormatW(L"dpi_group%d_rgb", n)))));
  }
  int selected = WToI(ConfigText(*this, L"dpi_index"));
  if (selected < 0 || selected >= kDpiStageCount) selected = 0;
  current_dpi_control.store(ctl::kFirstDpiStage + selected);
  if (auto* stage = Control<PLKUI::DPIControl>(ctl::kFirstDpiStage + selected)) {
    stage->SetCheck(1);
    if (auto* slider = Control<PLKUI::DPISlider>(ctl::kDpiSlider)) slider->SetProgress(stage->GetDPIValue() / 100);
  }

  const int sensor = WToI(ConfigText(*this, L"sensor_flag"));
  SetCheck(*this, ctl::kSensor4, (sensor & 4) != 0);
  SetCheck(*this, ctl::kSensor8, (sensor & 8) != 0);
  SetCheck(*this, ctl::kSensor16, (sensor & 16) != 0);
  ShowLeftLock(*this);
  if (auto* sleep = Control<PLKUI::MComboBox>(ctl::kSleepCombo))
    sleep->SelectData(WToI(ConfigText(*this, L"sleep_light")));
}

// The desktop's pointer values back to the session defaults (sync worker).
void DeviceMainDlg::RestorePointerDefaults() { RestoreSystemPointerDefaults(*this); }

}  // namespace tk410
