#pragma once
// A Nordic device (direct mouse or receiver) on the virtual bus, a device
// manager over it, a settings database in a temporary folder and a main
// window with the controls the Nordic routines drive.

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "app/lang_text.h"
#include "base/clock.h"
#include "device/device_manager.h"
#include "nordic/nordic_protocol.h"
#include "plkui/controls.h"
#include "sim/virtual_hid_bus.h"
#include "sim/virtual_nordic_device.h"
#include "store/config_database.h"
#include "support/temp_dir.h"
#include "ui/device_main_dlg.h"

namespace tk410 {

constexpr int kNordicType = 201;

inline KeyMacroRecord Row(int profile, int key_code, int kind, int value, int value2 = 0) {
  KeyMacroRecord r;
  r.profile = profile;
  r.key_code = key_code;
  r.macro_type = kind;
  r.macro_value = value;
  r.macro_value2 = value2;
  return r;
}

// The bytes of a trace line ("W 00 41 ..."), the report number dropped: the
// 64 bytes the device received (payload 0..62 and the check byte).
inline std::vector<uint8_t> TraceBytes(const std::string& line) {
  std::vector<uint8_t> bytes;
  for (size_t i = 2; i + 1 < line.size(); i += 3) {
    bytes.push_back(static_cast<uint8_t>(std::stoi(line.substr(i, 2), nullptr, 16)));
  }
  if (!bytes.empty()) bytes.erase(bytes.begin());
  return bytes;
}

class NordicRig {
 public:
  // `other` takes the virtual Nordic device's place on the bus when given.
  explicit NordicRig(VirtualNordicOptions options = VirtualNordicDevice::Direct(), bool linked = true,
                     std::shared_ptr<VirtualHidDevice> other = nullptr)
      : bus_(std::make_shared<VirtualHidBus>(clock_)),
        device_(std::make_shared<VirtualNordicDevice>(options)),
        devices_(bus_, clock_) {
    device_->SetLinked(linked, true);
    if (other) {
      bus_->Attach(other);
    } else {
      bus_->Attach(device_);
    }
    devices_.SetCurrentDeviceType(kNordicType);
    devices_.AddSupported(0x1209, 0x0003, L"", kNordicType, 0);
    devices_.AddSupported(0x1209, 0x0004, L"", kNordicType, 1);
    devices_.AddSupported(0x1209, 0x0005, L"", kNordicType, 3);
    Rescan();
    devices_.SetFrameTrace([this](const std::string& line) {
      std::lock_guard<std::mutex> lock(trace_mutex_);
      if (line.rfind("W ", 0) == 0) writes_.push_back(line);
    });
    std::filesystem::create_directories(dir_.path() / "db");
    db_.OpenForDevice(dir_.wide(), L"TK410N");
    db_.SetDeviceType(kNordicType);
    DeviceMainServices services;
    services.db = &db_;
    services.devices = &devices_;
    services.clock = &clock_;
    services.texts = &texts_;
    window_ = std::make_unique<DeviceMainDlg>(services);
    window_->current_device_type.store(kNordicType);
    window_->online.store(true);
    AddControls();
    window_->RefreshProfileList();
  }

  void Rescan() {
    devices_.ClearActiveHandle();
    devices_.CloseAll();
    devices_.EnumerateDevice();
    devices_.SetOpened(true);
  }

  NordicProtocol Protocol() { return NordicProtocol(*window_); }
  DeviceMainDlg& Window() { return *window_; }
  NordicState& State() { return window_->nordic_state; }
  ConfigDatabase& Db() { return db_; }
  VirtualNordicDevice& Device() { return *device_; }
  DeviceManager& Devices() { return devices_; }
  ManualClock& Clock() { return clock_; }
  NordicFirmware Firmware() { return device_->WithFirmware([](NordicFirmware& f) { return f; }); }

  std::wstring Config(const std::wstring& key, int profile = 1) {
    std::wstring v;
    db_.GetConfigValue(profile, key, v);
    return v;
  }
  void SetConfig(const std::wstring& key, const std::wstring& value, int profile = 1) {
    db_.SetConfigValue(profile, key, value);
  }
  KeyMacroRecord Key(int key_code, int profile = 1) {
    KeyMacroRecord r;
    db_.GetKeyRecord(profile, 0, key_code, r);
    return r;
  }

  // What the device received, in order.
  std::vector<std::vector<uint8_t>> Requests() {
    std::lock_guard<std::mutex> lock(trace_mutex_);
    std::vector<std::vector<uint8_t>> out;
    for (const auto& line : writes_) out.push_back(TraceBytes(line));
    return out;
  }
  void ClearRequests() {
    std::lock_guard<std::mutex> lock(trace_mutex_);
    writes_.clear();
  }

  std::wstring Title(int id) { return window_->Control<PLKUI::MControlFont>(id)->GetTitle(); }
  PLKUI::MTabCtrl& Tabs() { return *window_->Control<PLKUI::MTabCtrl>(ctl::kTabs); }
  PLKUI::BatteryCtrl& Battery() { return *window_->Control<PLKUI::BatteryCtrl>(ctl::kBattery); }
  bool Checked(int id) { return window_->Control<PLKUI::MCheckControl>(id)->GetCheck() != 0; }

 private:
  void AddControls() {
    const PLKUI::MRect r{0, 0, 10, 10};
    window_->CreateControl(L"BatteryCtrl", ctl::kBattery, r, L"");
    window_->CreateControl(L"CDeviceState", ctl::kDeviceState, r, L"");
    auto* tabs = static_cast<PLKUI::MTabCtrl*>(window_->CreateControl(L"MTabCtrl", ctl::kTabs, r, L""));
    for (int page : {1, 2, 3, 4, 6}) tabs->AddItem(L"tab", L"", page, nullptr);
    tabs->SetSelectItem(2);  // the DPI page
    window_->current_page.store(3);
    for (int id : {ctl::kVersionLabelA, ctl::kVersionLabelB}) window_->CreateControl(L"MText", id, r, L"");
    for (int id = ctl::kFirstDpiStage; id <= ctl::kLastDpiStage; ++id) {
      window_->CreateControl(L"DPIControl", id, r, L"");
    }
    for (int id = ctl::kFirstRate; id <= ctl::kLastRate; ++id) {
      window_->CreateControl(L"ColorButtonEx", id, r, L"");
    }
  }

  testing::TempDir dir_;
  ManualClock clock_;
  std::shared_ptr<VirtualHidBus> bus_;
  std::shared_ptr<VirtualNordicDevice> device_;
  DeviceManager devices_;
  ConfigDatabase db_;
  InMemoryLanguageTexts texts_{1033, {{52, L"linked"}, {53, L"not linked"}}};
  std::unique_ptr<DeviceMainDlg> window_;
  std::mutex trace_mutex_;
  std::vector<std::string> writes_;
};

}  // namespace tk410
