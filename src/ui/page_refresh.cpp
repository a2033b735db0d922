// Page refresh operations of the main window, run on the window thread and
// by the sync worker after device reads and profile changes.

#include "app/lang_text.h"
#include "base/text.h"
#include "store/config_database.h"
#include "ui/device_main_dlg.h"

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
}

void DeviceMainDlg::SetConnectionText(int text_id) {
  if (auto* state = Control<PLKUI::MControlFont>(ctl::kDeviceState)) state->SetTitle(LangText(text_id));
}

void DeviceMainDlg::SetBattery(int level, int state) {
  if (auto* battery = Control<PLKUI::BatteryCtrl>(ctl::kBattery)) battery->SetBatteryInfo(level, state);
}

// The following are completed with the pages that own the controls.
void DeviceMainDlg::FillFunctionLists() {}
void DeviceMainDlg::RefreshKeyPage() {}
void DeviceMainDlg::ShowMacroPage() {}
void DeviceMainDlg::LoadPerformancePage() {}
void DeviceMainDlg::RestorePointerDefaults() {}

}  // namespace tk410
