// Placeholder bodies; start-up and connection monitoring replace this file.
#include "ui/device_main_dlg.h"

namespace tk410 {

void DeviceMainDlg::StartUp() {}
void DeviceMainDlg::LoadCatalogue() {}
void DeviceMainDlg::OpenSettingsDatabase() {}
void DeviceMainDlg::ScanAndUpdate() {}
void DeviceMainDlg::BluetoothStep() {}
void DeviceMainDlg::OnDeviceChange(const std::wstring&, bool) {}

}  // namespace tk410
