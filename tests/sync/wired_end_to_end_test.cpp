#include <gtest/gtest.h>

#include "assign/button_function.h"
#include "assign/wired_key_codec.h"
#include "macro/macro_steps.h"
#include "wired_rig.h"

namespace tk410 {
namespace {

using T = MacroEventType;
using Entry = WiredMacroEntry;

MacroEvent Step(int macro, T type, int value, const wchar_t* desc = L"") {
  return MacroEvent{0, macro, static_cast<int>(type), 0, value, 0, desc};
}

void AddSteps(ConfigDatabase& db, std::vector<MacroEvent> steps) {
  for (size_t i = 0; i < steps.size(); ++i) steps[i].record_index = static_cast<int>(i);
  db.AddMacroEvents(steps);
}

// A fresh database with assignments on profiles 1, 3 and 5 and two macros is
// written to the virtual mouse by the write-all routines; the mouse then
// holds exactly those settings (block at payload 8..53), key codes (slot
// table, key 5 in slot 3) and macros (image decoded back into entries), and
// a second fresh database reads the same rows back (colours, stage count and
// sensor bits the mouse does not carry excepted; macros are not read back,
// so the second database is given the same macro list first).
TEST(WiredEndToEnd, WriteAllThenReadBackIntoAFreshDatabase) {
  WiredRig rig;
  ConfigDatabase& db = rig.Db();
  const int tap = db.AddMacro(L"tap");
  const int move = db.AddMacro(L"move");
  AddSteps(db, {Step(tap, T::KeyDown, 0x41), Step(tap, T::Delay, 30), Step(tap, T::KeyUp, 0x41),
                Step(tap, T::ButtonDown, 1, L"\u2193  LB"), Step(tap, T::ButtonUp, 1, L"\u2191  LB")});
  AddSteps(db, {Step(move, T::Delay, 40), Step(move, T::MoveXY, 0x0583),
                Step(move, T::ButtonDown, 1, L"\u2191  Scroll Up"), Step(move, T::Delay, 100)});
  const std::vector<KeyMacroRecord> rows = {
      KeyRow(1, 1, kKindKeyboard, 0x04, 0x02), KeyRow(1, 5, kKindMacro, move), KeyRow(1, 8, kKindEmoji, 5),
      KeyRow(3, 4, kKindMultimedia, 3),        KeyRow(3, 2, kKindDpiUp, 1),    KeyRow(3, 11, kKindMacro, tap),
      KeyRow(5, 6, kKindShortcut, 2),
  };
  for (const auto& r : rows) db.SaveKeyRecord(r);
  const std::pair<const wchar_t*, const wchar_t*> settings[] = {
      {L"light_mode", L"2"},        {L"report_rate", L"1"},        {L"dpi_index", L"3"},
      {L"dpi_group0_value", L"400"}, {L"dpi_group3_value", L"2500"}, {L"dpi_group5_value", L"26000"},
      {L"sensor_flag", L"28"},      {L"scroll_flag", L"1"},        {L"liftoff_height", L"2"},
      {L"button_respondtime", L"6"}, {L"sleep_light", L"10"},      {L"e-sports_flag", L"0"},
  };
  for (const auto& [key, value] : settings) rig.SetConfig(key, value);

  WiredRoutines w = rig.Routines();
  EXPECT_TRUE(w.MacroDownload().Complete());
  w.KeyDownload();
  w.WriteSettings();
  w.WriteDpiStage();
  w.WriteReportRate();

  const WiredFirmware fw = rig.Firmware();
  // Settings of profile index 0.
  WiredSettingsBlock expected;
  expected.light_mode = 2;
  expected.report_rate = 1;
  expected.stage_count = 6;
  expected.active_stage = 4;
  expected.dpi = {400, 1600, 3200, 2500, 8000, 26000};
  expected.colour = {255, 65280, 16711680, 65535, 16776960, 8388736};
  expected.scroll_flag = 1;
  expected.liftoff_height = 2;
  expected.sensor_bits = 0x31;
  expected.button_respondtime = 6;
  expected.sleep_light = 10;
  expected.esports_flag = 0;
  EXPECT_EQ(fw.Settings(0), expected.ToBytes());

  // Key codes: every assigned slot decodes to its row, every other slot holds its default.
  RecordList<MacroRecord> macros;
  db.LoadMacros(macros);
  for (int profile = 1; profile <= 5; ++profile) {
    const auto keys = fw.Keys(profile - 1);
    for (int slot = 0; slot < 11; ++slot) {
      WiredKeyCode code;
      std::copy(keys.begin() + slot * 4, keys.begin() + slot * 4 + 4, code.begin());
      const int key = WiredSlotKeyCode(slot);
      auto row = std::find_if(rows.begin(), rows.end(),
                              [&](const KeyMacroRecord& r) { return r.profile == profile && r.key_code == key; });
      if (row == rows.end()) {
        EXPECT_EQ(code, WiredKeyTable::DefaultCodes()[slot]) << profile << "/" << slot;
        continue;
      }
      const auto decoded = DecodeWiredKey(profile, slot, code, macros);
      ASSERT_TRUE(decoded) << profile << "/" << slot;
      EXPECT_EQ(decoded->macro_type, row->macro_type) << profile << "/" << key;
      EXPECT_EQ(decoded->macro_value, row->macro_value) << profile << "/" << key;
      EXPECT_EQ(decoded->macro_value2, row->macro_value2) << profile << "/" << key;
    }
  }

  // Macros: entries delay(LE) kind code. Tap: A down +30, A up +10, LB down
  // +10, LB up last (+41: the next macro's pending 1 + 40 leading delay).
  const auto stored = fw.StoredMacros();
  ASSERT_EQ(stored.size(), 2u);
  EXPECT_EQ(stored[0], (std::vector<Entry>{{30, 0x42, 0x04}, {10, 0x02, 0x04}, {10, 0x43, 0x01}, {41, 0x83, 0x01}}));
  // Move: XY 3 left 5 down (+10, sign bit 14), wheel up last with +100.
  EXPECT_EQ(stored[1], (std::vector<Entry>{{0x4000 | 10, 0x46, 0x35}, {100, 0xC4, 0x01}}));

  // Read back into a fresh database.
  testing::TempDir dir2;
  std::filesystem::create_directories(dir2.path() / "db");
  ConfigDatabase fresh;
  ASSERT_TRUE(fresh.OpenForDevice(dir2.wide(), L"TK410"));
  fresh.AddMacro(L"tap");
  fresh.AddMacro(L"move");
  DeviceMainDlg reader(DeviceMainServices{&fresh, &rig.Devices(), &rig.Manual()});
  reader.RefreshProfileList();
  EXPECT_TRUE(WiredRoutines(reader).ReadAll());

  for (const wchar_t* key : {L"light_mode", L"report_rate", L"dpi_index", L"dpi_group0_value", L"dpi_group1_value",
                             L"dpi_group2_value", L"dpi_group3_value", L"dpi_group4_value", L"dpi_group5_value",
                             L"sensor_flag", L"scroll_flag", L"liftoff_height", L"button_respondtime",
                             L"sleep_light", L"e-sports_flag"}) {
    std::wstring a, b;
    db.GetConfigValue(1, key, a);
    fresh.GetConfigValue(1, key, b);
    EXPECT_EQ(a, b) << key;
  }
  std::wstring count;
  fresh.GetConfigValue(1, L"dpi_count", count);
  EXPECT_EQ(count, L"6");
  for (const auto& r : rows) {
    KeyMacroRecord back;
    ASSERT_TRUE(fresh.GetKeyRecord(r.profile, 0, r.key_code, back)) << r.profile << "/" << r.key_code;
    EXPECT_EQ(back.macro_type, r.macro_type) << r.profile << "/" << r.key_code;
    EXPECT_EQ(back.macro_value, r.macro_value) << r.profile << "/" << r.key_code;
    EXPECT_EQ(back.macro_value2, r.macro_value2) << r.profile << "/" << r.key_code;
  }
}

}  // namespace
}  // namespace tk410
