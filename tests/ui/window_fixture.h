#pragma once
// The main window over real parts for worker and connection tests: a real
// SQLite database in a temporary folder, the device manager on the virtual
// HID bus with a manual clock, the virtual bus's device-change notifications,
// the headless runtime, and the controls the connection state touches.

#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "app/lang_text.h"
#include "base/clock.h"
#include "device/device_manager.h"
#include "plkui/controls.h"
#include "plkui/headless_runtime.h"
#include "plkui/manager.h"
#include "sim/virtual_bus_device_changes.h"
#include "sim/virtual_hid_bus.h"
#include "sim/virtual_wired_mouse.h"
#include "store/config_database.h"
#include "support/temp_dir.h"
#include "ui/device_main_dlg.h"
#include "platform/active_window_source.h"
#include "ui/background_presence.h"

namespace tk410::testing {

// Catalogue: the product (101) wired on 1209:0001, receiver on 1209:0002,
// Bluetooth on 1209:0006; a Nordic model that is never offered to the scan.
inline const char* kTestCatalog = R"(<?xml version="1.0" encoding="UTF-8"?>
<config><device>
<mouse name="TK410" device_type="101" device_attr="TK410">
<mode value="0" desc="wired" vid="1209" pid="0001" hid_interface="VID_1209&amp;PID_0001"/>
<mode value="1" desc="receiver" vid="1209" pid="0002" hid_interface="VID_1209&amp;PID_0002"/>
<mode value="2" desc="bluetooth" vid="1209" pid="0006" hid_interface="VID_1209&amp;PID_0006"/>
</mouse>
<mouse name="TK410N" device_type="201" device_attr="TK410N">
<mode value="0" desc="direct" vid="1209" pid="0003" hid_interface="VID_1209&amp;PID_0003"/>
</mouse>
</device><software caption="x" version="9.8.7"/></config>
)";

// The Nordic model alone (device type 201): direct mouse on 1209:0003,
// receiver modes 1 and 3 on 1209:0004 and 1209:0005.
inline const char* kNordicCatalog = R"(<config><device>
<mouse name="TK410N" device_type="201" device_attr="TK410N">
<mode value="0" desc="direct" vid="1209" pid="0003" hid_interface="VID_1209&amp;PID_0003"/>
<mode value="1" desc="receiver" vid="1209" pid="0004" hid_interface="VID_1209&amp;PID_0004"/>
<mode value="3" desc="receiver" vid="1209" pid="0005" hid_interface="VID_1209&amp;PID_0005"/>
</mouse></device><software caption="x" version="1"/></config>)";

class TestWindow : public DeviceMainDlg {
 public:
  using DeviceMainDlg::DeviceMainDlg;

  // Only the controls the scan and the worker touch.
  void InitUI() override {
    const PLKUI::MRect r{0, 0, 10, 10};
    CreateControl(L"BatteryCtrl", ctl::kBattery, r, L"");
    CreateControl(L"CDeviceState", ctl::kDeviceState, r, L"");
    CreateControl(L"MText", ctl::kProgramVersion, r, L"1.0");
    auto* tabs = static_cast<PLKUI::MTabCtrl*>(CreateControl(L"MTabCtrl", ctl::kTabs, r, L""));
    for (int i = 0; i < 5; ++i) tabs->AddItem(L"tab", L"", i, nullptr);
    CreateControl(L"MText", ctl::kHomeStatus, r, L"");
    CreateControl(L"MText", ctl::kHomeStatus2, r, L"");
    for (int id = ctl::kWriteButton; id <= ctl::kExportProfile; ++id) {
      CreateControl(L"MButton", id, r, L"");
    }
  }
  intptr_t OnInitDialog() override { return 1; }
  // What the window's message handler does with the two messages.
  intptr_t OnWindowMessage(unsigned message, uintptr_t wparam, intptr_t lparam) override {
    if (message == kMsgDeviceChange) return HandleDeviceChangeMessage(wparam, lparam);
    if (message == kMsgDeviceResult) results.push_back(lparam);
    return DeviceMainDlg::OnWindowMessage(message, wparam, lparam);
  }

  std::vector<intptr_t> results;  // lParams of message 1714
};

class WindowFixture : public ::testing::Test {
 protected:
  WindowFixture() : scoped_runtime_(runtime_) {}

  // The services of a window on the fixture's parts; `catalog` is written
  // as its config.xml.
  DeviceMainServices FixtureServices(const char* catalog = kTestCatalog) {
    catalog_path_ = dir_.Write("config.xml", catalog);
    std::filesystem::create_directories(dir_.path() / "db");  // made by the program's entry
    DeviceMainServices services;
    services.db = &db_;
    services.devices = &devices_;
    services.clock = &clock_;
    services.texts = &texts_;
    services.data_directory = dir_.wide();
    services.catalog_path = catalog_path_.wstring();
    services.read_device_type = [this] { return stored_type_; };
    services.write_device_type = [this](int type) { stored_type_ = type; };
    services.product_device_type = product_type_;
    services.active_window = active_window_;
    services.presence = presence_;
    services.proc_root = proc_root_;
    return services;
  }

  // Builds the window; `catalog` is written as its config.xml.
  void MakeWindow(const char* catalog = kTestCatalog) {
    window_ = std::make_unique<TestWindow>(FixtureServices(catalog));
    window_->Create(nullptr, L"TEVO TK410", 0, 0, PLKUI::MRect{0, 0, 1121, 780});
    window_->SetDeviceChangeSource(std::make_unique<VirtualBusDeviceChanges>(*bus_));
  }

  // Start-up without the worker thread; the test runs the turns.
  void StartUp() {
    window_->StartUp(false);
    clock_.ClearSleeps();
  }

  // Delivers posted messages (device changes run the filter here).
  void Pump() { runtime_.PumpMessages(); }

  std::vector<int> Queue() {
    std::vector<int> kinds;
    while (auto k = window_->tasks.TryPop()) kinds.push_back(*k);
    for (int k : kinds) window_->tasks.Push(k);
    return kinds;
  }
  // Runs turns until the queue is empty.
  void RunQueue() {
    while (!window_->tasks.Empty()) window_->WorkerTurn();
  }

  std::shared_ptr<VirtualWiredMouse> AttachMouse(VirtualWiredMouseOptions options = {}) {
    auto mouse = std::make_shared<VirtualWiredMouse>(options);
    attach_ids_.push_back(bus_->Attach(mouse));
    return mouse;
  }

  std::wstring ConnectionText() const {
    return window_->Control<PLKUI::MControlFont>(ctl::kDeviceState)->GetTitle();
  }
  PLKUI::MTabCtrl* Tabs() const { return window_->Control<PLKUI::MTabCtrl>(ctl::kTabs); }
  bool Visible(int id) const { return window_->Control<PLKUI::MControl>(id)->IsVisible(); }

  TempDir dir_;
  PLKUI::HeadlessRuntime runtime_;
  PLKUI::ScopedRuntime scoped_runtime_;
  ManualClock clock_;
  std::shared_ptr<VirtualHidBus> bus_ = std::make_shared<VirtualHidBus>(clock_);
  DeviceManager devices_{bus_, clock_};
  ConfigDatabase db_;
  InMemoryLanguageTexts texts_{1033,
                               {{50, L"none"}, {51, L"wired"}, {52, L"receiver"},
                                {53, L"not linked"}, {54, L"bluetooth"}, {56, L"banner"},
                                {57, L"connect"}, {900, L"no access"}, {901, L"the fix"},
                                {902, L"denied"}, {910, L"connecting"}}};
  int stored_type_ = 0;
  int product_type_ = 101;  // the device type the window serves (--device-type)
  std::filesystem::path catalog_path_;
  std::vector<int> attach_ids_;
  // Per-program profiles: the window-in-front source, the tray, /proc.
  ActiveWindowSource* active_window_ = nullptr;
  BackgroundPresence* presence_ = nullptr;
  std::string proc_root_ = "/proc";
  std::unique_ptr<TestWindow> window_;
};

}  // namespace tk410::testing
