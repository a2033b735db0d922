#include <gtest/gtest.h>

#include "base/text.h"
#include "device/wired_layout.h"
#include "plkui/controls.h"
#include "sync/wired_routines.h"
#include "wired_rig.h"

namespace tk410 {
namespace {

using Block = WiredSettingsBlock;

// A settings block the mouse could hold for profile index 0.
Block DeviceBlock() {
  Block b;
  b.light_mode = 3;
  b.report_rate = 1;
  b.stage_count = 4;
  b.active_stage = 2;
  b.dpi = {400, 49, 1600, 26000, 26001, 50};
  b.scroll_flag = 1;
  b.liftoff_height = 2;
  b.sensor_bits = 0x31;
  b.button_respondtime = 12;
  b.sleep_light = 7;
  b.esports_flag = 0;
  return b;
}

void HoldSettings(WiredRig& rig, const Block& b, int profile_index = 0) {
  rig.Mouse().WithFirmware([&](WiredFirmware& f) {
    f.SetSettings(profile_index, b.ToBytes());
    return 0;
  });
}

// Settings reply (0x0E), payload offsets: 9 light, 10 rate, 11 stage count,
// 12 active stage (1-based), 13..24 DPI LE, 48 scroll, 49 lift-off, 50 sensor
// (device bits 0x10, 0x01, 0x20 = stored 0x04, 0x08, 0x10), 51 response,
// 52 sleep, 53 e-sports. DPI outside 50..26000 is not stored.
TEST(WiredCommands, ReadAllStoresTheSettingsBlock) {
  WiredRig rig;
  HoldSettings(rig, DeviceBlock());
  EXPECT_TRUE(rig.Routines().ReadAll());
  const std::pair<const wchar_t*, const wchar_t*> expected[] = {
      {L"light_mode", L"3"},        {L"report_rate", L"1"},      {L"dpi_flag", L"4"},
      {L"dpi_count", L"4"},         {L"dpi_index", L"1"},        {L"dpi_group0_value", L"400"},
      {L"dpi_group1_value", L"1600"} /* 49: kept */,             {L"dpi_group2_value", L"1600"},
      {L"dpi_group3_value", L"26000"}, {L"dpi_group4_value", L"8000"} /* 26001: kept */,
      {L"dpi_group5_value", L"50"}, {L"scroll_flag", L"1"},      {L"liftoff_height", L"2"},
      {L"sensor_flag", L"28"},      {L"button_respondtime", L"12"}, {L"sleep_light", L"7"},
      {L"e-sports_flag", L"0"},     {L"dpi_group0_rgb", L"255"} /* colours are not read */,
  };
  for (const auto& [key, value] : expected) EXPECT_EQ(rig.Config(key), value) << key;

  // Active stage 0 gives index 0, 9 gives 5.
  for (const auto& [stage, index] : {std::pair{0, L"0"}, std::pair{9, L"5"}}) {
    Block b = DeviceBlock();
    b.active_stage = static_cast<uint8_t>(stage);
    HoldSettings(rig, b);
    rig.Routines().ReadAll();
    EXPECT_EQ(rig.Config(L"dpi_index"), index) << stage;
  }
}

// Offsets 9, 10, 11 all 0: the mouse holds no settings; nothing is stored
// and nothing is written back.
TEST(WiredCommands, SettingsReplyWithoutSettingsLeavesTheDatabase) {
  WiredRig rig;
  Block b = DeviceBlock();
  b.light_mode = b.report_rate = b.stage_count = 0;
  HoldSettings(rig, b);
  rig.ClearRequests();
  rig.Routines().ReadAll();
  EXPECT_EQ(rig.Config(L"dpi_group0_value"), L"800");
  EXPECT_EQ(rig.Config(L"sensor_flag"), L"53");
  EXPECT_EQ(rig.Config(L"dpi_index"), L"2");
  for (const auto& r : rig.Requests()) EXPECT_NE(r[1], kWiredSettingsWrite);
}

// A blank mouse (offsets 13..15 = FF FF FF) gets the database's settings at
// once: 0x0F with 11 = 6 stages, 12 = dpi_index + 1, DPI LE, colours as
// bits 0-7, 8-15, 16-23, stored sensor 53 (0x04|0x10|others) -> 0x30.
TEST(WiredCommands, BlankMouseGetsTheDatabaseSettings) {
  WiredRig rig;  // a fresh virtual mouse is blank
  rig.SetConfig(L"dpi_group3_value", L"30000");
  rig.SetConfig(L"dpi_group1_rgb", L"1193046");  // 0x123456
  rig.Routines().ReadAll();
  const auto s = rig.Firmware().Settings(0);
  auto at = [&](size_t offset) { return s[offset - Block::kFrameOffset]; };
  EXPECT_EQ(at(8), 0);
  EXPECT_EQ(at(9), 0);
  EXPECT_EQ(at(10), 2);
  EXPECT_EQ(at(11), 6);
  EXPECT_EQ(at(12), 3);
  EXPECT_EQ(at(13), 800 & 0xFF);
  EXPECT_EQ(at(14), 800 >> 8);
  EXPECT_EQ(at(19), 0);  // 30000 is out of range: sent as 0
  EXPECT_EQ(at(20), 0);
  EXPECT_EQ(at(23), 12000 & 0xFF);
  EXPECT_EQ(at(24), 12000 >> 8);
  EXPECT_EQ(at(28), 0x56);
  EXPECT_EQ(at(29), 0x34);
  EXPECT_EQ(at(30), 0x12);
  for (size_t o = 43; o <= 47; ++o) EXPECT_EQ(at(o), 0) << o;
  EXPECT_EQ(at(48), 0);
  EXPECT_EQ(at(49), 1);
  EXPECT_EQ(at(50), 0x30);
  EXPECT_EQ(at(51), 8);
  EXPECT_EQ(at(52), 20);
  EXPECT_EQ(at(53), 1);
  // The database is not changed by the blank reply.
  EXPECT_EQ(rig.Config(L"dpi_count"), L"5");

  // Stored sensor 0x1C is sent as 0x31.
  rig.SetConfig(L"sensor_flag", L"28");
  rig.Routines().WriteSettings();
  EXPECT_EQ(rig.Firmware().Settings(0)[50 - 8], 0x31);
}

// Single-value writes, payload: 55 cmd form check 03 00 00 profile | 8, 9 = 0,
// 10 value; 0x22 adds the DPI at 11, 12 (no range check). 0x21 and 0x22/0x23
// differ in the form byte (A5 / AE).
TEST(WiredCommands, SingleValueWritesAndTheProfileIndex) {
  WiredRig rig;
  rig.Window().current_profile.store(3);
  rig.SetConfig(L"dpi_index", L"4", 3);
  rig.SetConfig(L"dpi_group4_value", L"30000", 3);
  rig.SetConfig(L"report_rate", L"4", 3);
  rig.SetConfig(L"light_mode", L"5", 3);
  rig.ClearRequests();
  WiredRoutines r = rig.Routines();
  r.WriteDpiStage();
  r.WriteReportRate();
  r.WriteLightMode();
  const auto req = rig.Requests();
  ASSERT_EQ(req.size(), 3u);
  const std::vector<uint8_t> dpi(req[0].begin(), req[0].begin() + 13);
  const uint8_t check = static_cast<uint8_t>(0x03 + 2 + 5 + (30000 & 0xFF) + (30000 >> 8));
  EXPECT_EQ(dpi, (std::vector<uint8_t>{0x55, 0x22, 0xAE, check, 0x03, 0, 0, 2, 0, 0, 5, 30000 & 0xFF, 30000 >> 8}));
  EXPECT_EQ(std::vector<uint8_t>(req[1].begin(), req[1].begin() + 11),
            (std::vector<uint8_t>{0x55, 0x23, 0xAE, 0x09, 0x03, 0, 0, 2, 0, 0, 4}));
  EXPECT_EQ(std::vector<uint8_t>(req[2].begin(), req[2].begin() + 11),
            (std::vector<uint8_t>{0x55, 0x21, 0xA5, 0x0A, 0x03, 0, 0, 2, 0, 0, 5}));
  EXPECT_EQ(rig.Window().light_value.load(), 5);
  const auto s = rig.Firmware().Settings(2);
  EXPECT_EQ(s[12 - 8], 5);
  EXPECT_EQ(s[10 - 8], 4);
  EXPECT_EQ(s[9 - 8], 5);
}

// dpi_index outside 0..5 (a profile file may hold any number) is sent as
// the first stage, as the DPI page shows it: settings write offset 12 =
// stage 1; stage write offset 10 = stage 1, offsets 11, 12 = its DPI (800).
TEST(WiredCommands, StageIndexOutsideTheStagesIsSentAsTheFirst) {
  for (const wchar_t* index : {L"2147483647", L"-2147483648", L"6", L"-1"}) {
    WiredRig rig;
    rig.SetConfig(L"dpi_index", index);
    rig.ClearRequests();
    WiredRoutines r = rig.Routines();
    r.WriteSettings();
    r.WriteDpiStage();
    const auto req = rig.Requests();
    ASSERT_EQ(req.size(), 2u);
    EXPECT_EQ(req[0][12], 1) << ToUtf8(index);
    EXPECT_EQ(req[1][10], 1) << ToUtf8(index);
    EXPECT_EQ(req[1][11] | (req[1][12] << 8), 800) << ToUtf8(index);
  }
}

// Replies must echo the command code: with every reply carrying another
// code, neither the battery nor the settings are taken.
TEST(WiredCommands, RepliesToAnotherCommandAreNotStored) {
  WiredRig rig;
  HoldSettings(rig, DeviceBlock());
  rig.Mouse().WithFirmware([](WiredFirmware& f) {
    f.SetBattery(55, 1);
    return 0;
  });
  auto* battery = static_cast<PLKUI::BatteryCtrl*>(
      rig.Window().CreateControl(L"BatteryCtrl", ctl::kBattery, {}, L""));
  ASSERT_NE(battery, nullptr);
  rig.Mouse().SetFault(WiredFault::kOtherCommand, -1);
  rig.Routines().ReadAll();
  EXPECT_EQ(rig.Config(L"light_mode"), L"0");
  EXPECT_NE(battery->GetBatteryLevel(), 55);

  rig.Mouse().SetFault(WiredFault::kNone, 0);
  rig.Routines().ReadAll();
  EXPECT_EQ(battery->GetBatteryLevel(), 55);
  EXPECT_EQ(battery->GetBatteryState(), 1);
  EXPECT_EQ(rig.Config(L"light_mode"), L"3");
}

// Firmware reply 0x03: digits at offsets 23..25; a byte that is not an
// ASCII digit becomes 0 (31 41 39 -> "1.0.9"). Version labels: the feature
// text in the first label, "0.0.0" in the second for a direct connection.
TEST(WiredCommands, VersionLabels) {
  WiredRig rig;
  auto* a = static_cast<PLKUI::MControlFont*>(rig.Window().CreateControl(L"MText", ctl::kVersionLabelA, {}, L""));
  auto* b = static_cast<PLKUI::MControlFont*>(rig.Window().CreateControl(L"MText", ctl::kVersionLabelB, {}, L""));
  rig.Mouse().WithFirmware([](WiredFirmware& f) {
    f.SetFirmwareDigits("1A9");
    return 0;
  });
  WiredRoutines r = rig.Routines();
  r.VersionLabels();
  EXPECT_EQ(a->GetTitle(), L"V1.0.5");
  EXPECT_EQ(b->GetTitle(), L"0.0.0");
  r.FirmwareVersionLabel();
  EXPECT_EQ(a->GetTitle(), L"1.0.9");

  // No answer: the label keeps its text.
  rig.Mouse().SetFault(WiredFault::kNoReply, 3);
  r.FirmwareVersionLabel();
  EXPECT_EQ(a->GetTitle(), L"1.0.9");
}

// Without controls (no pages yet) every routine still runs.
TEST(WiredCommands, RoutinesTolerateMissingControls) {
  WiredRig rig;
  WiredRoutines r = rig.Routines();
  r.VersionLabels();
  r.FirmwareVersionLabel();
  r.RestoreSequence();
  EXPECT_EQ(rig.Config(L"report_rate"), L"4");  // direct connection
  EXPECT_EQ(rig.Firmware().Settings(0)[10 - 8], 4);
  EXPECT_EQ(rig.Firmware().MacroLength(), 64u);
}

}  // namespace
}  // namespace tk410
