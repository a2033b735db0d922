// The main window after its whole start-up (Create runs InitUI and the
// start-up with the worker): what it keeps running and what it leaves for
// later.

#include <gtest/gtest.h>

#include "platform/fake_pointer_settings.h"
#include "platform/lazy_pointer_settings.h"
#include "ui/window_fixture.h"

namespace tk410 {
namespace {

// The real window (the fixture's TestWindow leaves the pages out).
class StartedWindowTest : public testing::WindowFixture {
 protected:
  void Start(PointerSettings* pointer = nullptr) {
    DeviceMainServices services = FixtureServices();
    services.pointer = pointer;
    started_ = std::make_unique<DeviceMainDlg>(services);
    started_->SetDeviceChangeSource(std::make_unique<VirtualBusDeviceChanges>(*bus_));
    ASSERT_TRUE(started_->Create(nullptr, L"TEVO TK410", 0x96000000u, 0, PLKUI::MRect{0, 0, 1121, 780}));
  }
  void TearDown() override {
    if (!started_) return;
    started_->EndProgram();
    started_->DestroyWindow();
  }

  std::unique_ptr<DeviceMainDlg> started_;
};

// Nothing it shows depends on a timer, and a timer that fires without work
// wakes the program for nothing.
TEST_F(StartedWindowTest, RunsNoTimerButStillAnswersTimerMessages) {
  Start();
  EXPECT_EQ(started_->GetMTimer(), 0);
  EXPECT_EQ(runtime_.TimerInterval(*started_, PLKUI::MDialog::kTimerId), 0);
  EXPECT_EQ(runtime_.FireTimers(), 0);
  // The timer's entry point is kept: a timer message is answered, doing nothing.
  EXPECT_EQ(started_->SendMessage(PLKUI::kWmTimer, PLKUI::MDialog::kTimerId, 0), 0);
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
  Start(&pointer);
  EXPECT_EQ(opened, 0);

  auto* tabs = started_->Control<PLKUI::MTabCtrl>(ctl::kTabs);
  ASSERT_NE(tabs, nullptr);
  tabs->SetEnabled(true);
  tabs->PerformSelect(4);
  EXPECT_EQ(started_->current_page.load(), 6);
  EXPECT_EQ(opened, 1);
  EXPECT_EQ(started_->Control<PLKUI::MSlider>(ctl::kPointerSpeed)->GetProgress(), 13);
}

}  // namespace
}  // namespace tk410
