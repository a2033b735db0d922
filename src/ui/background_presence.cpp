#include "ui/background_presence.h"

#include "app/lang_text.h"
#include "base/text.h"
#include "device/product.h"
#include "plkui/controls.h"
#include "ui/device_main_dlg.h"
#include "ui/profile_follower.h"

namespace tk410 {

namespace {

constexpr int kTextBattery = 1022;  // "Battery %s%"
constexpr int kBatteryCharging = 1;

}  // namespace

PresenceState CurrentPresenceState(DeviceMainDlg& w) {
  PresenceState state;
  state.shown = w.Follower().RulesActive();
  state.current_profile = w.current_profile.load();
  std::wstring profile_name;
  if (auto* combo = w.Control<PLKUI::MComboBox>(ctl::kProfileCombo)) {
    for (const auto& item : combo->GetItems()) {
      state.profiles.push_back({item.data, item.text});
      if (item.data == state.current_profile) profile_name = item.text;
    }
  }
  if (w.online.load()) {
    if (auto* battery = w.Control<PLKUI::BatteryCtrl>(ctl::kBattery)) {
      state.battery = battery->GetBatteryLevel();
      state.charging = battery->GetBatteryState() == kBatteryCharging;
    }
  }
  state.title = kProductName;
  if (!profile_name.empty()) state.title += L"\n" + profile_name;
  if (state.battery >= 0) state.title += L"\n" + FillLangText(w.LangText(kTextBattery), FormatInt(state.battery));
  return state;
}

void UpdatePresence(DeviceMainDlg& w) {
  if (BackgroundPresence* presence = w.Services().presence) presence->Update(CurrentPresenceState(w));
}

bool CloseToBackground(DeviceMainDlg& w) {
  if (!w.Follower().RulesActive()) return false;
  BackgroundPresence* presence = w.Services().presence;
  if (presence && presence->Available()) {
    w.ShowWindow(0);
  } else {
    w.OnMinimize();
  }
  return true;
}

}  // namespace tk410
