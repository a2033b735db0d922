// Profile operations of the main window: selection, restoring a profile's
// defaults and resetting all data of the device type.

#include "device/device_manager.h"
#include "plkui/controls.h"
#include "store/config_database.h"
#include "sync/sync_task.h"
#include "ui/device_main_dlg.h"
#include "ui/message_box.h"
#include "ui/page_handlers.h"

namespace tk410 {

void SelectProfile(DeviceMainDlg& w, int profile) {
  w.current_profile.store(profile);
  w.Db().SetActiveProfile(profile);
  w.Enqueue(kTaskProfileSwitch);
}

bool RestoreProfileDefaults(DeviceMainDlg& w) {
  if (w.ShowMessageBox(201, 200, kBoxTwoButtons) == PLKUI::kResultCancel) return false;
  if (auto* mouse = w.Control<PLKUI::MouseCtrl>(ctl::kMouseCtrl)) mouse->SetSelectItem(0);
  w.selected_button.store(0);

  const int profile = w.current_profile.load();
  ConfigDatabase& db = w.Db();
  db.DeleteProfileKeys(profile);
  db.ResetConfigDefaults(profile);
  db.SetConfigValue(profile, L"report_rate", w.Devices().ActiveMode() != 0 ? L"2" : L"4");

  w.RefreshKeyPage();
  w.LoadPerformancePage();
  w.reset_selector.store(1);
  w.ShowWaitDialog(kTaskRestoreProfile);
  return true;
}

bool ResetAllData(DeviceMainDlg& w) {
  if (!w.online.load()) {
    w.ShowMessageBox(676, 57, kBoxOneButton);
    return false;
  }
  if (w.Devices().ActiveMode() == 2) {
    w.ShowMessageBox(676, 56, kBoxOneButton);
    return false;
  }
  if (w.ShowMessageBox(670, 671, kBoxTwoButtons) == PLKUI::kResultCancel) return false;

  const int device_type = w.Services().read_device_type();
  const std::wstring name = w.catalog.DatabaseName(device_type, L"Mouse");
  w.Db().OpenAndClear(w.Services().data_directory, name);
  w.Enqueue(kTaskFactoryReset);
  w.initial_read_done.store(0);
  // The empty database gets its default profiles now, so the list is never stale.
  w.RefreshProfileList();
  return true;
}

intptr_t OnSettingsMessage(DeviceMainDlg& w, int id, int code) {
  if (id == ctl::kFactoryReset && code == PLKUI::kNotifyClick) ResetAllData(w);
  return 0;
}

}  // namespace tk410
