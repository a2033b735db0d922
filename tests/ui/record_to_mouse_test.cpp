// End to end: a macro recorded on the macro page from scripted raw input,
// assigned to a button through the assignment dialog and written by the
// wired download routines reaches the virtual wired mouse with its entries
// and recorded delays.

#include <gtest/gtest.h>

#include <algorithm>

#include "app/lang_text.h"
#include "assign/button_function.h"
#include "assign/mouse_key_config_dlg.h"
#include "assign/wired_key_codec.h"
#include "platform/fake_raw_input.h"
#include "plkui/controls.h"
#include "plkui/headless_runtime.h"
#include "sync/wired_rig.h"
#include "ui/device_main_dlg.h"
#include "ui/macro_page.h"

namespace tk410 {
namespace {

TEST(RecordToMouse, RecordedMacroOnAButtonReachesTheWiredMouse) {
  WiredRig rig;
  InMemoryLanguageTexts texts(1033, {{351, L"Macro"}, {161, L"Macro"}});
  PLKUI::HeadlessRuntime runtime;
  RawInputHub hub;
  ScriptedRawInput keys;
  keys.Start(hub);
  DeviceMainServices services;
  services.db = &rig.Db();
  services.devices = &rig.Devices();
  services.clock = &rig.Manual();
  services.texts = &texts;
  services.raw_input = &hub;
  DeviceMainDlg window(services);
  window.SetRuntime(&runtime);
  window.InitUI();
  window.UISize(PLKUI::MRect{0, 0, 1121, 780});
  window.current_device_type.store(101);
  window.RefreshProfileList();
  window.FillFunctionLists();
  auto feed = [&](intptr_t handle) { window.SendMessage(kMsgRawInput, 0, handle); };

  // Record: A down, 50 ms, A up, 120 ms, left button down, 30 ms, up.
  window.GetControl(ctl::kMacroNew)->PerformClick();
  window.GetControl(ctl::kRecord)->PerformClick();
  ASSERT_TRUE(window.MacroEditor().Recording());
  feed(keys.KeyDown('A'));
  rig.Manual().AdvanceMs(50);
  feed(keys.KeyUp('A'));
  rig.Manual().AdvanceMs(120);
  feed(keys.Mouse(kRawLeftDown));
  rig.Manual().AdvanceMs(30);
  feed(keys.Mouse(kRawLeftUp));
  window.GetControl(ctl::kRecord)->PerformClick();
  RecordList<MacroRecord> macros;
  ASSERT_EQ(rig.Db().LoadMacros(macros), 1);
  const int macro_id = macros[0]->macro_id;

  // Assign it to button 5 (backward) through the dialog.
  runtime.AnswerNextModalByEnd([](PLKUI::MWindow& w) {
    auto& dialog = dynamic_cast<MouseKeyConfigDlg&>(w);
    dialog.GetControl(MouseKeyConfigDlg::kOk)->PerformClick();
  });
  auto* combo = window.Control<PLKUI::MComboBox>(ctl::KeyComboId(5));
  ASSERT_NE(combo, nullptr);
  for (int i = 0; i < combo->GetItemCount(); ++i)
    if (combo->GetItemData(i) == kKindMacro) combo->PerformSelect(i);
  KeyMacroRecord row;
  ASSERT_TRUE(rig.Db().GetKeyRecord(window.current_profile.load(), 0, 5, row));
  EXPECT_EQ(row.macro_type, kKindMacro);
  EXPECT_EQ(row.macro_value, macro_id);

  WiredRoutines routines(window);
  EXPECT_TRUE(routines.MacroDownload().Complete());
  routines.KeyDownload();

  // Entries: delay before the next entry (LE), class with press bit 0x40 and
  // last bit 0x80, code (HID usage 4 for A, mask 1 for the left button).
  const WiredFirmware fw = rig.Firmware();
  const auto stored = fw.StoredMacros();
  ASSERT_EQ(stored.size(), 1u);
  ASSERT_EQ(stored[0].size(), 4u);
  EXPECT_EQ(stored[0][0], (WiredMacroEntry{50, 0x42, 0x04}));
  EXPECT_EQ(stored[0][1], (WiredMacroEntry{120, 0x02, 0x04}));
  EXPECT_EQ(stored[0][2], (WiredMacroEntry{30, 0x43, 0x01}));
  EXPECT_EQ(stored[0][3].kind, 0x83);
  EXPECT_EQ(stored[0][3].code, 0x01);

  // The button's slot plays that macro.
  const auto slots = fw.Keys(window.current_profile.load() - 1);
  int slot = 0;
  while (slot < 11 && WiredSlotKeyCode(slot) != 5) ++slot;
  ASSERT_LT(slot, 11);
  WiredKeyCode code;
  std::copy(slots.begin() + slot * 4, slots.begin() + slot * 4 + 4, code.begin());
  const auto decoded = DecodeWiredKey(window.current_profile.load(), slot, code, macros);
  ASSERT_TRUE(decoded);
  EXPECT_EQ(decoded->macro_type, kKindMacro);
  EXPECT_EQ(decoded->macro_value, macro_id);
}

}  // namespace
}  // namespace tk410
