// Profiles follow the program in front on a real X server: openbox on the
// test's Xvfb, two windows of programs with different executables (a native
// game and a Windows game run by Wine's loader), brought to the front with
// xdotool and by alt-tabbing; the virtual wired mouse, the database and the
// profile list follow, with one profile switch per switch and none for the
// windows passed over while alt-tabbing.

#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <mutex>

#include "platform/x11_active_window.h"
#include "rules/x11_desktop.h"
#include "ui/follow_fixture.h"

namespace tk410::testing {
namespace {

// How long a switch may take from the window coming to the front: the
// settle time plus the machine's own delays.
constexpr int kSwitchBoundMs = 10000;
constexpr uint64_t kSettleMs = FocusSettle::kDefaultDelayMs;

// The real X11 source, reporting every settled window to the test too.
class ObservedSource : public ActiveWindowSource {
 public:
  bool Start(ActiveWindowListener listener) override {
    auto settled = listener.settled;
    listener.settled = [this, settled](const WindowIdentity& window) {
      settled(window);
      std::lock_guard<std::mutex> lock(mutex_);
      reports_.push_back(window.window);
      changed_.notify_all();
    };
    return real_.Start(std::move(listener));
  }
  void Stop() override { real_.Stop(); }
  std::optional<WindowIdentity> Current() const override { return real_.Current(); }

  // Waits until the report number `n` (from 1) has come; its window, or 0.
  uint32_t WaitForReport(size_t n, int timeout_ms) {
    std::unique_lock<std::mutex> lock(mutex_);
    changed_.wait_for(lock, std::chrono::milliseconds(timeout_ms), [&] { return reports_.size() >= n; });
    return reports_.size() >= n ? reports_[n - 1] : 0;
  }
  size_t Reports() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return reports_.size();
  }

 private:
  X11ActiveWindow real_{SystemClockInstance(), kSettleMs};
  mutable std::mutex mutex_;
  std::condition_variable changed_;
  std::vector<uint32_t> reports_;
};

class X11FollowTest : public FollowTest {
 protected:
  void SetUp() override {
    FollowTest::SetUp();
    if (!desktop_.Failure().empty()) GTEST_SKIP() << "no X11 desktop for the test: " << desktop_.Failure();
    // The real source in place of the fake, and the real /proc.
    active_window_ = &source_x_;
    proc_root_ = "/proc";
    window_.reset();
    MakeWindow();
    const PLKUI::MRect r{0, 0, 10, 10};
    window_->CreateControl(L"MComboBox", ctl::kProfileCombo, r, L"");
    StartUp();
    RunQueue();
    frames_.clear();
  }
  void TearDown() override {
    if (window_) window_->Follower().Stop();
    FollowTest::TearDown();  // the window goes before source_x_
  }

  // Waits for report `n`, takes it on the window thread and runs the
  // worker; the time it took from `since`.
  int Follow(size_t n, uint32_t expected, std::chrono::steady_clock::time_point since) {
    EXPECT_EQ(source_x_.WaitForReport(n, kSwitchBoundMs), expected) << "report " << n;
    Pump();
    const int ms = static_cast<int>(
        std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - since).count());
    tasks_.push_back(Queue());
    RunQueue();
    return ms;
  }

  X11Desktop desktop_;
  ObservedSource source_x_;
  std::vector<std::vector<int>> tasks_;
};

TEST_F(X11FollowTest, MouseAndDatabaseFollowTheWindowInFront) {
  const X11Desktop::Client racer = desktop_.StartClient("racer");
  const X11Desktop::Client shooter = desktop_.StartClient("wine64-preloader", {"C:\\Games\\Shooter\\Shooter.exe"});
  ASSERT_NE(racer.window, 0u);
  ASSERT_NE(shooter.window, 0u);

  AddRule(kMatchExecutable, L"racer", 2);
  AddRule(kMatchExecutable, L"Shooter.exe", 3);
  ASSERT_EQ(window_->Follower().UnavailableTextId(), 0);
  // The window in front when the watching starts counts as a change; which
  // one openbox left in front does not matter, its switch is set aside.
  source_x_.WaitForReport(1, kSwitchBoundMs);
  const size_t first = source_x_.Reports();
  ASSERT_EQ(first, 1u);
  Pump();
  RunQueue();
  frames_.clear();

  auto start = std::chrono::steady_clock::now();
  ASSERT_TRUE(desktop_.Activate(racer.window));
  const int racer_ms = Follow(first + 1, racer.window, start);
  EXPECT_EQ(db_.GetActiveProfile(), 2);
  EXPECT_EQ(window_->current_profile.load(), 2);
  EXPECT_EQ(ComboProfile(), 2);

  start = std::chrono::steady_clock::now();
  ASSERT_TRUE(desktop_.Activate(shooter.window));
  const int shooter_ms = Follow(first + 2, shooter.window, start);
  EXPECT_EQ(db_.GetActiveProfile(), 3);
  EXPECT_EQ(ComboProfile(), 3);

  // Alt-tabbing through five windows ends on the racer: one report, one switch.
  start = std::chrono::steady_clock::now();
  ASSERT_TRUE(desktop_.ActivateInTurn({racer.window, shooter.window, racer.window, shooter.window, racer.window}));
  const int burst_ms = Follow(first + 3, racer.window, start);
  EXPECT_EQ(db_.GetActiveProfile(), 2);
  // Nothing more comes for the windows passed over.
  EXPECT_EQ(source_x_.WaitForReport(first + 4, static_cast<int>(3 * kSettleMs)), 0u);

  // One profile-switch task and one settings write (naming the profile) per switch.
  const std::vector<int> one_switch = {kTaskProfileSwitch, kTaskWriteSettingsQuiet};
  EXPECT_EQ(tasks_, (std::vector<std::vector<int>>{one_switch, one_switch, one_switch}));
  EXPECT_EQ(SettingsWrites(), (std::vector<int>{1, 2, 1}));
  const auto block = mouse_->WithFirmware([](WiredFirmware& f) { return f.Settings(1); });
  EXPECT_EQ(block[0], 1);
  std::printf("switch after the window came to the front: %d ms, %d ms; after alt-tabbing: %d ms (settle %d ms)\n",
              racer_ms, shooter_ms, burst_ms, static_cast<int>(kSettleMs));
}

}  // namespace
}  // namespace tk410::testing
