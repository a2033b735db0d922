#include "ctl/ctl_session.h"

#include <filesystem>

#include "app/app_paths.h"
#include "base/text.h"
#include "device/catalog.h"
#include "device/device_manager.h"
#include "sim/virtual_hid_bus.h"
#include "sim/virtual_nordic_device.h"
#include "sim/virtual_wired_mouse.h"
#include "store/config_database.h"
#include "ui/device_main_dlg.h"

namespace tk410::ctl_tool {

namespace {

// The tool speaks English whatever the desktop's language: its output is read
// by scripts.
constexpr int kToolLanguage = kLanguageEnglish;
// The catalogue's Nordic model, served when a Nordic device is simulated.
constexpr int kNordicModelType = 201;

std::wstring WithSlash(std::wstring dir) {
  if (dir.empty() || dir.back() != L'/') dir += L'/';
  return dir;
}

}  // namespace

Session::Session(const CtlOptions& options)
    : options_(options), texts_(LanguageFileTexts::DefaultDirectory(), kToolLanguage) {}

Session::~Session() {
  // The window holds the database and device manager; it goes first.
  window_.reset();
  if (devices_) devices_->SetFrameTrace(nullptr);
}

std::wstring Session::DisplayText(const std::wstring& stored) const {
  const bool digits = !stored.empty() && stored.size() < 9 &&
                      stored.find_first_not_of(L"0123456789") == std::wstring::npos;
  if (!digits) return stored;
  const std::wstring text = texts_.GetLangText(WToI(stored));
  return text.empty() ? stored : text;
}

int Session::DeviceType() const {
  const bool nordic_sim = options_.simulate == "receiver" || options_.simulate == "nordic";
  if (nordic_sim && options_.device_type <= DeviceManager::kLastWiredType) return kNordicModelType;
  return options_.device_type;
}

int Session::CurrentProfile() const { return window_ ? window_->current_profile.load() : 0; }

Outcome Session::OpenStore() {
  if (!options_.simulate.empty()) {
    sim_clock_ = std::make_unique<ManualClock>();
    bus_ = std::make_shared<VirtualHidBus>(*sim_clock_);
    sim_devices_ = std::make_unique<DeviceManager>(bus_, *sim_clock_);
    devices_ = sim_devices_.get();
  } else {
    devices_ = &DeviceManager::Instance();
  }

  data_dir_ = options_.data_dir.empty() ? GetDataDirectory()
                                        : WithSlash(FromUtf8(std::filesystem::absolute(
                                                                 options_.data_dir).string()));
  if (!CreateDirectoryPath(data_dir_ + L"db")) {
    return Outcome::Fail(kExitData, "cannot create the database folder " + ToUtf8(data_dir_) + "db");
  }

  DeviceMainServices services;
  db_ = &ConfigDatabase::Instance();
  services.db = db_;
  services.devices = devices_;
  services.clock = sim_clock_ ? static_cast<Clock*>(sim_clock_.get()) : &SystemClockInstance();
  services.texts = &texts_;
  services.data_directory = data_dir_;
  services.catalog_path = DeviceCatalog::ShippedPath();
  const int device_type = DeviceType();
  services.read_device_type = [device_type] { return device_type; };
  services.write_device_type = [](int) {};
  // The type the window's own start-up serves (watch runs it): its scan,
  // hot-plug filter and routines follow --device-type, as in the GUI.
  services.product_device_type = device_type;
  window_ = std::make_unique<DeviceMainDlg>(std::move(services));

  // What the window's start-up does before its first scan: the catalogue,
  // the device type, the settings database of that type.
  window_->catalog.Load(window_->Services().catalog_path);
  window_->current_device_type.store(device_type);
  devices_->SetCurrentDeviceType(device_type);
  const std::wstring name = window_->catalog.DatabaseName(device_type, L"");
  if (name.empty()) {
    return Outcome::Fail(kExitData, "the device catalogue " + ToUtf8(window_->Services().catalog_path) +
                                        " names no model of device type " +
                                        std::to_string(device_type));
  }
  if (!db_->OpenDeviceDatabase(data_dir_, name, device_type)) {
    return Outcome::Fail(kExitData, "cannot open the settings database " + db_->GetPath());
  }
  // Creates the five default profiles in a new database and takes the active one.
  window_->RefreshProfileList();
  if (window_->current_profile.load() < 1) {
    return Outcome::Fail(kExitData, "the settings database " + db_->GetPath() + " has no profile");
  }
  return Outcome::Ok();
}

Outcome Session::OpenDevices() {
  if (bus_ && (options_.simulate == "receiver" || options_.simulate == "nordic")) {
    // "nordic": the mouse on a cable (mode 0); "receiver": the receiver
    // (mode 1) with the mouse linked behind it.
    nordic_ = std::make_shared<VirtualNordicDevice>(options_.simulate == "nordic"
                                                        ? VirtualNordicDevice::Direct()
                                                        : VirtualNordicDevice::Receiver(1));
    if (!options_.sim_state.empty() && std::filesystem::exists(options_.sim_state) &&
        !nordic_->LoadFromFile(options_.sim_state)) {
      return Outcome::Fail(kExitData, "cannot read the virtual mouse state " + options_.sim_state);
    }
    int silent_from = 0;
    if (ParseNamedFault(options_.sim_fault, "no-reply", &silent_from)) {
      nordic_->SetFault(NordicFault::kNoReply, -1, silent_from > 0 ? silent_from - 1 : 0);
    }
    if (options_.sim_fault == "open-denied") nordic_->SetOpenDenied(true);
    TimingFaultSwitch timing;
    if (ParseTimingFault(options_.sim_fault, &timing)) nordic_->AddTimingFault(timing);
    bus_->Attach(nordic_);
  } else if (bus_) {
    mouse_ = std::make_shared<VirtualWiredMouse>();
    if (!options_.sim_state.empty() && std::filesystem::exists(options_.sim_state)) {
      const bool loaded = mouse_->WithFirmware(
          [&](WiredFirmware& firmware) { return firmware.LoadFromFile(options_.sim_state); });
      if (!loaded) {
        return Outcome::Fail(kExitData, "cannot read the virtual mouse state " + options_.sim_state);
      }
    }
    int silent_from = 0;
    if (ParseNamedFault(options_.sim_fault, "no-reply", &silent_from)) {
      mouse_->SetFault(WiredFault::kNoReply, -1, silent_from > 0 ? silent_from - 1 : 0);
    }
    if (options_.sim_fault == "open-denied") mouse_->SetOpenDenied(true);
    TimingFaultSwitch timing;
    if (ParseTimingFault(options_.sim_fault, &timing)) mouse_->AddTimingFault(timing);
    bus_->Attach(mouse_);
  }
  if (!trace_.Open(options_.trace_frames)) {
    return Outcome::Fail(kExitData, "cannot write the frame trace " + options_.trace_frames);
  }
  trace_.SetNordic(DeviceType() > DeviceManager::kLastWiredType);
  devices_->SetFrameTrace([this](const std::string& line) { trace_.OnLine(line); });
  devices_opened_ = true;
  return Outcome::Ok();
}

Outcome Session::Close() {
  Outcome outcome;
  if (devices_opened_) {
    devices_->SetFrameTrace(nullptr);
    if (!trace_.Flush()) {
      outcome = Outcome::Fail(kExitData, "cannot write the frame trace " + options_.trace_frames);
    }
  }
  if (nordic_ && !options_.sim_state.empty() && !nordic_->SaveToFile(options_.sim_state)) {
    outcome = Outcome::Fail(kExitData, "cannot save the virtual mouse state " + options_.sim_state);
  }
  if (mouse_ && !options_.sim_state.empty()) {
    const bool saved = mouse_->WithFirmware(
        [&](WiredFirmware& firmware) { return firmware.SaveToFile(options_.sim_state); });
    if (!saved) {
      outcome = Outcome::Fail(kExitData, "cannot save the virtual mouse state " + options_.sim_state);
    }
  }
  return outcome;
}

}  // namespace tk410::ctl_tool
