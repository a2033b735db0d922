#pragma once
// A wired mouse on the virtual bus, a device manager over it, a settings
// database in a temporary folder and a headless main window using them.

#include <filesystem>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "base/clock.h"
#include "device/device_manager.h"
#include "plkui/controls.h"
#include "platform/fake_text_injector.h"
#include "sim/virtual_hid_bus.h"
#include "sim/virtual_wired_mouse.h"
#include "store/config_database.h"
#include "support/temp_dir.h"
#include "sync/wired_routines.h"
#include "ui/control_ids.h"
#include "ui/device_main_dlg.h"

namespace tk410 {

// A button row of `profile` for the database.
inline KeyMacroRecord KeyRow(int profile, int key_code, int kind, int value, int value2 = 0) {
  KeyMacroRecord r;
  r.profile = profile;
  r.key_code = key_code;
  r.macro_type = kind;
  r.macro_value = value;
  r.macro_value2 = value2;
  return r;
}

class WiredRig {
 public:
  // `device` takes the virtual wired mouse's place on the bus when given.
  explicit WiredRig(Clock* clock = nullptr, const std::wstring& db_name = L"TK410",
                    std::shared_ptr<VirtualHidDevice> device = nullptr)
      : clock_(clock ? *clock : manual_),
        bus_(std::make_shared<VirtualHidBus>(clock_)),
        mouse_(std::make_shared<VirtualWiredMouse>()),
        devices_(bus_, clock_) {
    if (device) {
      bus_->Attach(device);
    } else {
      bus_->Attach(mouse_);
    }
    devices_.SetCurrentDeviceType(101);
    devices_.AddSupported(0x1209, 0x0001, L"", 101, 0);
    devices_.EnumerateDevice();
    devices_.SetOpened(true);
    devices_.SetFrameTrace([this](const std::string& line) {
      std::lock_guard<std::mutex> lock(trace_mutex_);
      if (line.rfind("W ", 0) == 0) writes_.push_back(line);
    });
    std::filesystem::create_directories(dir_.path() / "db");
    db_.OpenForDevice(dir_.wide(), db_name);
    window_ = std::make_unique<DeviceMainDlg>(DeviceMainServices{&db_, &devices_, &clock_, nullptr, &injector_});
    window_->current_device_type.store(101);
    window_->RefreshProfileList();  // the five default profiles
  }

  // The page controls a status report moves: DPI stages of 400 to 2400,
  // the DPI slider, the report-rate buttons and the battery.
  void AddStatusControls() {
    const PLKUI::MRect r{0, 0, 10, 10};
    for (int id = ctl::kFirstDpiStage; id <= ctl::kLastDpiStage; ++id) {
      auto* stage = static_cast<PLKUI::DPIControl*>(window_->CreateControl(L"DPIControl", id, r, L""));
      stage->SetDPIValue(400 * (id - ctl::kFirstDpiStage + 1));
    }
    window_->CreateControl(L"DPISlider", ctl::kDpiSlider, r, L"");
    for (int id = ctl::kFirstRate; id <= ctl::kLastRate; ++id) window_->CreateControl(L"ColorButtonEx", id, r, L"");
    window_->CreateControl(L"BatteryCtrl", ctl::kBattery, r, L"");
  }
  bool Checked(int id) { return window_->Control<PLKUI::MCheckControl>(id)->GetCheck() != 0; }

  WiredRoutines Routines() { return WiredRoutines(*window_); }
  DeviceMainDlg& Window() { return *window_; }
  ConfigDatabase& Db() { return db_; }
  VirtualWiredMouse& Mouse() { return *mouse_; }
  DeviceManager& Devices() { return devices_; }
  ManualClock& Manual() { return manual_; }
  FakeTextInjector& Injector() { return injector_; }
  const testing::TempDir& Dir() const { return dir_; }

  WiredFirmware Firmware() { return mouse_->WithFirmware([](WiredFirmware& f) { return f; }); }

  std::wstring Config(const std::wstring& key, int profile = 1) {
    std::wstring v;
    db_.GetConfigValue(profile, key, v);
    return v;
  }
  void SetConfig(const std::wstring& key, const std::wstring& value, int profile = 1) {
    db_.SetConfigValue(profile, key, value);
  }

  // Payloads (64 bytes, report number dropped) of the output reports written so far.
  std::vector<std::vector<uint8_t>> Requests() {
    std::lock_guard<std::mutex> lock(trace_mutex_);
    std::vector<std::vector<uint8_t>> out;
    for (const auto& line : writes_) {
      std::vector<uint8_t> bytes;
      for (size_t i = 2; i + 1 < line.size(); i += 3) bytes.push_back(static_cast<uint8_t>(std::stoi(line.substr(i, 2), nullptr, 16)));
      if (!bytes.empty()) bytes.erase(bytes.begin());
      out.push_back(bytes);
    }
    return out;
  }
  void ClearRequests() {
    std::lock_guard<std::mutex> lock(trace_mutex_);
    writes_.clear();
  }

 private:
  ManualClock manual_;
  Clock& clock_;
  testing::TempDir dir_;
  std::shared_ptr<VirtualHidBus> bus_;
  std::shared_ptr<VirtualWiredMouse> mouse_;
  DeviceManager devices_;
  ConfigDatabase db_;
  FakeTextInjector injector_;
  std::unique_ptr<DeviceMainDlg> window_;
  std::mutex trace_mutex_;
  std::vector<std::string> writes_;
};

}  // namespace tk410
