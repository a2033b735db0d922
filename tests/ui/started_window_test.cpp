// The main window after its whole start-up (Create runs InitUI and the
// start-up with the worker): what it keeps running and what it leaves for
// later.

#include <gtest/gtest.h>

#include "platform/fake_pointer_settings.h"
#include "platform/lazy_pointer_settings.h"
#include "ui/window_fixture.h"

namespace tk410 {
namespace {

class StartedWindowTest : public ::testing::Test {
 protected:
  StartedWindowTest() : scoped_(runtime_) {
    std::filesystem::create_directories(dir_.path() / "db");
    services_.db = &db_;
    services_.devices = &devices_;
    services_.clock = &clock_;
    services_.data_directory = dir_.wide();
    services_.catalog_path = dir_.Write("config.xml", testing::kTestCatalog).wstring();
  }
  void Start() {
    window_ = std::make_unique<DeviceMainDlg>(services_);
    window_->SetDeviceChangeSource(std::make_unique<VirtualBusDeviceChanges>(*bus_));
    ASSERT_TRUE(window_->Create(nullptr, L"TEVO TK410", 0x96000000u, 0, PLKUI::MRect{0, 0, 1121, 780}));
  }
  void TearDown() override {
    if (!window_) return;
    window_->EndProgram();
    window_->DestroyWindow();
  }

  testing::TempDir dir_;
  PLKUI::HeadlessRuntime runtime_;
  PLKUI::ScopedRuntime scoped_;
  ManualClock clock_;
  std::shared_ptr<VirtualHidBus> bus_ = std::make_shared<VirtualHidBus>(clock_);
  DeviceManager devices_{bus_, clock_};
  ConfigDatabase db_;
  DeviceMainServices services_;
  std::unique_ptr<DeviceMainDlg> window_;
};

// Nothing it shows depends on a timer, and a timer that fires without work
// wakes the program for nothing.
TEST_F(StartedWindowTest, RunsNoTimerButStillAnswersTimerMessages) {
  Start();
  EXPECT_EQ(window_->GetMTimer(), 0);
  EXPECT_EQ(runtime_.TimerInterval(*window_, PLKUI::MDialog::kTimerId), 0);
  EXPECT_EQ(runtime_.FireTimers(), 0);
  // The timer's entry point is kept: a timer message is answered, doing nothing.
  EXPECT_EQ(window_->SendMessage(PLKUI::kWmTimer, PLKUI::MDialog::kTimerId, 0), 0);
}

// The desktop's pointer settings are opened when the settings page is
// first shown, not by the start-up.
TEST_F(StartedWindowTest, OpensThePointerSettingsWhenTheSettingsPageIsShown) {
  int opened = 0;
  LazyPointerSettings pointer([&opened]() -> std::unique_ptr<PointerSettings> {
    ++opened;
    auto fake = std::make_unique<FakePointerSettings>();
    fake->speed = 14;
    return fake;
  });
  services_.pointer = &pointer;
  Start();
  EXPECT_EQ(opened, 0);

  auto* tabs = window_->Control<PLKUI::MTabCtrl>(ctl::kTabs);
  ASSERT_NE(tabs, nullptr);
  tabs->SetEnabled(true);
  tabs->PerformSelect(4);
  EXPECT_EQ(window_->current_page.load(), 6);
  EXPECT_EQ(opened, 1);
  EXPECT_EQ(window_->Control<PLKUI::MSlider>(ctl::kPointerSpeed)->GetProgress(), 13);
}

}  // namespace
}  // namespace tk410
