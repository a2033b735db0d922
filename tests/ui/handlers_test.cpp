// The setting handlers of the buttons and DPI pages, over the real database.

#include "ui/pages_fixture.h"

namespace tk410 {
namespace {

TEST_F(WindowTest, TypingAndFinishingADpiStage) {
  auto* stage = C<PLKUI::DPIControl>(103);
  stage->PerformEditText(L"12345");
  EXPECT_EQ(stage->GetDPIValue(), 12000);  // shown at once
  EXPECT_EQ(C<PLKUI::DPISlider>(107)->GetProgress(), 120);
  EXPECT_NE(Config(L"dpi_group2_value"), L"12000");  // typing stores nothing
  stage->PerformEditFinished();
  EXPECT_EQ(Config(L"dpi_group2_value"), L"12000");
  EXPECT_EQ(Config(L"dpi_index"), L"2");
  EXPECT_EQ(window->current_dpi_control.load(), 103);

  // Finished edits: at least 200, nearest 100 with halves up.
  const std::pair<const wchar_t*, const wchar_t*> cases[] = {
      {L"150", L"200"}, {L"1250", L"1300"}, {L"1249", L"1200"}, {L"0", L"200"}, {L"11960", L"12000"}};
  for (auto [typed, stored] : cases) {
    stage->PerformEditText(typed);
    stage->PerformEditFinished();
    EXPECT_EQ(Config(L"dpi_group2_value"), stored) << typed;
    EXPECT_EQ(FormatInt(stage->GetDPIValue()), stored) << typed;
  }
}

TEST_F(WindowTest, SliderAndStepButtonsSetTheSelectedStage) {
  C<PLKUI::DPIControl>(102)->PerformClick();
  EXPECT_EQ(Config(L"dpi_index"), L"1");
  auto* slider = C<PLKUI::DPISlider>(107);
  slider->PerformSetProgress(35);
  EXPECT_EQ(C<PLKUI::DPIControl>(102)->GetDPIValue(), 3500);
  EXPECT_EQ(Config(L"dpi_group1_value"), L"3500");

  slider->PerformDrag(40);  // dragging shows but does not store
  EXPECT_EQ(C<PLKUI::DPIControl>(102)->GetDPIValue(), 4000);
  EXPECT_EQ(Config(L"dpi_group1_value"), L"3500");

  Click(108);
  EXPECT_EQ(Config(L"dpi_group1_value"), L"4100");
  Click(109);
  Click(109);
  EXPECT_EQ(Config(L"dpi_group1_value"), L"3900");

  // A slider that reaches past 120 is pulled back to 12000.
  slider->SetRange(2, 200);
  slider->PerformSetProgress(150);
  EXPECT_EQ(slider->GetProgress(), 120);
  EXPECT_EQ(C<PLKUI::DPIControl>(102)->GetDPIValue(), 12000);
  EXPECT_EQ(Config(L"dpi_group1_value"), L"12000");
}

TEST_F(WindowTest, DpiResetAsksFirst) {
  SetConfig(L"dpi_group0_value", L"1000");
  C<PLKUI::DPIControl>(101)->SetDPIValue(1000);
  runtime.AnswerNextModal(2);  // declined
  Click(98);
  EXPECT_EQ(Config(L"dpi_group0_value"), L"1000");
  EXPECT_EQ(C<PLKUI::DPIControl>(101)->GetDPIValue(), 1000);

  runtime.AnswerNextModal(1, [](PLKUI::MWindow& w) {
    auto& box = dynamic_cast<PLKUI::MDialog&>(w);
    EXPECT_EQ(box.GetControlAs<PLKUI::MText>(31)->GetTitle(), L"T253");
    EXPECT_EQ(box.GetControlAs<PLKUI::MText>(32)->GetTitle(), L"T258");
  });
  Click(98);
  const wchar_t* dpis[] = {L"800", L"1600", L"3200", L"4800", L"8000", L"12000"};
  const wchar_t* colours[] = {L"255", L"65280", L"16711680", L"65535", L"16776960", L"8388736"};
  for (int n = 0; n < 6; ++n) {
    EXPECT_EQ(Config(FormatW(L"dpi_group%d_value", n).c_str()), dpis[n]);
    EXPECT_EQ(Config(FormatW(L"dpi_group%d_rgb", n).c_str()), colours[n]);
  }
  EXPECT_EQ(Config(L"dpi_count"), L"5");
  EXPECT_EQ(Config(L"dpi_index"), L"2");
  EXPECT_EQ(C<PLKUI::DPIControl>(103)->GetCheck(), 1);
  EXPECT_EQ(C<PLKUI::DPIControl>(101)->GetCheck(), 0);
  EXPECT_EQ(C<PLKUI::DPISlider>(107)->GetProgress(), 32);
}

TEST_F(WindowTest, ReportRateCodesByFamily) {
  // Wired: 125..1000 Hz store 1..4; faster buttons store an empty value.
  const wchar_t* wired[] = {L"1", L"2", L"3", L"4", L"", L"", L""};
  for (int i = 0; i < 7; ++i) {
    Click(114 + i);
    EXPECT_EQ(Config(L"report_rate"), wired[i]) << i;
  }
  EXPECT_TRUE(C<PLKUI::MControl>(146)->IsEnabled());  // no game-mode rule for the wired family

  // Nordic: the index; 2000 Hz and above switch the game mode off.
  window->current_device_type.store(201);
  Click(146);
  Click(119);
  EXPECT_EQ(Config(L"report_rate"), L"5");
  EXPECT_EQ(Config(L"e-sports_flag"), L"1");
  EXPECT_EQ(C<PLKUI::CRadioButton>(146)->GetCheck(), 0);
  EXPECT_FALSE(C<PLKUI::MControl>(146)->IsEnabled());
  EXPECT_FALSE(C<PLKUI::MControl>(147)->IsEnabled());
  Click(116);
  EXPECT_EQ(Config(L"report_rate"), L"2");
  EXPECT_TRUE(C<PLKUI::MControl>(146)->IsEnabled());
  EXPECT_TRUE(C<PLKUI::MControl>(147)->IsEnabled());
}

TEST_F(WindowTest, ReportRateResetByFamilyAndConnection) {
  // No device attached: the connection mode is not 0, so the wired reset stores 250 Hz.
  runtime.AnswerNextModal(2);
  Click(113);
  EXPECT_EQ(C<PLKUI::ColorButtonEx>(117)->GetCheck(), 0);
  runtime.AnswerNextModal(1);
  Click(113);
  EXPECT_EQ(Config(L"report_rate"), L"2");
  EXPECT_EQ(C<PLKUI::ColorButtonEx>(117)->GetCheck(), 1);

  window->current_device_type.store(201);
  runtime.AnswerNextModal(1);
  Click(113);
  EXPECT_EQ(Config(L"report_rate"), L"3");
}

TEST_F(WindowTest, PerformanceControlsStoreTheirValues) {
  SetConfig(L"sensor_flag", L"53");
  Click(135);  // 135 and 137 checked: bits 1 and 32 of the old value are gone
  EXPECT_EQ(Config(L"sensor_flag"), L"20");
  Click(137);
  EXPECT_EQ(Config(L"sensor_flag"), L"4");

  Click(131);
  EXPECT_EQ(Config(L"liftoff_height"), L"2");
  Click(130);
  EXPECT_EQ(Config(L"liftoff_height"), L"1");
  Click(142);
  EXPECT_EQ(Config(L"scroll_flag"), L"1");
  Click(141);
  EXPECT_EQ(Config(L"scroll_flag"), L"0");
  Click(147);
  EXPECT_EQ(Config(L"e-sports_flag"), L"1");
  Click(146);
  EXPECT_EQ(Config(L"e-sports_flag"), L"2");

  C<PLKUI::MComboBox>(126)->PerformSelect(6);
  EXPECT_EQ(Config(L"sleep_light"), L"60");
  QueuedTasks();
  C<PLKUI::MComboBox>(123)->PerformSelect(4);
  EXPECT_EQ(Config(L"light_mode"), L"4");
  EXPECT_EQ(window->current_light_mode.load(), 4);
  EXPECT_EQ(QueuedTasks(), std::vector<int>{9});
}

TEST_F(WindowTest, ResponseTimeIsClamped) {
  auto* edit = C<PLKUI::NumberEdit>(85);
  const std::pair<const wchar_t*, const wchar_t*> cases[] = {
      {L"35", L"20"}, {L"7", L"7"}, {L"abc", L"0"}, {L"", L"0"}};
  for (auto [typed, stored] : cases) {
    edit->SetEditText(typed);  // bypasses the digit filter, as pasted text would
    edit->PerformEditFinished();
    EXPECT_EQ(edit->GetEditText(), stored) << typed;
    EXPECT_EQ(Config(L"button_respondtime"), stored) << typed;
  }
  edit->PerformSpin(3);
  EXPECT_EQ(Config(L"button_respondtime"), L"3");
}

TEST_F(WindowTest, PageLoadSetsEveryControlFromTheProfile) {
  SetConfig(L"light_mode", L"3");
  SetConfig(L"button_respondtime", L"12");
  SetConfig(L"e-sports_flag", L"1");
  SetConfig(L"report_rate", L"2");
  SetConfig(L"dpi_group4_value", L"5600");
  SetConfig(L"dpi_group4_rgb", L"123");
  SetConfig(L"dpi_index", L"4");
  SetConfig(L"sensor_flag", L"12");
  SetConfig(L"liftoff_height", L"2");
  SetConfig(L"scroll_flag", L"1");
  SetConfig(L"leftbtn_lock", L"1");
  SetConfig(L"sleep_light", L"20");
  window->LoadPerformancePage();

  EXPECT_EQ(C<PLKUI::MComboBox>(123)->GetCurData(), 3);
  EXPECT_EQ(window->current_light_mode.load(), 3);
  EXPECT_EQ(C<PLKUI::NumberEdit>(85)->GetEditText(), L"12");
  EXPECT_EQ(C<PLKUI::CRadioButton>(147)->GetCheck(), 1);
  EXPECT_EQ(C<PLKUI::ColorButtonEx>(115)->GetCheck(), 1);
  for (int id = 114; id <= 120; ++id) EXPECT_EQ(C<PLKUI::MControl>(id)->IsVisible(), id <= 117) << id;
  EXPECT_EQ(C<PLKUI::DPIControl>(105)->GetDPIValue(), 5600);
  EXPECT_EQ(C<PLKUI::DPIControl>(105)->GetColor(), 123u);
  EXPECT_EQ(C<PLKUI::DPIControl>(105)->GetCheck(), 1);
  EXPECT_EQ(window->current_dpi_control.load(), 105);
  EXPECT_EQ(C<PLKUI::DPISlider>(107)->GetProgress(), 56);
  EXPECT_EQ(C<PLKUI::CCheckButton>(135)->GetCheck(), 1);
  EXPECT_EQ(C<PLKUI::CCheckButton>(136)->GetCheck(), 1);
  EXPECT_EQ(C<PLKUI::CCheckButton>(137)->GetCheck(), 0);
  EXPECT_EQ(C<PLKUI::CRadioButton>(131)->GetCheck(), 1);
  EXPECT_EQ(C<PLKUI::CRadioButton>(142)->GetCheck(), 1);
  EXPECT_EQ(C<PLKUI::CSwitchButton>(274)->GetCheck(), 1);
  EXPECT_EQ(C<PLKUI::MComboBox>(126)->GetCurData(), 20);

  // A Nordic mouse that reaches 4000 Hz: six buttons, game mode off at index 5.
  window->current_device_type.store(201);
  window->highest_rate_index.store(5);
  SetConfig(L"report_rate", L"6");
  SetConfig(L"e-sports_flag", L"2");
  window->LoadPerformancePage();
  EXPECT_EQ(C<PLKUI::ColorButtonEx>(119)->GetCheck(), 1);
  for (int id = 114; id <= 120; ++id) EXPECT_EQ(C<PLKUI::MControl>(id)->IsVisible(), id <= 119) << id;
  EXPECT_EQ(C<PLKUI::CRadioButton>(146)->GetCheck(), 0);
  EXPECT_FALSE(C<PLKUI::MControl>(147)->IsEnabled());
}

}  // namespace
}  // namespace tk410
