// Profiles, the buttons page, the macro page, the message box and the wait dialog.

#include <thread>

#include "assign/button_function.h"
#include "platform/fake_file_dialogs.h"
#include "sync/sync_task.h"
#include "ui/message_box.h"
#include "ui/page_handlers.h"
#include "ui/pages_fixture.h"

namespace tk410 {
namespace {

TEST_F(WindowTest, FreshDatabaseListsFiveProfilesWithTheFirstChosen) {
  auto* combo = C<PLKUI::MComboBox>(60);
  ASSERT_EQ(combo->GetItemCount(), 5);
  const wchar_t* names[] = {L"T800", L"T801", L"T811", L"T821", L"T831"};
  for (int i = 0; i < 5; ++i) {
    EXPECT_EQ(combo->GetItemText(i), names[i]);
    EXPECT_EQ(combo->GetItemData(i), i + 1);
  }
  EXPECT_EQ(combo->GetCurData(), 1);

  combo->PerformSelect(3);
  EXPECT_EQ(window->current_profile.load(), 4);
  EXPECT_EQ(db.GetActiveProfile(), 4);
  EXPECT_EQ(QueuedTasks(), std::vector<int>{kTaskProfileSwitch});
}

TEST_F(WindowTest, ResetAllDataRenumbersTheProfiles) {
  ProfileRecord extra;
  extra.name = L"900";
  ASSERT_EQ(db.AddProfile(extra), 6);
  runtime.AnswerNextModal(1);
  EXPECT_FALSE(ResetAllData(*window));  // no device: notice 676 / 57, nothing cleared
  RecordList<ProfileRecord> profiles;
  EXPECT_EQ(db.LoadProfiles(profiles), 6);

  window->online.store(true);
  window->initial_read_done.store(1);
  runtime.AnswerNextModal(2);  // declined
  EXPECT_FALSE(ResetAllData(*window));
  EXPECT_EQ(db.LoadProfiles(profiles), 6);

  runtime.AnswerNextModal(1);
  EXPECT_TRUE(ResetAllData(*window));
  ASSERT_EQ(db.LoadProfiles(profiles), 5);
  for (int i = 0; i < 5; ++i) EXPECT_EQ(profiles[i]->profile, i + 1);
  EXPECT_EQ(window->current_profile.load(), 1);
  EXPECT_EQ(C<PLKUI::MComboBox>(60)->GetItemCount(), 5);
  EXPECT_EQ(window->initial_read_done.load(), 0);
  EXPECT_EQ(QueuedTasks(), std::vector<int>{kTaskFactoryReset});
}

TEST_F(WindowTest, RestoreDefaultsResetsTheProfileAndWaitsForTheWorker) {
  KeyMacroRecord key;
  key.profile = 1;
  key.key_code = 4;
  key.macro_type = kKindDpiUp;
  key.macro_value = 1;
  key.macro_desc = L"150";
  db.SaveKeyRecord(key);
  SetConfig(L"dpi_group0_value", L"4000");
  C<PLKUI::MouseCtrl>(87)->SetSelectItem(3);

  runtime.AnswerNextModal(2);
  Click(90);
  RecordList<KeyMacroRecord> rows;
  EXPECT_EQ(db.LoadKeyRecords(1, 0, rows), 1);

  runtime.AnswerNextModal(1);  // confirmed
  runtime.AnswerNextModal(1);  // the wait dialog
  Click(90);
  EXPECT_EQ(db.LoadKeyRecords(1, 0, rows), 0);
  EXPECT_EQ(Config(L"dpi_group0_value"), L"800");
  EXPECT_EQ(Config(L"report_rate"), L"2");  // connection mode is not 0
  EXPECT_EQ(C<PLKUI::MouseCtrl>(87)->GetSelectItem(), 0);
  EXPECT_EQ(window->reset_selector.load(), 1);
  EXPECT_EQ(QueuedTasks(), std::vector<int>{kTaskRestoreProfile});
  EXPECT_EQ(runtime.ModalLog().back().title, L"WaitDlg");
}

TEST_F(WindowTest, ButtonsPageShowsStoredFunctions) {
  window->FillFunctionLists();
  window->RefreshKeyPage();
  EXPECT_FALSE(C<PLKUI::MComboBox>(62)->IsEnabled());
  EXPECT_EQ(C<PLKUI::MComboBox>(62)->GetItemCount(), 19);
  EXPECT_EQ(C<PLKUI::MComboBox>(80)->GetItemCount(), 19);  // key_code 10
  EXPECT_EQ(C<PLKUI::MComboBox>(64)->GetItemCount(), 18);  // no kind 11
  EXPECT_EQ(C<PLKUI::MComboBox>(76)->GetItemCount(), 0);   // key_code 6 is not on the page
  EXPECT_EQ(C<PLKUI::MComboBox>(64)->GetCurSel(), 2);
  EXPECT_EQ(C<PLKUI::MouseCtrl>(87)->GetItemText(7), L"T156");

  KeyMacroRecord keyboard;
  keyboard.profile = 1;
  keyboard.key_code = 4;
  keyboard.macro_type = kKindKeyboard;
  keyboard.macro_value = 4;
  keyboard.macro_value2 = 1;
  keyboard.macro_desc = L"12 + A";  // a key text is never read as a TextId
  db.SaveKeyRecord(keyboard);
  KeyMacroRecord macro = keyboard;
  macro.key_code = 5;
  macro.macro_type = kKindMacro;
  macro.macro_desc = L"123abc";  // a leading number is a TextId
  db.SaveKeyRecord(macro);
  window->RefreshKeyPage();
  EXPECT_EQ(C<PLKUI::MComboBox>(68)->GetTitle(), L"12 + A");
  EXPECT_EQ(C<PLKUI::MouseCtrl>(87)->GetItemText(3), L"12 + A");
  EXPECT_EQ(C<PLKUI::MComboBox>(70)->GetTitle(), L"T123");

  // A function without a dialog is stored as soon as it is chosen.
  auto* combo = C<PLKUI::MComboBox>(64);
  int dpi_up = -1;
  for (int i = 0; i < combo->GetItemCount(); ++i)
    if (combo->GetItemData(i) == kKindDpiUp) dpi_up = i;
  combo->PerformSelect(dpi_up);
  KeyMacroRecord stored;
  ASSERT_TRUE(db.GetKeyRecord(1, 0, 2, stored));
  EXPECT_EQ(stored.macro_type, kKindDpiUp);
  EXPECT_EQ(stored.macro_desc, L"150");
  EXPECT_EQ(C<PLKUI::MComboBox>(64)->GetTitle(), L"T150");
}

TEST_F(WindowTest, MacroPageShowsTheFirstMacro) {
  MacroRecord record;
  record.name = L"First";
  record.play_type = 0;
  record.play_times = 7;
  record.delay_type = 2;
  record.delay_time = 40;
  const int id = db.AddMacro(record);
  ASSERT_GT(id, 0);
  db.AddMacro(L"Second");
  MacroEvent down{0, id, 2, 0, 65, 1, L"down A"};
  MacroEvent up{0, id, 3, 1, 65, 1, L"up A"};
  db.AddMacroEvents({down, up});

  window->ShowMacroPage();
  auto* list = C<PLKUI::MacroList>(155);
  ASSERT_EQ(list->GetItemCount(), 2);
  EXPECT_EQ(list->GetCurSel(), 0);
  EXPECT_EQ(list->GetItemData(0), id);
  EXPECT_EQ(C<PLKUI::CRecordList>(166)->GetItemCount(), 2);
  EXPECT_EQ(C<PLKUI::CRadioButton>(174)->GetCheck(), 1);
  EXPECT_TRUE(C<PLKUI::MEdit>(176)->IsEnabled());
  EXPECT_EQ(C<PLKUI::MEdit>(176)->GetEditText(), L"40");
  EXPECT_EQ(C<PLKUI::CRadioButton>(181)->GetCheck(), 1);
  EXPECT_EQ(C<PLKUI::MEdit>(182)->GetEditText(), L"7");
}

TEST_F(WindowTest, MessageBoxStylesAndResults) {
  // Style 4: left button goes on, right button (2) refuses; style 0 one button; others none.
  struct Case {
    int style;
    int click;  // 0: none
    bool left;
    bool right;
    int result;
  };
  const Case cases[] = {{4, 33, true, true, 1}, {4, 34, true, true, 2}, {0, 33, true, false, 1}, {7, 0, false, false, -1}};
  for (const Case& c : cases) {
    runtime.AnswerNextModalByEnd([&](PLKUI::MWindow& w) {
      auto& box = dynamic_cast<PLKUI::MDialog&>(w);
      EXPECT_EQ(box.GetControl(33) != nullptr, c.left) << c.style;
      EXPECT_EQ(box.GetControl(34) != nullptr, c.right) << c.style;
      EXPECT_TRUE(w.IsTopMost());
      if (c.click) box.GetControl(c.click)->PerformClick();
      else box.EndModal(-1);
    });
    EXPECT_EQ(ShowUIMessageBox(window.get(), &texts, L"t", L"m", c.style), c.result) << c.style;
  }
}

TEST_F(WindowTest, WaitDialogEndsByWorkerDepartureOrCancel) {
  window->online.store(true);
  // The worker ends it; the task is queued while the dialog is already known.
  runtime.AnswerNextModalByEnd([&](PLKUI::MWindow&) {
    EXPECT_NE(window->GetWaitDialog(), nullptr);
    EXPECT_EQ(window->tasks.Size(), 1u);
    std::thread worker([&] { window->CloseWait(); });
    worker.join();
  });
  EXPECT_EQ(window->ShowWaitDialog(kTaskWriteAll), PLKUI::kResultOK);
  EXPECT_EQ(window->GetWaitDialog(), nullptr);

  // The device leaves while waiting: the next tick ends the dialog.
  runtime.AnswerNextModalByEnd([&](PLKUI::MWindow& w) {
    EXPECT_EQ(w.GetWindowRect().Width(), 102);
    runtime.FireTimers();
    EXPECT_FALSE(w.PendingModalEnd().has_value());
    window->online.store(false);
    runtime.FireTimers();
  });
  EXPECT_EQ(window->ShowWaitDialog(kTaskReadAll), PLKUI::kResultCancel);

  // Nobody answers: after ten seconds a cancel button appears.
  window->online.store(true);
  runtime.AnswerNextModalByEnd([&](PLKUI::MWindow& w) {
    auto& dialog = dynamic_cast<PLKUI::MDialog&>(w);
    clock.AdvanceMs(9999);
    runtime.FireTimers();
    EXPECT_FALSE(dialog.GetControl(WaitDlg::kCancel)->IsVisible());
    clock.AdvanceMs(1);
    runtime.FireTimers();
    ASSERT_TRUE(dialog.GetControl(WaitDlg::kCancel)->IsVisible());
    dialog.GetControl(WaitDlg::kCancel)->PerformClick();
  });
  EXPECT_EQ(window->ShowWaitDialog(kTaskWriteAll), PLKUI::kResultCancel);
  EXPECT_EQ(runtime.UnscriptedModalCount(), 0);
}

}  // namespace
}  // namespace tk410

namespace tk410 {
namespace {

TEST_F(WindowTest, ProfileFileButtonsGoThroughTheFileDialogs) {
  Click(92);  // no dialogs: nothing happens
  FakeFileDialogs dialogs;
  window->SetFileDialogs(&dialogs);
  const std::wstring path = dir.wide() + L"profile.xml";
  dialogs.Answer(path);
  SetConfig(L"dpi_group0_value", L"4200");
  Click(92);
  ASSERT_TRUE(std::filesystem::exists(dir.path() / "profile.xml"));

  SetConfig(L"dpi_group0_value", L"800");
  dialogs.Answer(path);
  Click(91);
  EXPECT_EQ(Config(L"dpi_group0_value"), L"4200");
  EXPECT_EQ(QueuedTasks(), std::vector<int>{kTaskProfileSwitch});
  EXPECT_EQ(dialogs.Requests().size(), 2u);
}

}  // namespace
}  // namespace tk410
