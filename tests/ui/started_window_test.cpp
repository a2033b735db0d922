// The started main window keeps no timer running: nothing it shows depends
// on one, and a timer that fires without work wakes the program for nothing.

#include <gtest/gtest.h>

#include "ui/window_fixture.h"

namespace tk410 {
namespace {

TEST(WindowTimerTest, TheStartedWindowRunsNoTimerButStillAnswersTimerMessages) {
  testing::TempDir dir;
  std::filesystem::create_directories(dir.path() / "db");
  PLKUI::HeadlessRuntime runtime;
  PLKUI::ScopedRuntime scoped(runtime);
  ManualClock clock;
  auto bus = std::make_shared<VirtualHidBus>(clock);
  DeviceManager devices(bus, clock);
  ConfigDatabase db;
  DeviceMainServices services;
  services.db = &db;
  services.devices = &devices;
  services.clock = &clock;
  services.data_directory = dir.wide();
  services.catalog_path = dir.Write("config.xml", testing::kTestCatalog).wstring();
  DeviceMainDlg window(services);
  window.SetDeviceChangeSource(std::make_unique<VirtualBusDeviceChanges>(*bus));

  // Creating the window builds the pages and runs the whole start-up.
  ASSERT_TRUE(window.Create(nullptr, L"TEVO TK410", 0x96000000u, 0, PLKUI::MRect{0, 0, 1121, 780}));
  EXPECT_EQ(window.GetMTimer(), 0);
  EXPECT_EQ(runtime.TimerInterval(window, PLKUI::MDialog::kTimerId), 0);
  EXPECT_EQ(runtime.FireTimers(), 0);
  // The timer's entry point is kept: a timer message is answered, doing nothing.
  EXPECT_EQ(window.SendMessage(PLKUI::kWmTimer, PLKUI::MDialog::kTimerId, 0), 0);

  window.EndProgram();
  window.DestroyWindow();
}

}  // namespace
}  // namespace tk410
