#include <gtest/gtest.h>

#include "assign/emoji_table.h"
#include "plkui/controls.h"
#include "sync/sync_task.h"
#include "wired_rig.h"

namespace tk410 {
namespace {

// Status report, first 21 bytes read: 0 AA, 1 FA, 2 and 3 both 38 = ignore,
// 8 type (10 stage+rate, 11 lighting, 50/60 emoji, D0 battery), 9 first
// value, 10 second value; FF in either value asks for the DPI stage write.
class WiredStatusTest : public ::testing::Test {
 protected:
  WiredStatusTest() {
    auto& w = rig_.Window();
    for (int id = ctl::kFirstDpiStage; id <= ctl::kLastDpiStage; ++id) {
      auto* stage = static_cast<PLKUI::DPIControl*>(w.CreateControl(L"DPIControl", id, {}, L""));
      stage->SetGroupName(L"DPI");
      stage->SetDPIValue(1000 * (id - 100) + 50);
    }
    slider_ = static_cast<PLKUI::DPISlider*>(w.CreateControl(L"DPISlider", ctl::kDpiSlider, {}, L""));
    slider_->SetRange(0, 260);
    for (int id = ctl::kFirstRate; id <= ctl::kLastRate; ++id) {
      static_cast<PLKUI::ColorButtonEx*>(w.CreateControl(L"ColorButtonEx", id, {}, L""))->SetGroupName(L"RATE");
    }
    light_ = static_cast<PLKUI::MComboBox*>(w.CreateControl(L"MComboBox", ctl::kLightCombo, {}, L""));
    for (int mode = 0; mode <= 6; ++mode) light_->AddItem(L"mode", mode);
    battery_ = static_cast<PLKUI::BatteryCtrl*>(w.CreateControl(L"BatteryCtrl", ctl::kBattery, {}, L""));
  }

  // Raises the report and runs one poll 200 ms after the previous one.
  void Poll(const WiredStatusReport& report) {
    rig_.Mouse().RaiseStatus(report);
    rig_.Manual().AdvanceMs(200);
    rig_.Routines().StatusPoll();
  }
  int Checked(int first, int last) {
    int checked = 0;
    for (int id = first; id <= last; ++id) {
      if (rig_.Window().Control<PLKUI::MCheckControl>(id)->GetCheck()) checked = id;
    }
    return checked;
  }

  WiredRig rig_;
  PLKUI::DPISlider* slider_ = nullptr;
  PLKUI::MComboBox* light_ = nullptr;
  PLKUI::BatteryCtrl* battery_ = nullptr;
};

TEST_F(WiredStatusTest, StageAndRateReports) {
  Poll({WiredStatusReport::kStageAndRate, 3, 2});
  EXPECT_EQ(rig_.Config(L"dpi_index"), L"2");
  EXPECT_EQ(Checked(ctl::kFirstDpiStage, ctl::kLastDpiStage), 103);
  EXPECT_EQ(rig_.Window().current_dpi_control.load(), 103);
  EXPECT_EQ(slider_->GetProgress(), 30);  // 3050 / 100
  EXPECT_EQ(rig_.Config(L"report_rate"), L"2");
  EXPECT_EQ(Checked(ctl::kFirstRate, ctl::kLastRate), 115);

  // The same stage again: only the rate is taken.
  rig_.SetConfig(L"dpi_index", L"0");
  Poll({WiredStatusReport::kStageAndRate, 3, 4});
  EXPECT_EQ(rig_.Config(L"dpi_index"), L"0");
  EXPECT_EQ(rig_.Config(L"report_rate"), L"4");
  EXPECT_EQ(Checked(ctl::kFirstRate, ctl::kLastRate), 117);
  EXPECT_EQ(rig_.Window().last_report_rate, 4);

  // Stage 0 counts as 1, stage 9 as 6; rate 7 checks the 1000 Hz button.
  Poll({WiredStatusReport::kStageAndRate, 0, 1});
  EXPECT_EQ(rig_.Config(L"dpi_index"), L"0");
  EXPECT_EQ(Checked(ctl::kFirstDpiStage, ctl::kLastDpiStage), 101);
  EXPECT_EQ(Checked(ctl::kFirstRate, ctl::kLastRate), 114);
  Poll({WiredStatusReport::kStageAndRate, 9, 7});
  EXPECT_EQ(rig_.Config(L"dpi_index"), L"5");
  EXPECT_EQ(Checked(ctl::kFirstDpiStage, ctl::kLastDpiStage), 106);
  EXPECT_EQ(Checked(ctl::kFirstRate, ctl::kLastRate), 117);
}

TEST_F(WiredStatusTest, BatteryLightingEmojiAndStageRequest) {
  Poll({WiredStatusReport::kBattery, 150, 1});
  EXPECT_EQ(battery_->GetBatteryLevel(), 100);
  EXPECT_EQ(battery_->GetBatteryState(), 1);

  Poll({WiredStatusReport::kLighting, 9, 0});
  EXPECT_EQ(light_->GetCurSel(), 6);
  EXPECT_EQ(rig_.Config(L"light_mode"), L"6");

  Poll({WiredStatusReport::kEmoji, 1, 0});
  Poll({WiredStatusReport::kEmojiAlt, 2, 0});
  const std::wstring text = EmojiText(1) + EmojiText(2);
  std::u16string expected;
  for (wchar_t c : text) {
    if (c == L'\r') continue;
    if (c > 0xFFFF) {
      expected += static_cast<char16_t>(0xD800 + ((c - 0x10000) >> 10));
      expected += static_cast<char16_t>(0xDC00 + ((c - 0x10000) & 0x3FF));
    } else {
      expected += static_cast<char16_t>(c);
    }
  }
  EXPECT_FALSE(expected.empty());
  EXPECT_EQ(rig_.Injector().TypedUnits(), expected);

  // FF in the second value, whatever the type: DpiStage is queued, nothing else.
  Poll({WiredStatusReport::kBattery, 20, 0xFF});
  EXPECT_EQ(battery_->GetBatteryLevel(), 100);
  EXPECT_EQ(rig_.Window().tasks.TryPop(), std::optional<int>(kTaskDpiStage));
  Poll({WiredStatusReport::kStageAndRate, 0xFF, 2});
  EXPECT_EQ(rig_.Window().tasks.TryPop(), std::optional<int>(kTaskDpiStage));
  EXPECT_EQ(rig_.Config(L"report_rate"), L"2");  // the default, untouched
}

TEST_F(WiredStatusTest, IgnoredMalformedAndEarlyReports) {
  // 38 38 at offsets 2, 3: ignored whatever else it holds.
  WiredStatusReport ignored{WiredStatusReport::kBattery, 10, 0};
  ignored.ignore = true;
  Poll(ignored);
  EXPECT_NE(battery_->GetBatteryLevel(), 10);

  // Within 200 ms of the last poll nothing is read; the report waits.
  rig_.Mouse().RaiseStatus({WiredStatusReport::kLighting, 4, 0});
  rig_.Manual().AdvanceMs(100);
  rig_.Routines().StatusPoll();
  EXPECT_EQ(rig_.Config(L"light_mode"), L"0");
  rig_.Manual().AdvanceMs(100);
  rig_.Routines().StatusPoll();
  EXPECT_EQ(rig_.Config(L"light_mode"), L"4");

  // A reply frame read by the poll (AA, command code) is not a status report.
  rig_.Mouse().SetFault(WiredFault::kLateReply, 1);
  rig_.Routines().WriteReportRate();
  rig_.Manual().AdvanceMs(2000);
  rig_.Routines().StatusPoll();
  EXPECT_EQ(rig_.Config(L"report_rate"), L"2");
  EXPECT_TRUE(rig_.Window().tasks.Empty());

  // Nothing to read: the poll waits its 1000 ms and changes nothing.
  const uint64_t before = rig_.Manual().TickMs();
  rig_.Manual().AdvanceMs(200);
  rig_.Routines().StatusPoll();
  EXPECT_EQ(rig_.Manual().TickMs() - before, 1200u);
}

}  // namespace
}  // namespace tk410
