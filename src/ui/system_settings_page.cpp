#include "ui/system_settings_page.h"

#include <climits>
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

// The lines edit: the number shown and whether it can be edited.
void ShowLines(DeviceMainDlg& w, unsigned lines, bool enabled) {
  if (auto* edit = w.Control<PLKUI::NumberEdit>(ctl::kWheelLines)) {
    edit->SetEditText(FormatInt(lines));
    edit->SetEnabled(enabled);
  }
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
  for (int p = 0; p < kDoubleClickPositions; ++p)
    if (DoubleClickMsOfPosition(p) == ms) return p;
  return 0;
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
  FillPointerValues(w);
  FillProgramSettings(w);
}

void FillPointerValues(DeviceMainDlg& w) {
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
}

void FillProgramSettings(DeviceMainDlg& w) {
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
      if (!edit) return 0;
      if (code == PLKUI::kNotifyEditFinished) {
        const int typed = WToI(edit->GetEditText());
        const int lines = typed < 1 ? 1 : (typed > kMaxWheelLines ? kMaxWheelLines : typed);
        if (lines != typed) edit->SetEditText(FormatInt(lines));
      } else if (code == PLKUI::kNotifyClick && pointer) {
        const int lines = WToI(edit->GetEditText());
        if (lines >= 1 && lines <= kMaxWheelLines) pointer->SetWheelScrollLines(static_cast<unsigned>(lines));
      }
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

void RestoreSystemPointerDefaults(DeviceMainDlg& w) {
  PointerSettings* pointer = w.Services().pointer;
  if (!pointer) return;
  ConfigDatabase& db = w.Db();
  const int profile = w.current_profile.load();
  if (pointer->GetMouseSpeed() != kDefaultPointerSpeed) {
    SetProgress(w, ctl::kPointerSpeed, kDefaultPointerSpeed - 1);
    SetLabel(w, ctl::kPointerSpeedValue, kDefaultPointerSpeed);
    pointer->SetMouseSpeed(kDefaultPointerSpeed);
    db.SetConfigValue(profile, L"mouse_speed", FormatInt(kDefaultPointerSpeed));
  }
  if (pointer->GetAcceleration() != kDefaultAcceleration) {
    pointer->SetAcceleration(kDefaultAcceleration);
    SetChecked(w, ctl::kPointerPrecision, true);
    db.SetConfigValue(profile, L"mouse_sensitivity", L"1");
  }
  if (pointer->GetWheelScrollLines() != kDefaultWheelLines) {
    pointer->SetWheelScrollLines(kDefaultWheelLines);
    ShowWheel(w, kDefaultWheelLines);
    db.SetConfigValue(profile, L"wheel_scrollflag", L"1");
    db.SetConfigValue(profile, L"wheel_scrolllines", FormatInt(kDefaultWheelLines));
  }
  if (pointer->GetDoubleClickTime() != kDefaultDoubleClickMs) {
    SetProgress(w, ctl::kDoubleClick, DoubleClickPosition(kDefaultDoubleClickMs));
    pointer->SetDoubleClickTime(kDefaultDoubleClickMs);
    SetLabel(w, ctl::kDoubleClickValue, kDefaultDoubleClickMs);
    db.SetConfigValue(profile, L"doubleclick_time", FormatInt(kDefaultDoubleClickMs));
  }
}

}  // namespace tk410

namespace tk410 {

intptr_t DeviceMainDlg::OnNcActivate(bool active) {
  if (active && current_page.load() == 6) FillSystemSettings(*this);
  return 0;
}

}  // namespace tk410
