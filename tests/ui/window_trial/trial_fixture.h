#pragma once
// The main window as the program starts it, without a display: every page
// built (InitUI, UISize), then the start-up itself — catalogue, settings
// database, scan of the virtual bus, the first read — with the worker's
// turns run by the test on a manual clock. Fake pointer settings stand for
// the desktop. Texts are "T<number>" unless a test gives its own.

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <vector>

#include "app/lang_text.h"
#include "base/clock.h"
#include "base/text.h"
#include "device/device_manager.h"
#include "platform/fake_pointer_settings.h"
#include "plkui/controls.h"
#include "plkui/headless_runtime.h"
#include "sim/virtual_hid_bus.h"
#include "sim/virtual_wired_mouse.h"
#include "store/config_database.h"
#include "support/temp_dir.h"
#include "ui/device_main_dlg.h"
#include "ui/pages_fixture.h"
#include "ui/window_fixture.h"

namespace tk410 {

class TrialWindowTest : public ::testing::Test {
 protected:
  // Builds the window and starts it up; the worker's first tasks are run.
  void Start(bool virtual_mouse = false) {
    const auto catalog = dir.Write("config.xml", testing::kTestCatalog);
    std::filesystem::create_directories(dir.path() / "db");
    DeviceMainServices services;
    services.db = &db;
    services.devices = &devices;
    services.clock = &clock;
    services.texts = texts;
    services.data_directory = dir.wide();
    services.catalog_path = catalog.wstring();
    services.read_device_type = [this] { return stored_type; };
    services.write_device_type = [this](int type) { stored_type = type; };
    services.pointer = &pointer;
    services.virtual_mouse = virtual_mouse;
    window = std::make_unique<DeviceMainDlg>(services);
    window->SetRuntime(&runtime);
    window->InitUI();
    window->UISize(PLKUI::MRect{0, 0, 1121, 780});
    window->StartUp(false);
    RunQueue();
  }

  // A cabled wired mouse (connection mode 0) on the bus.
  std::shared_ptr<VirtualWiredMouse> PlugCable() {
    auto mouse = std::make_shared<VirtualWiredMouse>();
    bus->Attach(mouse);
    return mouse;
  }

  void RunQueue() {
    while (!window->tasks.Empty()) window->WorkerTurn();
  }

  template <class T>
  T* C(int id) {
    return ExpectControl<T>(*window, id);
  }
  std::wstring Caption(int id) { return C<PLKUI::MControlFont>(id)->GetTitle(); }
  // A value of `profile` (0: the current profile).
  std::wstring Config(const wchar_t* key, int profile = 0) {
    std::wstring value;
    db.GetConfigValue(Profile(profile), key, value);
    return value;
  }
  void SetConfig(const wchar_t* key, const std::wstring& value, int profile = 0) {
    db.SetConfigValue(Profile(profile), key, value);
  }
  int Profile(int profile) const { return profile ? profile : window->current_profile.load(); }

  testing::TempDir dir;
  ManualClock clock;
  std::shared_ptr<VirtualHidBus> bus = std::make_shared<VirtualHidBus>(clock);
  DeviceManager devices{bus, clock};
  ConfigDatabase db;
  InMemoryLanguageTexts numbered{1033, NumberedTexts()};
  const LanguageTexts* texts = &numbered;
  FakePointerSettings pointer;
  PLKUI::HeadlessRuntime runtime;
  int stored_type = 0;
  std::unique_ptr<DeviceMainDlg> window;
};

}  // namespace tk410
