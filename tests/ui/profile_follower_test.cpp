// Profiles that follow the program in front, on the window with the virtual
// wired mouse: the rule's profile becomes the active one in the database,
// the profile list and the mouse, once per switch; without rules nothing is
// watched and closing the window ends the program as before.

#include <gtest/gtest.h>
#include <unistd.h>

#include "app/instance_request.h"
#include "ui/follow_fixture.h"

namespace tk410::testing {
namespace {

TEST_F(FollowTest, WithoutRulesNothingIsWatchedAndCloseEndsTheProgram) {
  window_->Follower().RulesChanged();
  EXPECT_EQ(source_.StartAttempts(), 0);
  EXPECT_EQ(StatusText(), L"");
  ASSERT_FALSE(tray_.states.empty());
  EXPECT_FALSE(tray_.states.back().shown);
  window_->OnMessage(ctl::kClose, PLKUI::kNotifyClick, 0);
  EXPECT_TRUE(window_->ProgramEnded());
}

TEST_F(FollowTest, TheRuleOfTheWindowInFrontSwitchesDatabaseListAndMouseOnce) {
  ASSERT_TRUE(db_.SetConfigValue(3, L"dpi_group0_value", L"1200"));
  AddRule(kMatchExecutable, L"racer", 3);
  AddRule(kMatchSteamApp, L"570", 4);
  EXPECT_TRUE(source_.Started());
  ASSERT_EQ(window_->current_profile.load(), 1);

  Bring(0x400001, 4242);
  EXPECT_EQ(window_->current_profile.load(), 3);
  EXPECT_EQ(db_.GetActiveProfile(), 3);
  EXPECT_EQ(ComboProfile(), 3);
  // The profile list's own task, then the profile's settings to the mouse.
  EXPECT_EQ(Queue(), (std::vector<int>{kTaskProfileSwitch, kTaskWriteSettingsQuiet}));
  RunQueue();
  EXPECT_EQ(SettingsWrites(), std::vector<int>{2});
  const auto block = mouse_->WithFirmware([](WiredFirmware& f) { return f.Settings(2); });
  EXPECT_EQ(block[0], 2);  // the block names its profile
  EXPECT_EQ(block[13 - 8] | block[14 - 8] << 8, 1200);

  // The same program again, this program's own window, a window of no
  // program and one no rule names: nothing changes.
  Bring(0x400002, 4242);
  Bring(0x500001, ::getpid());
  Bring(0, 0);
  Bring(0x600001, 4444, "firefox");
  EXPECT_TRUE(Queue().empty());
  EXPECT_EQ(window_->current_profile.load(), 3);

  // A Proton game by its Steam id; then every other program.
  Bring(0x700001, 4343);
  EXPECT_EQ(db_.GetActiveProfile(), 4);
  RunQueue();
  AddRule(kMatchOtherPrograms, L"", 1);
  Bring(0x600001, 4444, "firefox");
  EXPECT_EQ(db_.GetActiveProfile(), 1);
  RunQueue();
  EXPECT_EQ(SettingsWrites(), (std::vector<int>{2, 3, 0}));

  // The last rule removed: the watching stops.
  RecordList<AppRuleRecord> rules;
  db_.LoadAppRules(rules);
  for (const auto& rule : rules) db_.DeleteAppRule(rule->rule_id);
  window_->Follower().RulesChanged();
  EXPECT_FALSE(source_.Started());
}

TEST_F(FollowTest, WithoutADisplayItSaysSoOnceAndStaysIdle) {
  FakeActiveWindow no_display(false, WindowWatch::kNoDisplay);
  active_window_ = &no_display;
  window_.reset();
  MakeWindow();
  window_->CreateControl(L"MText", ctl::kRulesStatus, PLKUI::MRect{0, 0, 10, 10}, L"");
  StartUp();

  AddRule(kMatchExecutable, L"racer", 3);
  AddRule(kMatchExecutable, L"other", 2);
  Pump();
  EXPECT_EQ(no_display.StartAttempts(), 1);
  EXPECT_EQ(StatusText(), L"text 1010");
  EXPECT_EQ(window_->Follower().UnavailableTextId(), 1010);
  EXPECT_EQ(window_->current_profile.load(), 1);
}

TEST_F(FollowTest, AWindowManagerThatCannotTellIsShownUntilOneCan) {
  AddRule(kMatchExecutable, L"racer", 3);
  source_.SetAvailable(WindowWatch::kNoActiveWindow);
  Pump();
  EXPECT_EQ(StatusText(), L"text 1011");
  source_.SetAvailable(WindowWatch::kAvailable);
  Pump();
  EXPECT_EQ(StatusText(), L"");
}

TEST_F(FollowTest, WithRulesClosingKeepsTheProgramInTheTrayOrMinimised) {
  AddRule(kMatchExecutable, L"racer", 3);
  window_->ShowWindow(1);
  window_->OnMessage(ctl::kClose, PLKUI::kNotifyClick, 0);
  EXPECT_FALSE(window_->ProgramEnded());
  EXPECT_FALSE(window_->IsWindowVisible());
  ASSERT_FALSE(tray_.states.empty());
  EXPECT_TRUE(tray_.states.back().shown);
  EXPECT_EQ(tray_.states.back().current_profile, 1);

  // No tray: the window manager's close minimises; the program stays.
  tray_.available = false;
  window_->ShowWindow(1);
  EXPECT_EQ(window_->SendMessage(PLKUI::kWmClose), 0);
  EXPECT_FALSE(window_->ProgramEnded());
  EXPECT_TRUE(window_->IsIconic());
}

TEST_F(FollowTest, ProfilesSelectedByTheCommandLineAreFollowed) {
  HandleInstanceRequest(*window_, ProfileRequestLine(4, db_.GetPath() + ".other"));
  HandleInstanceRequest(*window_, ProfileRequestLine(9, db_.GetPath()));
  EXPECT_EQ(window_->current_profile.load(), 1);
  EXPECT_TRUE(Queue().empty());

  db_.SetActiveProfile(4);  // as tk410ctl stores it
  HandleInstanceRequest(*window_, ProfileRequestLine(4, db_.GetPath()));
  EXPECT_EQ(window_->current_profile.load(), 4);
  EXPECT_EQ(ComboProfile(), 4);
  RunQueue();
  EXPECT_EQ(SettingsWrites(), std::vector<int>{3});

  // Rules added by the command line start the watching.
  db_.AddAppRule(AppRuleRecord{0, kMatchExecutable, L"racer", 2});
  EXPECT_FALSE(source_.Started());
  HandleInstanceRequest(*window_, RulesRequestLine(db_.GetPath()));
  EXPECT_TRUE(source_.Started());
}

}  // namespace
}  // namespace tk410::testing
