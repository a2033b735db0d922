#include "ui/device_main_dlg.h"

#include "app/lang_text.h"
#include "base/clock.h"
#include "device/device_manager.h"
#include "device/product.h"
#include "store/config_database.h"
#include "ui/profile_follower.h"

namespace tk410 {

namespace {

DeviceMainServices WithDefaults(DeviceMainServices s) {
  if (!s.db) s.db = &ConfigDatabase::Instance();
  if (!s.devices) s.devices = &DeviceManager::Instance();
  if (!s.clock) s.clock = &SystemClockInstance();
  if (s.catalog_path.empty()) s.catalog_path = DeviceCatalog::ShippedPath();
  if (!s.read_device_type || !s.write_device_type) {
    auto stored = std::make_shared<std::atomic<int>>(0);
    s.read_device_type = [stored] { return stored->load(); };
    s.write_device_type = [stored](int type) { stored->store(type); };
  }
  return s;
}

}  // namespace

DeviceMainDlg::DeviceMainDlg(DeviceMainServices services)
    : services_(WithDefaults(std::move(services))) {
  // The store's report-rate defaults depend on how the mouse is connected.
  DeviceManager* devices = services_.devices;
  services_.db->SetConnectionModeSource([devices] { return devices->ActiveMode(); });
  // Status reports the exchanges meet are applied, not lost.
  devices->SetStatusReportSink(this, [this](ReportFamily family, const uint8_t* report, size_t length) {
    OnStatusReport(family, report, length);
  });
}

DeviceMainDlg::~DeviceMainDlg() {
  // The watcher's thread posts to this window: it stops first.
  if (follower_) follower_->Stop();
  StopWorker();
  services_.devices->ClearStatusReportSink(this);
  services_.db->SetConnectionModeSource(nullptr);
}

std::wstring DeviceMainDlg::LangText(int text_id) const {
  return services_.texts ? services_.texts->GetLangText(text_id) : std::wstring();
}

ProfileFollower& DeviceMainDlg::Follower() {
  std::call_once(follower_once_, [this] {
    follower_ = std::make_unique<ProfileFollower>(*this, services_.active_window, services_.proc_root);
  });
  return *follower_;
}

std::wstring DeviceMainDlg::WindowTitleText() const {
  std::wstring title = kProductName;
  // "Virtual mouse": settings are not reaching real hardware.
  if (services_.virtual_mouse) title += L" \u2014 " + LangText(903);
  return title;
}

void DeviceMainDlg::SetWaitDialog(PLKUI::MDialog* dialog) {
  std::lock_guard<std::mutex> lock(wait_mutex_);
  wait_dialog_ = dialog;
}

PLKUI::MDialog* DeviceMainDlg::GetWaitDialog() const {
  std::lock_guard<std::mutex> lock(wait_mutex_);
  return wait_dialog_;
}

void DeviceMainDlg::CloseWait() {
  {
    std::lock_guard<std::mutex> lock(wait_mutex_);
    if (wait_dialog_) wait_dialog_->DoOK();
  }
  services_.clock->SleepMs(100);
}

}  // namespace tk410
