#pragma once
// What an offscreen main-window test stands on: the Qt runtime, a settings
// database in a temporary folder, the virtual wired mouse on a virtual bus
// with a manual clock, the shipped English texts, and the services that tie
// them to a window. Tests add their own services before building the window.

#include <filesystem>
#include <memory>

#include "app/language_files.h"
#include "base/clock.h"
#include "device/device_manager.h"
#include "plkui/qt/qt_runtime.h"
#include "sim/virtual_hid_bus.h"
#include "sim/virtual_wired_mouse.h"
#include "store/config_database.h"
#include "support/temp_dir.h"
#include "ui/device_main_services.h"

namespace tk410::test {

struct OffscreenWindowRig {
  OffscreenWindowRig() {
    std::filesystem::create_directories(dir.path() / "db");
    db_opened = db.OpenForDevice(dir.wide(), L"TK410");
    bus->Attach(std::make_shared<VirtualWiredMouse>());
    services.db = &db;
    services.devices = &devices;
    services.clock = &clock;
    services.texts = &texts;
    services.data_directory = dir.wide();
  }

  PLKUI::qt::QtRuntime runtime;
  PLKUI::ScopedRuntime scoped{runtime};
  testing::TempDir dir;
  ConfigDatabase db;
  bool db_opened = false;
  ManualClock clock;
  std::shared_ptr<VirtualHidBus> bus = std::make_shared<VirtualHidBus>(clock);
  DeviceManager devices{bus, clock};
  // The shipped English texts, so captions and pictures show the real words.
  LanguageFileTexts texts{LanguageFileTexts::DefaultDirectory(), kLanguageEnglish};
  DeviceMainServices services;
};

}  // namespace tk410::test
