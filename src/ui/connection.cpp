// Start-up, the device scan with the window's connection state, and the
// hot-plug filter of the main window.
//
// Platform notes, written down once:
// - Switching the input method off for the window (start-up) has no Linux
//   counterpart the program needs: the window takes no text input through
//   an input method, so the step is left out.
// - Device notifications come from a DeviceChangeSource: the udev hidraw
//   monitor by default, the virtual bus when simulating. Its thread posts
//   message 537 to the window; OnWindowMessage hands that to
//   HandleDeviceChangeMessage, so the filter runs on the window thread.
// - The Bluetooth battery-service handle: on Linux the kernel exposes the
//   battery of a Bluetooth HID device as a power_supply class device below
//   the hid device (/sys/class/power_supply/hid-<address>-battery), read by
//   the desktop's power manager. Nothing in this program reads the handle,
//   so the Bluetooth step only looks whether such a node exists and traces
//   it; it keeps no open file.

#include <dirent.h>

#include <array>

#include "app/lang_text.h"
#include "base/start_trace.h"
#include "base/text.h"
#include "base/trace.h"
#include "device/device_manager.h"
#include "device/product.h"
#include "platform/udev_hidraw_monitor.h"
#include "store/config_database.h"
#include "ui/device_main_dlg.h"

namespace tk410 {

namespace {

// Texts of the connection label, by scan outcome.
constexpr int kTextNoDevice = 50;
constexpr int kTextWired = 51;
constexpr int kTextReceiver = 52;
constexpr int kTextNotLinked = 53;
constexpr int kTextBluetooth = 54;
constexpr int kTextPleaseConnect = 57;
// A usable mouse whose first read is still under way.
constexpr int kTextConnecting = 910;
// Supported device present, its node not ours to open.
constexpr int kTextNoAccess = 900;
constexpr int kTextNoAccessFix = 901;
constexpr int kTextAccessDenied = 902;

// The home page's status lines, shown while nothing usable is connected.
constexpr std::array<int, 2> kNotConnectedControls = {ctl::kHomeStatus, ctl::kHomeStatus2};
// The key page's device buttons, shown while a device is connected.
constexpr std::array<int, 5> kDeviceControls = {ctl::kWriteButton, ctl::kReadButton,
                                                ctl::kRestoreButton, ctl::kImportProfile,
                                                ctl::kExportProfile};

constexpr const wchar_t* kBluetoothHidService = L"00001812-0000-1000-8000-00805F9B34FB";
constexpr const wchar_t* kBluetoothKeyboardTag = L"KBD";

// Looks for the battery of a Bluetooth HID device among the power supplies.
std::string FindBluetoothBattery() {
  std::string found;
  DIR* dir = ::opendir("/sys/class/power_supply");
  if (!dir) return found;
  while (const dirent* entry = ::readdir(dir)) {
    const std::string name = entry->d_name;
    if (name.rfind("hid-", 0) == 0 && name.size() > 8 &&
        name.compare(name.size() - 8, 8, "-battery") == 0) {
      found = "/sys/class/power_supply/" + name;
    }
  }
  ::closedir(dir);
  return found;
}

}  // namespace

void DeviceMainDlg::StartUp(bool start_worker) {
  LoadCatalogue();
  Devices().SetCurrentDeviceType(Services().product_device_type);
  Devices().ClearActiveHandle();
  RegisterDeviceNotifications();
  // Until the first read has filled the pages, a usable mouse is shown as
  // being connected to, not with the pages' values from before the read
  // (EndFirstRead opens them).
  start_scan_.store(true);
  ScanAndUpdate();
  start_scan_.store(false);
  TraceStartStep("scan");
  // The worker saves the device type and opens the database as it takes
  // InitialSync (PrepareStore): the first frame does not wait for the disk.
  store_pending_.store(true);
  Enqueue(kTaskInitialSync);
  if (start_worker) StartWorker();
  // No window timer is started: nothing is done on its ticks, and a timer
  // without work only wakes the program.
}

void DeviceMainDlg::PrepareStore() {
  if (!store_pending_.exchange(false)) return;
  Services().write_device_type(Services().product_device_type);
  OpenSettingsDatabase();
}

void DeviceMainDlg::EndFirstRead() {
  // A scan since start-up has shown the real state already.
  if (connecting_shown_.load()) ShowConnectionState(Devices().ActiveMode(), true);
}

void DeviceMainDlg::LoadCatalogue() {
  Devices().ClearSupported();
  {
    std::lock_guard<std::mutex> lock(active_types_mutex);
    active_types.clear();
  }
  if (!catalog.Load(Services().catalog_path)) {
    Trace(kTraceInfo, "device catalogue not read: %s", ToUtf8(Services().catalog_path).c_str());
  }
  const std::wstring& version = catalog.Software().version;
  if (!version.empty()) {
    // The program's version: in the frame and as the software version of the settings page.
    for (int id : {ctl::kProgramVersion, ctl::kVersionLabelC})
      if (auto* label = Control<PLKUI::MControlFont>(id)) label->SetTitle(version);
  }
}

void DeviceMainDlg::OpenSettingsDatabase() {
  const int type = Services().read_device_type();
  const std::wstring name = catalog.DatabaseName(type, L"");
  if (!Db().OpenDeviceDatabase(Services().data_directory, name, type)) {
    Trace(kTraceError, "settings database not opened: %s", ToUtf8(name).c_str());
  }
}

void DeviceMainDlg::ScanAndUpdate() {
  SetBattery(0, 2);

  DeviceManager& devices = Devices();
  // The device type the manager serves: the product's, which start-up sets
  // (a Nordic model's type when the program serves one).
  const int type = devices.CurrentDeviceType() > 0 ? devices.CurrentDeviceType()
                                                  : Services().product_device_type;
  {
    std::lock_guard<std::mutex> lock(active_types_mutex);
    active_types.clear();
    devices.ClearSupported();
    for (const CatalogEntry& entry : catalog.SupportedRecords(type)) {
      devices.AddSupported(static_cast<uint32_t>(entry.vid), static_cast<uint32_t>(entry.pid),
                           std::wstring(), entry.device_type, entry.mode);
      active_types.push_back(entry);
    }
  }
  devices.ClearActiveHandle();
  devices.CloseAll();
  devices.EnumerateDevice();
  devices.SetOpened(true);

  std::vector<const DeviceInfo*> found;
  devices.DevicesOfCurrentType(&found);
  current_device_type.store(type);
  SetMessage(L"");
  ShowConnectionState(found.empty() ? -1 : devices.ActiveMode(), !found.empty());
}

void DeviceMainDlg::ShowConnectionState(int active_mode, bool any_device) {
  auto* tabs = Control<PLKUI::MTabCtrl>(ctl::kTabs);
  auto show_pages = [&](bool usable) {
    if (tabs) {
      tabs->SetEnabled(usable);
      SelectTab(usable ? 1 : 0);
      tabs->RefreshItemData();
    }
    for (int id : kNotConnectedControls) {
      if (auto* c = Control<PLKUI::MControl>(id)) c->SetVisible(!usable);
    }
    // The panel behind the status lines goes with them.
    if (auto* c = Control<PLKUI::MControl>(ctl::kHomePanel)) c->SetVisible(!usable);
    for (int id : kDeviceControls) {
      if (auto* c = Control<PLKUI::MControl>(id)) c->SetVisible(usable);
    }
  };
  connecting_shown_.store(false);
  auto set_status = [&](int first, int second) {
    if (auto* c = Control<PLKUI::MControlFont>(ctl::kHomeStatus)) c->SetTitle(LangText(first));
    if (auto* c = Control<PLKUI::MControlFont>(ctl::kHomeStatus2)) {
      c->SetTitle(second ? LangText(second) : std::wstring());
    }
  };

  if (!any_device) {
    online.store(false);
    connected.store(false);
    // A supported mouse whose node we may not open is not "no device": say
    // what is wrong and how to fix it.
    if (!Devices().PermissionDeniedPaths().empty()) {
      SetConnectionText(kTextAccessDenied);
      set_status(kTextNoAccess, kTextNoAccessFix);
    } else {
      SetConnectionText(kTextNoDevice);
      set_status(kTextPleaseConnect, 0);
    }
    show_pages(false);
    return;
  }

  online.store(true);
  set_status(kTextPleaseConnect, 0);
  switch (active_mode) {
    case 0:
    case 1:
    case 3:
      SetConnectionText(active_mode == 0 ? kTextWired : kTextReceiver);
      if (start_scan_.load()) {
        // Connecting: the home page says so until the first read is done.
        set_status(kTextConnecting, 0);
        show_pages(false);
        connecting_shown_.store(true);
      } else {
        show_pages(true);
      }
      connected.store(true);
      break;
    case 2:
      SetConnectionText(kTextBluetooth);
      show_pages(false);
      BluetoothStep();
      break;
    default:
      SetConnectionText(kTextNotLinked);
      show_pages(false);
      connected.store(false);
      break;
  }
}

void DeviceMainDlg::BluetoothStep() {
  ShowBluetoothBanner(GetClientRect());
  connected.store(true);
  const std::string battery = FindBluetoothBattery();
  if (!battery.empty()) Trace(kTraceDebug, "Bluetooth battery: %s", battery.c_str());
}

void DeviceMainDlg::OnDeviceChange(const std::wstring& interface_path, bool arrival) {
  const std::wstring path = UpperAscii(interface_path);
  std::vector<CatalogEntry> types;
  {
    std::lock_guard<std::mutex> lock(active_types_mutex);
    types = active_types;
  }
  const bool bluetooth_service = Contains(path, kBluetoothHidService);
  DeviceManager& devices = Devices();

  if (arrival) {
    // The probe opens the interface once, whatever the number of entries,
    // and looks for the collection of the family the scan last served.
    const VendorCollection wanted = VendorCollectionOf(current_device_type.load());
    std::optional<bool> probed;
    for (const CatalogEntry& e : types) {
      if (bluetooth_service && Contains(path, e.hid_interface)) {
        Enqueue(kTaskDeviceArrival);
        return;
      }
      if (!probed) {
        std::lock_guard<std::mutex> lock(source_mutex_);
        probed = device_change_source_ && device_change_source_->ProbeArrival(path, wanted);
      }
      if (*probed && devices.FindDevice(e.vid, e.pid, e.mode) == -1) {
        Enqueue(kTaskDeviceArrival);
        return;
      }
    }
    return;
  }

  if (!online.load()) return;
  for (const CatalogEntry& e : types) {
    if (bluetooth_service) {
      if (Contains(path, e.hid_interface) && Contains(path, kBluetoothKeyboardTag)) {
        Enqueue(kTaskDeviceRemoval);
        return;
      }
      continue;
    }
    if (Contains(path, e.hid_interface) && devices.FindDevice(e.vid, e.pid, e.mode) != -1) {
      Enqueue(kTaskDeviceRemoval);
      return;
    }
  }
}

void DeviceMainDlg::SetDeviceChangeSource(std::unique_ptr<DeviceChangeSource> source) {
  std::unique_ptr<DeviceChangeSource> old;
  {
    std::lock_guard<std::mutex> lock(source_mutex_);
    old = std::move(device_change_source_);
    device_change_source_ = std::move(source);
  }
  if (old) old->Stop();
}

void DeviceMainDlg::RegisterDeviceNotifications() {
  std::lock_guard<std::mutex> lock(source_mutex_);
  if (!device_change_source_) device_change_source_ = std::make_unique<UdevHidrawMonitor>();
  device_change_source_->Start(
      [this](const std::wstring& path, bool arrival) { PostDeviceChange(path, arrival); });
}

void DeviceMainDlg::PostDeviceChange(const std::wstring& interface_path, bool arrival) {
  const intptr_t number = device_changes_.Put({interface_path, arrival});
  if (!PostMessage(kMsgDeviceChange, arrival ? kDeviceArrival : kDeviceRemoveComplete, number)) {
    device_changes_.Take(number);
  }
}

intptr_t DeviceMainDlg::HandleDeviceChangeMessage(uintptr_t wparam, intptr_t lparam) {
  std::optional<DeviceChange> change = device_changes_.Take(lparam);
  if (!change) return 0;
  if (wparam == kDeviceArrival) {
    OnDeviceChange(change->interface_path, true);
  } else if (wparam == kDeviceRemoveComplete) {
    OnDeviceChange(change->interface_path, false);
  }
  return 0;
}

}  // namespace tk410
