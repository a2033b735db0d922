// Controls are called from the sync worker while the window thread reads them
// and the view reacts to their change signal: nothing may tear, deadlock or
// race (this program runs under ThreadSanitizer too).

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "plkui/headless_runtime.h"
#include "plkui/recording_dialog.h"

namespace tk410::test {
namespace {

using namespace PLKUI;

constexpr int kRounds = 5000;

TEST(ThreadSafetyTest, WorkerSettersWhileTheWindowThreadReads) {
  HeadlessRuntime runtime;
  RecordingDialog dlg;
  dlg.SetRuntime(&runtime);
  ASSERT_TRUE(dlg.Create(nullptr, L"Test", 0, 0, MRect{0, 0, 300, 200}));
  auto* title = dlg.Make<MText>(L"MText", 54);
  auto* battery = dlg.Make<BatteryCtrl>(L"BatteryCtrl", 40);
  auto* combo = dlg.Make<MComboBox>(L"MComboBox", 123);
  auto* slider = dlg.Make<DPISlider>(L"DPISlider", 107);
  slider->SetRange(0, 120);
  std::vector<DPIControl*> stages;
  for (int i = 0; i < 6; ++i) {
    stages.push_back(dlg.Make<DPIControl>(L"DPIControl", 101 + i));
    stages[i]->SetGroupName(L"MOUSE_DPICTRL");
  }
  auto* steps = dlg.Make<CRecordList>(L"CRecordList", 166);

  // The listener reads the control back, as a view does: were it called with
  // the control's lock held, this would deadlock.
  std::atomic<int> signals{0};
  title->SetChangeListener([&] {
    (void)title->GetTitle();
    ++signals;
  });
  combo->SetChangeListener([&] {
    (void)combo->GetCurData();
    ++signals;
  });

  std::thread worker([&] {
    for (int i = 0; i < kRounds; ++i) {
      title->SetTitle(i % 2 ? L"已连接" : L"未连接");
      battery->SetBatteryInfo(i % 101, i % 2);
      if (i % 50 == 0) combo->DelAllItems();
      combo->AddItem(L"模式", i);
      combo->SelectData(i);
      slider->SetProgress(i % 121);
      stages[i % 6]->SetCheckState(1);
      stages[i % 6]->SetDPIValue(100 * (i % 120));
      steps->AddString(L"↓  A", 2, 65, i);
      if (i % 100 == 0) steps->DeleteAllItems();
    }
  });

  int torn = 0;
  for (int i = 0; i < kRounds; ++i) {
    const std::wstring t = title->GetTitle();
    if (!t.empty() && t != L"已连接" && t != L"未连接") ++torn;
    const int level = battery->GetBatteryLevel();
    if (level < 0 || level > 100) ++torn;
    (void)combo->GetCurText();
    (void)combo->GetItems();
    (void)slider->GetProgress();
    // Each stage is read on its own: several may look checked across reads
    // while the worker moves the check, so only the single reads are used.
    for (DPIControl* s : stages) (void)s->GetCheckState();
    (void)steps->GetEventCount();
    (void)steps->GetRecordItems();
  }
  worker.join();

  EXPECT_EQ(torn, 0);
  EXPECT_GT(signals.load(), 0);
  int checked = 0;
  for (DPIControl* s : stages) checked += s->GetCheckState();
  EXPECT_EQ(checked, 1);
  EXPECT_EQ(stages[(kRounds - 1) % 6]->GetCheckState(), 1);
  EXPECT_EQ(combo->GetCurData(), kRounds - 1);
  EXPECT_EQ(steps->GetItemCount(), (kRounds - 1) % 100);
}

// Two threads checking members of one group at once leave exactly one checked.
TEST(ThreadSafetyTest, ConcurrentGroupChecksLeaveOneMemberChecked) {
  HeadlessRuntime runtime;
  RecordingDialog dlg;
  dlg.SetRuntime(&runtime);
  ASSERT_TRUE(dlg.Create(nullptr, L"Test", 0, 0, MRect{0, 0, 300, 200}));
  std::vector<ColorButtonEx*> rates;
  for (int i = 0; i < 7; ++i) {
    rates.push_back(dlg.Make<ColorButtonEx>(L"ColorButtonEx", 114 + i));
    rates[i]->SetGroupName(L"REPORTRATE");
  }
  auto run = [&](int offset) {
    for (int i = 0; i < kRounds; ++i) rates[(i + offset) % 7]->SetCheck(1);
  };
  std::thread a(run, 0);
  std::thread b(run, 3);
  a.join();
  b.join();
  int checked = 0;
  for (ColorButtonEx* r : rates) checked += r->GetCheck();
  EXPECT_EQ(checked, 1);
}

}  // namespace
}  // namespace tk410::test
