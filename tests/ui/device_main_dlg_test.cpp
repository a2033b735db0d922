#include "ui/device_main_dlg.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "app/lang_text.h"
#include "base/clock.h"
#include "device/device_manager.h"
#include "sim/virtual_hid_bus.h"
#include "store/config_database.h"
#include "support/temp_dir.h"

namespace tk410 {
namespace {

TEST(DeviceMainDlgTest, ProfileListCreatesDefaultsAndSelectsProfileOne) {
  testing::TempDir dir;
  std::filesystem::create_directories(dir.path() / "db");
  ConfigDatabase db;
  ASSERT_TRUE(db.OpenForDevice(dir.wide(), L"TK410"));
  ManualClock clock;
  DeviceManager devices(std::make_shared<VirtualHidBus>(clock), clock);
  InMemoryLanguageTexts texts(1033, {{800, L"Profile 1"}, {801, L"Profile 2"}});
  DeviceMainDlg window({&db, &devices, &clock, &texts});

  window.RefreshProfileList();
  EXPECT_EQ(window.current_profile.load(), 1);
  RecordList<ProfileRecord> profiles;
  EXPECT_EQ(db.LoadProfiles(profiles), 5);
  EXPECT_EQ(window.LangText(801), L"Profile 2");
}

TEST(DeviceMainDlgTest, CloseWaitEndsTheWaitDialogAndPauses) {
  ManualClock clock;
  ConfigDatabase db;
  DeviceManager devices(std::make_shared<VirtualHidBus>(clock), clock);
  DeviceMainDlg window({&db, &devices, &clock});
  window.CloseWait();
  EXPECT_EQ(clock.Sleeps(), std::vector<uint32_t>{100});
}

}  // namespace
}  // namespace tk410
