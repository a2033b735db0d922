// The worker thread between tasks, on the manual clock: it waits for work (a
// task queued, a status report from the mouse, the stop) instead of waking
// on a cycle, so no time passes on the clock while nothing happens, and what
// the mouse reports reaches the window at once.

#include <future>

#include "support/wait_for.h"
#include "ui/window_fixture.h"

namespace tk410 {
namespace {

using testing::WaitFor;
using testing::WindowFixture;

// Real time allowed for the worker thread to react; it needs microseconds.
constexpr std::chrono::milliseconds kBound{5000};

class WorkerIdleTest : public WindowFixture {
 protected:
  void SetUp() override {
    mouse_ = AttachMouse();
    MakeWindow();
    // The controls the status reports drive.
    for (int id = ctl::kFirstDpiStage; id <= ctl::kLastDpiStage; ++id) {
      auto* stage = static_cast<PLKUI::DPIControl*>(window_->CreateControl(L"DPIControl", id, {}, L""));
      stage->SetGroupName(L"DPI");
    }
    window_->CreateControl(L"DPISlider", ctl::kDpiSlider, {}, L"");
    for (int id = ctl::kFirstRate; id <= ctl::kLastRate; ++id) {
      static_cast<PLKUI::ColorButtonEx*>(window_->CreateControl(L"ColorButtonEx", id, {}, L""))
          ->SetGroupName(L"RATE");
    }
    devices_.SetFrameTrace([this](const std::string& line) {
      std::lock_guard<std::mutex> lock(trace_mutex_);
      trace_.push_back(line);
    });
  }
  void TearDown() override {
    // The worker stops before the test window goes, as the program's end
    // stops it before its window.
    if (window_) window_->StopWorker();
    devices_.SetFrameTrace(nullptr);
  }

  int Stage(int id) { return window_->Control<PLKUI::DPIControl>(id)->GetCheckState(); }
  PLKUI::BatteryCtrl* Battery() { return window_->Control<PLKUI::BatteryCtrl>(ctl::kBattery); }
  size_t Writes() {
    std::lock_guard<std::mutex> lock(trace_mutex_);
    size_t writes = 0;
    for (const std::string& line : trace_) writes += line.rfind("W", 0) == 0 ? 1 : 0;
    return writes;
  }
  bool Idle() { return window_->initial_read_done.load() != 0 && bus_->ReadsWaiting() > 0; }

  std::shared_ptr<VirtualWiredMouse> mouse_;
  std::mutex trace_mutex_;
  std::vector<std::string> trace_;
};

TEST_F(WorkerIdleTest, IdleWorkerWaitsWithoutTimePassingAndTakesReportsAndTasksAtOnce) {
  window_->StartUp();  // InitialSync on the worker thread
  ASSERT_TRUE(WaitFor([&] { return Idle(); }, kBound)) << "the worker never settled into a wait";
  clock_.ClearSleeps();
  const uint64_t idle_since = clock_.TickMs();

  // The DPI button on the mouse: stage 4 at report-rate code 2.
  mouse_->RaiseStageAndRate(4, 2);
  ASSERT_TRUE(WaitFor([&] { return Stage(104) == 1; }, kBound)) << "the stage report was not taken";
  EXPECT_EQ(clock_.TickMs(), idle_since);
  // The battery right after: read once the polls' 200 ms spacing has passed.
  mouse_->RaiseBattery(57, 1);
  ASSERT_TRUE(WaitFor([&] { return Battery()->GetBatteryLevel() == 57; }, kBound));
  EXPECT_EQ(Battery()->GetBatteryState(), 1);
  EXPECT_EQ(clock_.TickMs(), idle_since + 200);
  EXPECT_TRUE(clock_.Sleeps().empty());  // no pause between turns while idle
  ASSERT_TRUE(WaitFor([&] { return Idle(); }, kBound));

  // Long after the last read, the next report is read at once.
  clock_.AdvanceMs(5000);
  const uint64_t later = clock_.TickMs();
  mouse_->RaiseStageAndRate(2, 2);
  ASSERT_TRUE(WaitFor([&] { return Stage(102) == 1; }, kBound));
  EXPECT_EQ(clock_.TickMs(), later);
  ASSERT_TRUE(WaitFor([&] { return Idle(); }, kBound));

  // A task wakes it as well: its request goes out.
  const size_t writes = Writes();
  window_->Enqueue(kTaskDpiStage);
  ASSERT_TRUE(WaitFor([&] { return Writes() > writes; }, kBound)) << "the queued task did not run";
  ASSERT_TRUE(WaitFor([&] { return Idle(); }, kBound));

  // The stop ends the wait.
  auto stopped = std::async(std::launch::async, [&] { window_->StopWorker(); });
  EXPECT_EQ(stopped.wait_for(kBound), std::future_status::ready) << "the stop did not end the wait";
}

TEST_F(WorkerIdleTest, WithoutAMouseTheWorkerWaitsForTheArrival) {
  bus_->Detach(attach_ids_[0]);
  window_->StartUp();
  ASSERT_TRUE(WaitFor([&] { return window_->tasks.Empty(); }, kBound));

  // Nothing to read: the worker waits until the hot-plug filter queues the
  // arrival, which wakes it.
  AttachMouse();
  Pump();
  ASSERT_TRUE(WaitFor([&] { return window_->initial_read_done.load() != 0; }, kBound))
      << "the arrival was not handled";
  EXPECT_TRUE(window_->online.load());
}

}  // namespace
}  // namespace tk410
