// What the button and DPI pages show after the reloads a user meets (the
// first read after a start, a read, a profile switch, a language change)
// is what is stored and what the mouse is given.

#include <functional>

#include "device/wired_layout.h"
#include "sync/sync_task.h"
#include "ui/page_handlers.h"
#include "ui/window_trial/trial_fixture.h"

namespace tk410 {
namespace {

// The left button's combo can be used exactly while the lock is off, and the
// lock switch shows the stored state, whichever reload ran last.
TEST_F(TrialWindowTest, LeftButtonComboFollowsTheStoredLockAfterEveryReload) {
  PlugCable();
  Start();
  struct Reload {
    const char* name;
    std::function<void()> run;
  };
  const Reload reloads[] = {
      {"start-up read", [&] {
         window->initial_read_done.store(0);
         window->Enqueue(kTaskInitialSync);
         RunQueue();
       }},
      {"read from the mouse", [&] { window->Enqueue(kTaskReadAll); RunQueue(); }},
      {"profile switch", [&] { SelectProfile(*window, window->current_profile.load() == 1 ? 2 : 1); RunQueue(); }},
      {"language change", [&] { window->RefreshTexts(); }},
  };
  for (const Reload& reload : reloads) {
    for (const wchar_t* lock : {L"0", L"1", L"0"}) {
      SCOPED_TRACE(std::string(reload.name) + ", leftbtn_lock " + ToUtf8(lock));
      for (int profile = 1; profile <= 2; ++profile) SetConfig(L"leftbtn_lock", lock, profile);
      reload.run();
      const bool locked = std::wstring(lock) == L"1";
      EXPECT_EQ(C<PLKUI::MControl>(ctl::KeyComboId(1))->IsEnabled(), !locked);
      EXPECT_EQ(C<PLKUI::CSwitchButton>(ctl::kLeftLock)->GetCheck(), locked ? 1 : 0);
      // The other buttons never depend on the lock.
      EXPECT_TRUE(C<PLKUI::MControl>(ctl::KeyComboId(2))->IsEnabled());
    }
  }
}

std::vector<int> Visible(DeviceMainDlg& w) {
  std::vector<int> ids;
  for (int id = ctl::kFirstRate; id <= ctl::kLastRate; ++id)
    if (w.GetControl(id)->IsVisible()) ids.push_back(id);
  return ids;
}

// A cabled mouse is offered 1000 Hz only; a stored rate the page does not
// offer is still shown, checked and not clickable, so the checked button is
// always the rate the next write gives the mouse.
TEST_F(TrialWindowTest, CabledMouseShowsTheStoredRateItIsGiven) {
  auto mouse = PlugCable();
  Start();
  ASSERT_EQ(devices.ActiveMode(), 0);
  struct Row {
    const wchar_t* stored;
    int checked;
    std::vector<int> visible;
  };
  const Row rows[] = {
      {L"1", ctl::kFirstRate, {ctl::kFirstRate, ctl::kRate1000}},
      {L"2", ctl::kFirstRate + 1, {ctl::kFirstRate + 1, ctl::kRate1000}},
      {L"3", ctl::kFirstRate + 2, {ctl::kFirstRate + 2, ctl::kRate1000}},
      {L"4", ctl::kRate1000, {ctl::kRate1000}},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(ToUtf8(row.stored));
    SetConfig(L"report_rate", row.stored);
    window->LoadPerformancePage();
    EXPECT_EQ(Visible(*window), row.visible);
    for (int id : row.visible) {
      EXPECT_EQ(C<PLKUI::MCheckControl>(id)->GetCheck(), id == row.checked ? 1 : 0) << id;
      // Only what the cable takes can be chosen.
      EXPECT_EQ(C<PLKUI::MControl>(id)->IsEnabled(), id == ctl::kRate1000) << id;
    }
  }

  // 250 Hz stored: the write gives the mouse 250 Hz, as the page shows.
  SetConfig(L"report_rate", L"2");
  window->LoadPerformancePage();
  window->Enqueue(kTaskWriteAll);
  RunQueue();
  const auto block = WiredSettingsBlock::FromBytes(mouse->WithFirmware([](WiredFirmware& f) { return f.Settings(0); }));
  EXPECT_EQ(block.report_rate, 2);
  EXPECT_EQ(C<PLKUI::MCheckControl>(ctl::kFirstRate + 1)->GetCheck(), 1);

  // Choosing 1000 Hz stores it; the rate that is no longer stored goes.
  C<PLKUI::MControl>(ctl::kRate1000)->PerformClick();
  EXPECT_EQ(Config(L"report_rate"), L"4");
  EXPECT_EQ(Visible(*window), std::vector<int>{ctl::kRate1000});
  EXPECT_EQ(C<PLKUI::MCheckControl>(ctl::kRate1000)->GetCheck(), 1);
}

}  // namespace
}  // namespace tk410
