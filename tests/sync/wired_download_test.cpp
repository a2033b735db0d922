#include <gtest/gtest.h>

#include "assign/button_function.h"
#include "assign/wired_key_codec.h"
#include "macro/macro_steps.h"
#include "wired_rig.h"

namespace tk410 {
namespace {

WiredKeyTable::Code Slot(const WiredFirmware::KeyBytes& keys, int slot) {
  WiredKeyTable::Code c;
  std::copy(keys.begin() + slot * 4, keys.begin() + slot * 4 + 4, c.begin());
  return c;
}

// 0x09 key download, payload: 55 09 A5 check 2C 00 00 (profile - 1), slot s
// at 8 + 4s. Key 5 sits in slot 3, key 4 in slot 4; keys without a row get
// the slot's default code; rows for key numbers outside 1..11 are ignored.
TEST(WiredDownload, KeyDownloadPlacesCodesBySlot) {
  WiredRig rig;
  auto& db = rig.Db();
  db.SaveKeyRecord(KeyRow(2, 5, kKindKeyboard, 0x04, 0x01));  // Ctrl+A
  db.SaveKeyRecord(KeyRow(2, 4, kKindMultimedia, 3));
  db.SaveKeyRecord(KeyRow(2, 12, kKindKeyboard, 0x05));
  db.SaveKeyRecord(KeyRow(2, 0, kKindKeyboard, 0x06));
  db.SaveKeyRecord(KeyRow(2, -3, kKindKeyboard, 0x07));
  db.SaveKeyRecord(KeyRow(6, 1, kKindKeyboard, 0x08));  // profile 6 is not downloaded
  rig.ClearRequests();
  rig.Routines().KeyDownload();

  const auto req = rig.Requests();
  ASSERT_EQ(req.size(), 5u);
  for (int p = 0; p < 5; ++p) {
    EXPECT_EQ(std::vector<uint8_t>(req[p].begin(), req[p].begin() + 8),
              (std::vector<uint8_t>{0x55, 0x09, 0xA5, req[p][3], 0x2C, 0, 0, static_cast<uint8_t>(p)}));
  }
  const auto fw = rig.Firmware();
  const auto& defaults = WiredKeyTable::DefaultCodes();
  const auto keys = fw.Keys(1);
  EXPECT_EQ(Slot(keys, 3), (WiredKeyTable::Code{0x10, 0x01, 0x04, 0x00}));
  EXPECT_EQ(Slot(keys, 4), (WiredKeyTable::Code{0x30, 0xB7, 0x00, 0x00}));
  for (int s : {0, 1, 2, 5, 6, 7, 8, 9, 10}) EXPECT_EQ(Slot(keys, s), defaults[s]) << s;
  for (int p : {0, 2, 3, 4, 5}) {
    for (int s = 0; s < 11; ++s) EXPECT_EQ(Slot(fw.Keys(p), s), defaults[s]) << p << " " << s;
  }
}

// 0x08 key read for indexes 0..5 stores into profiles 1..6; the current
// profile stays; an empty slot (00 00 00 00) or FF FF .. leaves the row.
TEST(WiredDownload, KeyReadStoresPerProfileWithoutSwitching) {
  WiredRig rig;
  rig.Db().SaveKeyRecord(KeyRow(4, 2, kKindEmoji, 9));
  rig.Mouse().WithFirmware([](WiredFirmware& f) {
    WiredFrame w = WiredFrame::Request(kWiredKeyWrite, 0xA5, 0x2C, 3);
    const uint8_t table[44] = {0x10, 0x00, 0x3A, 0, 0, 0, 0, 0, 0xFF, 0xFF, 0, 0, 0x50, 0x07, 0, 0};
    std::copy(std::begin(table), std::end(table), w.bytes.begin() + 8);
    w.FillCheck();
    f.Handle(w);
    return 0;
  });
  rig.Window().current_profile.store(2);
  for (int index = 0; index < 6; ++index) rig.Routines().KeyRead(index);
  EXPECT_EQ(rig.Window().current_profile.load(), 2);
  KeyMacroRecord r;
  ASSERT_TRUE(rig.Db().GetKeyRecord(4, 0, 1, r));
  EXPECT_EQ(r.macro_type, kKindKeyboard);
  EXPECT_EQ(r.macro_value, 0x3A);
  ASSERT_TRUE(rig.Db().GetKeyRecord(4, 0, 2, r));  // empty slot: row kept
  EXPECT_EQ(r.macro_type, kKindEmoji);
  EXPECT_EQ(r.macro_value, 9);
  ASSERT_TRUE(rig.Db().GetKeyRecord(4, 0, 5, r));  // slot 3 holds key 5
  EXPECT_EQ(r.macro_type, kKindEmoji);
  EXPECT_EQ(r.macro_value, 7);
  ASSERT_TRUE(rig.Db().GetKeyRecord(6, 0, 1, r));  // index 5 -> profile 6
  EXPECT_EQ(r.macro_type, kKindLeftClick);
}

// Default key write: 55 09 A5 check 20 01 01 (profile - 1), slots 0..7 defaults.
TEST(WiredDownload, DefaultKeyWriteFrame) {
  WiredRig rig;
  rig.Window().current_profile.store(2);
  rig.ClearRequests();
  rig.Routines().DefaultKeyWrite();
  const auto req = rig.Requests();
  ASSERT_EQ(req.size(), 1u);
  std::vector<uint8_t> expected = {0x55, 0x09, 0xA5, 0, 0x20, 0x01, 0x01, 0x01};
  for (int s = 0; s < 8; ++s) {
    const auto& c = WiredKeyTable::DefaultCodes()[s];
    expected.insert(expected.end(), c.begin(), c.end());
  }
  expected.resize(64, 0);
  expected[3] = WiredFrame::ComputeCheck(expected.data());
  EXPECT_EQ(req[0], expected);
}

// Macro download: 0x0D chunks, payload 55 0D 00 check length offset(LE)
// 00 data(8..63), then 55 10 A5 check 00 00 00 00. Tap of A: 72 bytes in
// chunks of 56 and 16.
TEST(WiredDownload, MacroDownloadChunksAndEnd) {
  WiredRig rig;
  const int id = rig.Db().AddMacro(L"tap");
  MacroEvent down{0, id, static_cast<int>(MacroEventType::KeyDown), 0, 0x41, 1, L""};
  MacroEvent up{0, id, static_cast<int>(MacroEventType::KeyUp), 1, 0x41, 2, L""};
  rig.Db().AddMacroEvents({down, up});
  rig.ClearRequests();
  const MacroDownloadResult result = rig.Routines().MacroDownload();
  EXPECT_TRUE(result.Complete());
  EXPECT_EQ(result.image_length, 72u);
  const auto req = rig.Requests();
  ASSERT_EQ(req.size(), 3u);
  EXPECT_EQ(std::vector<uint8_t>(req[0].begin(), req[0].begin() + 3), (std::vector<uint8_t>{0x55, 0x0D, 0x00}));
  EXPECT_EQ(std::vector<uint8_t>(req[0].begin() + 4, req[0].begin() + 10), (std::vector<uint8_t>{56, 0, 0, 0, 64, 0}));
  EXPECT_EQ(std::vector<uint8_t>(req[1].begin() + 4, req[1].begin() + 8), (std::vector<uint8_t>{16, 56, 0, 0}));
  EXPECT_EQ(std::vector<uint8_t>(req[1].begin() + 8, req[1].begin() + 24),
            (std::vector<uint8_t>{0, 0, 0, 0, 0, 0, 0, 0, 0x0A, 0, 0x42, 0x04, 0, 0, 0x82, 0x04}));
  EXPECT_EQ(std::vector<uint8_t>(req[1].begin() + 24, req[1].end()), std::vector<uint8_t>(40, 0));
  EXPECT_EQ(std::vector<uint8_t>(req[2].begin(), req[2].begin() + 8),
            (std::vector<uint8_t>{0x55, 0x10, 0xA5, 0x00, 0x00, 0x00, 0x00, 0x00}));
  EXPECT_EQ(rig.Firmware().StoredMacros().size(), 1u);

  // 33 macros: 32 reach the mouse, the result says so, the table is right.
  for (int i = 0; i < 32; ++i) rig.Db().AddMacro(L"empty");
  const MacroDownloadResult many = rig.Routines().MacroDownload();
  EXPECT_EQ(many.status, WiredMacroImageStatus::kTooManyMacros);
  EXPECT_EQ(many.macros_given, 33);
  EXPECT_EQ(many.macros_sent, 32);
  const auto stored = rig.Firmware().StoredMacros();
  ASSERT_EQ(stored.size(), 32u);
  EXPECT_EQ(stored[0].size(), 2u);
  EXPECT_EQ(stored[31], (std::vector<WiredMacroEntry>{WiredMacroEntry{0, 0x80, 0}}));
}

// A button names its macro by position in the macro list, and the mouse's
// offset table has 32 entries (positions 0..31). Buttons of macros at
// position 32 and later (not in the image) get their slot's default code,
// never 70 20 .. or 70 21 .., which would make the mouse read an offset
// past its table.
TEST(WiredDownload, ButtonsOfMacrosPastTheTableKeepTheirDefaults) {
  WiredRig rig;
  std::vector<int> ids;
  for (int i = 0; i < 34; ++i) {
    ids.push_back(rig.Db().AddMacro(L"m"));
    rig.Db().AddMacroEvents({MacroEvent{0, ids.back(), static_cast<int>(MacroEventType::KeyDown), 0, 0x41, 0, L""},
                             MacroEvent{0, ids.back(), static_cast<int>(MacroEventType::KeyUp), 1, 0x41, 0, L""}});
  }
  struct Case {
    int key_code;
    int position;
  };
  const Case cases[] = {{1, 0}, {2, 31}, {3, 32}, {8, 33}};
  for (const Case& c : cases) rig.Db().SaveKeyRecord(KeyRow(1, c.key_code, kKindMacro, ids[c.position]));
  rig.Routines().MacroDownload();
  rig.Routines().KeyDownload();

  const auto keys = rig.Firmware().Keys(0);
  const auto& defaults = WiredKeyTable::DefaultCodes();
  for (const Case& c : cases) {
    const int slot = WiredKeySlot(c.key_code);
    const WiredKeyTable::Code expected =
        c.position < 32 ? WiredKeyTable::Code{0x70, static_cast<uint8_t>(c.position), 0x01, 0x00}
                        : defaults[slot];
    EXPECT_EQ(Slot(keys, slot), expected) << "macro position " << c.position;
  }
}

}  // namespace
}  // namespace tk410
