#include "ui/system_settings_page.h"

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <unistd.h>

#include "app/autostart.h"
#include "app/language_files.h"
#include "base/text.h"
#include "device/device_manager.h"
#include "platform/mouse_panel.h"
#include "platform/pointer_settings.h"
#include "plkui/manager.h"
#include "store/config_database.h"
#include "ui/device_main_dlg.h"
#include "ui/message_box.h"

namespace tk410 {

namespace {

constexpr int kSlowestDoubleClickMs = 900;
constexpr int kDoubleClickStepMs = 70;
constexpr int kDoubleClickPositions = 11;
constexpr int kMaxWheelLines = 20;
constexpr int kLockTitle = 676;
constexpr int kNoDeviceText = 57;
constexpr int kBluetoothText = 56;
constexpr int kUnlockQuestion = 675;
constexpr int kBluetoothMode = 2;
// "...: the desktop has no such setting; TK410 keeps this value itself."
constexpr int kKeptOnlyText = 908;

// The pointer values in page order with the text that names each.
struct NamedValue {
  PointerValue value;
  int name_text;
};
constexpr NamedValue kNamedValues[] = {{PointerValue::kSpeed, 980},
                                       {PointerValue::kAcceleration, 634},
                                       {PointerValue::kWheelLines, 635},
                                       {PointerValue::kDoubleClick, 638}};

void SetLabel(DeviceMainDlg& w, int id, int value) {
  if (auto* label = w.Control<PLKUI::MControlFont>(id)) label->SetTitle(FormatInt(value));
}

void SetProgress(DeviceMainDlg& w, int id, int position) {
  if (auto* slider = w.Control<PLKUI::MSlider>(id)) slider->SetProgress(position);
}

void SetChecked(DeviceMainDlg& w, int id, bool checked) {
  if (auto* control = w.Control<PLKUI::MCheckControl>(id)) control->SetCheck(checked ? 1 : 0);
}

bool IsChecked(DeviceMainDlg& w, int id) {
  auto* control = w.Control<PLKUI::MCheckControl>(id);
  return control && control->GetCheck() != 0;
}

// The lines edit and the lines slider: the number shown and whether they
// can be used.
void ShowLines(DeviceMainDlg& w, unsigned lines, bool enabled) {
  if (auto* edit = w.Control<PLKUI::NumberEdit>(ctl::kWheelLines)) {
    edit->SetEditText(FormatInt(lines));
    edit->SetEnabled(enabled);
  }
  if (auto* slider = w.Control<PLKUI::MSlider>(ctl::kWheelLinesSlider)) {
    slider->SetProgress(static_cast<int>(lines));
    slider->SetEnabled(enabled);
  }
}

int ClampLines(int lines) { return std::clamp(lines, 1, kMaxWheelLines); }

// Appends `line` on a line of its own; an empty one adds nothing.
void AddLine(std::wstring& text, const std::wstring& line) {
  if (line.empty()) return;
  if (!text.empty()) text += L'\n';
  text += line;
}

// Page scroll: page-scroll radio on, lines radio off, lines "0" disabled.
void ShowWheel(DeviceMainDlg& w, unsigned lines) {
  const bool page = lines > static_cast<unsigned>(kMaxWheelLines);
  SetChecked(w, page ? ctl::kWheelPage : ctl::kWheelLinesRadio, true);
  SetChecked(w, page ? ctl::kWheelLinesRadio : ctl::kWheelPage, false);
  ShowLines(w, page ? 0 : lines, !page);
}

void SetKeyOneComboEnabled(DeviceMainDlg& w, bool enabled) {
  if (auto* combo = w.GetControl(ctl::KeyComboId(1))) combo->SetEnabled(enabled);
}

std::wstring StoredLeftLock(DeviceMainDlg& w) {
  std::wstring value;
  w.Db().GetConfigValue(w.current_profile.load(), L"leftbtn_lock", value);
  return value;
}

void OnLeftLock(DeviceMainDlg& w) {
  auto* lock = w.Control<PLKUI::CSwitchButton>(ctl::kLeftLock);
  if (!lock) return;
  auto relock = [&] {
    lock->SetCheck(1);
    SetKeyOneComboEnabled(w, false);
  };
  if (!w.online.load()) {
    relock();
    w.ShowMessageBox(kLockTitle, kNoDeviceText, kBoxOneButton);
    return;
  }
  if (w.Devices().ActiveMode() == kBluetoothMode) {
    lock->SetCheck(1);
    w.ShowMessageBox(kLockTitle, kBluetoothText, kBoxOneButton);
    return;
  }
  const bool on = lock->GetCheck() != 0;
  // The remembered state is the one last stored for the profile.
  const bool was_on = StoredLeftLock(w) == L"1";
  if (!on && was_on &&
      w.ShowMessageBox(kLockTitle, kUnlockQuestion, kBoxTwoButtons) == PLKUI::kResultCancel) {
    relock();
    return;
  }
  SetKeyOneComboEnabled(w, !on);
  w.Db().SetConfigValue(w.current_profile.load(), L"leftbtn_lock", on ? L"1" : L"0");
}

void SelectCurrentLanguage(DeviceMainDlg& w) {
  auto* list = w.Control<PLKUI::MComboBox>(ctl::kLanguage);
  const LanguageTexts* texts = w.Services().texts;
  if (list && texts) list->SelectData(texts->CurrentLanguage());
}

void OnLanguage(DeviceMainDlg& w) {
  auto* list = w.Control<PLKUI::MComboBox>(ctl::kLanguage);
  LanguageFileTexts* files = w.Services().language_files;
  if (!list || !files || !w.Services().settings) return;
  const int chosen = list->GetCurData();
  if (chosen == files->CurrentLanguage()) return;
  const LanguageChangeResult result = ChangeLanguage(*files, *w.Services().settings, chosen,
                                                     w.online.load(), w.Devices().ActiveMode());
  if (result.refused) {
    SelectCurrentLanguage(w);
    w.ShowMessageBox(result.title_text, result.message_text, kBoxOneButton);
    return;
  }
  PLKUI::Manager::SetFontName(kInterfaceFontName);
  w.RefreshTexts();
}

void OnAutostart(DeviceMainDlg& w) {
  auto* sw = w.Control<PLKUI::CSwitchButton>(ctl::kAutostart);
  if (!sw || w.Services().config_home.empty()) return;
  const AutostartEntry entry(w.Services().config_home);
  entry.SetAutostart(sw->GetCheck() != 0, OwnProgramPath());
  sw->SetCheck(entry.IsAutostartOn() ? 1 : 0);
}

}  // namespace

int DoubleClickMsOfPosition(int position) {
  if (position < 0 || position >= kDoubleClickPositions) return position;
  return kSlowestDoubleClickMs - kDoubleClickStepMs * position;
}

int DoubleClickPosition(int ms) {
  int nearest = 0;
  for (int p = 1; p < kDoubleClickPositions; ++p)
    if (std::abs(DoubleClickMsOfPosition(p) - ms) < std::abs(DoubleClickMsOfPosition(nearest) - ms)) nearest = p;
  return nearest;
}

std::wstring OwnProgramPath() {
  char buffer[PATH_MAX];
  const ssize_t n = ::readlink("/proc/self/exe", buffer, sizeof(buffer) - 1);
  if (n <= 0) return L"";
  return FromUtf8(std::string(buffer, static_cast<size_t>(n)));
}

bool IsSystemSettingsControl(int id) {
  switch (id) {
    case ctl::kPointerSpeed:
    case ctl::kPointerPrecision:
    case ctl::kWheelLines:
    case ctl::kWheelLinesSlider:
    case ctl::kWheelPage:
    case ctl::kWheelLinesRadio:
    case ctl::kDoubleClick:
    case ctl::kControlPanel:
    case ctl::kLeftLock:
    case ctl::kLanguage:
    case ctl::kAutostart:
      return true;
    default:
      return false;
  }
}

void FillSystemSettings(DeviceMainDlg& w) {
  if (PointerSettings* pointer = w.Services().pointer) {
    const int speed = pointer->GetMouseSpeed();
    SetProgress(w, ctl::kPointerSpeed, speed - 1);
    SetLabel(w, ctl::kPointerSpeedValue, speed);
    SetChecked(w, ctl::kPointerPrecision, pointer->GetAcceleration() == 1);
    ShowWheel(w, pointer->GetWheelScrollLines());
    const int ms = pointer->GetDoubleClickTime();
    SetProgress(w, ctl::kDoubleClick, DoubleClickPosition(ms));
    SetLabel(w, ctl::kDoubleClickValue, ms);
  }
  ShowPointerNote(w);
  if (!w.Services().config_home.empty())
    SetChecked(w, ctl::kAutostart, AutostartEntry(w.Services().config_home).IsAutostartOn());
  SelectCurrentLanguage(w);
}

intptr_t OnSystemSettingsMessage(DeviceMainDlg& w, int id, int code) {
  PointerSettings* pointer = w.Services().pointer;
  switch (id) {
    case ctl::kPointerSpeed: {
      auto* slider = w.Control<PLKUI::MSlider>(id);
      if (!slider) return 0;
      const int speed = slider->GetProgress() + 1;
      SetLabel(w, ctl::kPointerSpeedValue, speed);
      if (code == PLKUI::kNotifyClick && pointer) pointer->SetMouseSpeed(speed);
      return 0;
    }
    case ctl::kPointerPrecision:
      if (code == PLKUI::kNotifyClick && pointer)
        pointer->SetAcceleration(IsChecked(w, ctl::kPointerPrecision) ? 1 : 0);
      return 0;
    case ctl::kWheelPage:
    case ctl::kWheelLinesRadio:
      if (code != PLKUI::kNotifyClick || !pointer) return 0;
      if (IsChecked(w, ctl::kWheelPage)) {
        pointer->SetWheelScrollLines(kWheelPageScroll);
        ShowLines(w, 0, false);
      } else {
        pointer->SetWheelScrollLines(kDefaultWheelLines);
        ShowLines(w, kDefaultWheelLines, true);
      }
      return 0;
    case ctl::kWheelLines: {
      auto* edit = w.Control<PLKUI::NumberEdit>(id);
      if (!edit || (code != PLKUI::kNotifyEditFinished && code != PLKUI::kNotifyClick)) return 0;
      // A finished edit shows the number clamped to 1..20; the spin (2) also applies it.
      const int typed = WToI(edit->GetEditText());
      const int lines = ClampLines(typed);
      if (lines != typed) edit->SetEditText(FormatInt(lines));
      SetProgress(w, ctl::kWheelLinesSlider, lines);
      if (code == PLKUI::kNotifyClick && pointer) pointer->SetWheelScrollLines(static_cast<unsigned>(lines));
      return 0;
    }
    case ctl::kWheelLinesSlider: {
      // Dragging shows the number of lines; letting go applies it.
      auto* slider = w.Control<PLKUI::MSlider>(id);
      if (!slider) return 0;
      const int lines = ClampLines(slider->GetProgress());
      if (auto* edit = w.Control<PLKUI::NumberEdit>(ctl::kWheelLines)) edit->SetEditText(FormatInt(lines));
      if (code == PLKUI::kNotifyClick && pointer) pointer->SetWheelScrollLines(static_cast<unsigned>(lines));
      return 0;
    }
    case ctl::kDoubleClick: {
      auto* slider = w.Control<PLKUI::MSlider>(id);
      if (code != PLKUI::kNotifyClick || !slider) return 0;
      const int ms = DoubleClickMsOfPosition(slider->GetProgress());
      if (pointer) pointer->SetDoubleClickTime(ms);
      SetLabel(w, ctl::kDoubleClickValue, ms);
      return 0;
    }
    case ctl::kControlPanel:
      if (code == PLKUI::kNotifyClick && w.Services().launcher)
        OpenMouseSettingsPanel(*w.Services().launcher);
      return 0;
    case ctl::kLeftLock:
      if (code == PLKUI::kNotifyClick) OnLeftLock(w);
      return 0;
    case ctl::kLanguage:
      if (code == PLKUI::kNotifyClick) OnLanguage(w);
      return 0;
    case ctl::kAutostart:
      if (code == PLKUI::kNotifyClick) OnAutostart(w);
      return 0;
    default:
      return 0;
  }
}

std::wstring PointerHelpText(const DeviceMainDlg& w) {
  std::wstring text;
  for (int id : {639, 640}) AddLine(text, w.LangText(id));
  return text;
}

void ShowPointerNote(DeviceMainDlg& w) {
  auto* note = w.Control<PLKUI::MControlFont>(ctl::kPointerNote);
  if (!note) return;
  std::wstring text;
  if (PointerSettings* pointer = w.Services().pointer) {
    for (const NamedValue& named : kNamedValues) {
      if (!pointer->DesktopUses(named.value))
        AddLine(text, FormatW(L"%ls: %ls", w.LangText(named.name_text).c_str(), w.LangText(kKeptOnlyText).c_str()));
    }
  }
  note->SetTitle(text);
  note->SetVisible(!text.empty());
}

void RestoreSystemPointerDefaults(DeviceMainDlg& w) {
  PointerSettings* pointer = w.Services().pointer;
  if (!pointer) return;
  ConfigDatabase& db = w.Db();
  const int profile = w.current_profile.load();
  const PointerValues defaults = pointer->Defaults();
  if (pointer->GetMouseSpeed() != defaults.speed) {
    SetProgress(w, ctl::kPointerSpeed, defaults.speed - 1);
    SetLabel(w, ctl::kPointerSpeedValue, defaults.speed);
    pointer->SetMouseSpeed(defaults.speed);
    db.SetConfigValue(profile, L"mouse_speed", FormatInt(defaults.speed));
  }
  if (pointer->GetAcceleration() != defaults.acceleration) {
    pointer->SetAcceleration(defaults.acceleration);
    SetChecked(w, ctl::kPointerPrecision, defaults.acceleration == 1);
    db.SetConfigValue(profile, L"mouse_sensitivity", FormatInt(defaults.acceleration));
  }
  if (pointer->GetWheelScrollLines() != defaults.wheel_lines) {
    pointer->SetWheelScrollLines(defaults.wheel_lines);
    ShowWheel(w, defaults.wheel_lines);
    const bool page = defaults.wheel_lines == kWheelPageScroll;
    db.SetConfigValue(profile, L"wheel_scrollflag", page ? L"0" : L"1");
    db.SetConfigValue(profile, L"wheel_scrolllines", page ? L"0" : FormatInt(defaults.wheel_lines));
  }
  if (pointer->GetDoubleClickTime() != defaults.double_click_ms) {
    SetProgress(w, ctl::kDoubleClick, DoubleClickPosition(defaults.double_click_ms));
    pointer->SetDoubleClickTime(defaults.double_click_ms);
    SetLabel(w, ctl::kDoubleClickValue, defaults.double_click_ms);
    db.SetConfigValue(profile, L"doubleclick_time", FormatInt(defaults.double_click_ms));
  }
}

}  // namespace tk410

namespace tk410 {

intptr_t DeviceMainDlg::OnNcActivate(bool active) {
  if (active && current_page.load() == 6) FillSystemSettings(*this);
  return 0;
}

}  // namespace tk410
