#include <gtest/gtest.h>

#include "assign/button_function.h"
#include "macro/macro_steps.h"
#include "nordic_rig.h"

namespace tk410 {
namespace {

using Bytes = std::vector<uint8_t>;
using T = MacroEventType;

Bytes SlotOf(const Bytes& request, int slot) {
  return Bytes(request.begin() + 4 + 4 * slot, request.begin() + 8 + 4 * slot);
}

int AddMacro(ConfigDatabase& db, const wchar_t* name, std::vector<std::pair<T, int>> steps) {
  const int id = db.AddMacro(name);
  std::vector<MacroEvent> events;
  for (size_t i = 0; i < steps.size(); ++i) {
    events.push_back(MacroEvent{0, id, static_cast<int>(steps[i].first), static_cast<int>(i), steps[i].second, 0, L""});
  }
  db.AddMacroEvents(events);
  return id;
}

// Key table write: 03 00 A5 02 then 15 slots from byte 4; slot = key_code-1
// except 6 -> 8 and 7 -> 9. key_code 10 and 7 share slot 9: the row the
// database returns later wins. Unassigned buttons keep the table read last.
TEST(NordicDownload, KeyTableStartsFromTheLastReadAndLaterRowsWin) {
  NordicRig rig;
  ConfigDatabase& db = rig.Db();
  db.SaveKeyRecord(Row(1, 10, kKindDpiUp, 1));
  db.SaveKeyRecord(Row(1, 7, kKindKeyboard, 0xE0));   // lone Left Ctrl
  db.SaveKeyRecord(Row(1, 1, kKindMultimedia, 2));
  db.SaveKeyRecord(Row(1, 3, kKindEmoji, 4));        // no Nordic code: slot as read
  RecordList<KeyMacroRecord> rows;
  db.LoadKeyRecords(1, 0, rows);
  int order_7 = -1, order_10 = -1;
  for (size_t i = 0; i < rows.size(); ++i) {
    if (rows[i]->key_code == 7) order_7 = static_cast<int>(i);
    if (rows[i]->key_code == 10) order_10 = static_cast<int>(i);
  }

  rig.Protocol().DownloadNordicKeys();
  const auto requests = rig.Requests();
  ASSERT_EQ(requests.size(), 2u);  // the table read (no copy yet), then the write
  EXPECT_EQ(Bytes(requests[0].begin(), requests[0].begin() + 4), (Bytes{0x03, 0x00, 0x81, 0x01}));
  const Bytes& w = requests[1];
  EXPECT_EQ(Bytes(w.begin(), w.begin() + 4), (Bytes{0x03, 0x00, 0xA5, 0x02}));
  EXPECT_EQ(SlotOf(w, 0), (Bytes{0x03, 0x00, 0xCD, 0x00}));
  EXPECT_EQ(SlotOf(w, 2), (Bytes{0x01, 0x00, 0xF2, 0x00}));  // as read: middle click
  const Bytes ctrl{0x00, 0x01, 0x00, 0x00};
  const Bytes dpi_up{0x07, 0x00, 0x01, 0x00};
  EXPECT_EQ(SlotOf(w, 9), order_10 > order_7 ? dpi_up : ctrl);
  const auto keys = rig.Firmware().Keys(0);
  EXPECT_EQ(Bytes(keys.begin() + 36, keys.begin() + 40), SlotOf(w, 9));

  // A second download starts again from the copy of the table read, not
  // from what was written.
  EXPECT_EQ(rig.State().key_table[4], 0x01);
  rig.ClearRequests();
  rig.Protocol().DownloadNordicKeys();
  ASSERT_EQ(rig.Requests().size(), 1u);
}

// A failed table read leaves the slot area zero: unassigned buttons go out
// as 00 00 00 00.
TEST(NordicDownload, FailedTableReadSendsZeroCodes) {
  NordicRig rig;
  rig.Device().SetFault(NordicFault::kNoReply, 2);
  rig.Protocol().DownloadNordicKeys();
  const auto requests = rig.Requests();
  ASSERT_EQ(requests.size(), 3u);
  EXPECT_EQ(Bytes(requests[2].begin() + 4, requests[2].begin() + 63), Bytes(59, 0));
}

// One macro on buttons 2 and 4: one image with macro slot 0; both key slots
// read 09, play mode, 00, 00. A macro no button uses is not sent.
TEST(NordicDownload, MacroOnTwoButtonsIsSentOnce) {
  NordicRig rig;
  ConfigDatabase& db = rig.Db();
  const int unused = AddMacro(db, L"unused", {{T::KeyDown, 0x42}, {T::KeyUp, 0x42}});
  const int tap = AddMacro(db, L"tap", {{T::KeyDown, 0x41}, {T::Delay, 30}, {T::KeyUp, 0x41}});
  (void)unused;
  db.SaveKeyRecord(Row(1, 2, kKindMacro, tap));
  db.SaveKeyRecord(Row(1, 4, kKindMacro, tap));

  NordicProtocol protocol = rig.Protocol();
  const NordicMacroResult result = protocol.DownloadNordicMacros();
  EXPECT_EQ(result.sent, 1);
  EXPECT_EQ(result.truncated, 0);
  protocol.DownloadNordicKeys();

  const auto requests = rig.Requests();
  ASSERT_EQ(requests.size(), 3u);  // the image, the table read, the table write
  EXPECT_EQ(Bytes(requests[0].begin(), requests[0].begin() + 5), (Bytes{0x07, 0x00, 0xB2, 0x02, 0x00}));
  EXPECT_EQ(SlotOf(requests[2], 1), (Bytes{0x09, 0x01, 0x00, 0x00}));
  EXPECT_EQ(SlotOf(requests[2], 3), (Bytes{0x09, 0x01, 0x00, 0x00}));

  const auto fw = rig.Firmware();
  ASSERT_EQ(fw.Macros().size(), 1u);
  const auto& image = fw.Macros().at(0);
  EXPECT_EQ(image.Length(), 48u);
  EXPECT_EQ(Bytes(image.bytes.begin() + 40, image.bytes.begin() + 48),
            (Bytes{0x01, 0x04, 0x1E, 0x00, 0x81, 0x04, 0x0A, 0x00}));
}

// A macro above 246 steps reaches the mouse cut at 1024 bytes; the download
// says so in its result.
TEST(NordicDownload, OversizedMacroNeverExceedsTheImage) {
  NordicRig rig;
  std::vector<std::pair<T, int>> steps;
  for (int i = 0; i < 150; ++i) {
    steps.push_back({T::KeyDown, 0x41});
    steps.push_back({T::KeyUp, 0x41});
  }
  const int big = AddMacro(rig.Db(), L"big", steps);
  rig.Db().SaveKeyRecord(Row(1, 5, kKindMacro, big));
  const NordicMacroResult result = rig.Protocol().DownloadNordicMacros();
  EXPECT_EQ(result.sent, 1);
  EXPECT_EQ(result.truncated, 1);
  const auto fw = rig.Firmware();
  EXPECT_EQ(fw.OversizeChunks(), 0);
  EXPECT_EQ(fw.Macros().at(0).received, 1024u);
  EXPECT_EQ(fw.Macros().at(0).Length(), 1024u);
  EXPECT_EQ(rig.Requests().size(), 18u);
}

// Macro slots count every macro a row of the profile names, rows of key
// codes without a key slot included; the mouse holds 32 macros (slots
// 0..31). A macro whose slot would be 32 or more is not sent, its buttons
// get their default codes (left click 01 00 F0 00, middle click 01 00 F2 00),
// and the result names it.
TEST(NordicDownload, MacrosPastTheMouseSlotsAreNeitherSentNorAddressed) {
  NordicRig rig;
  ConfigDatabase& db = rig.Db();
  std::vector<int> ids;
  for (int i = 0; i < 34; ++i) ids.push_back(AddMacro(db, L"m", {{T::KeyDown, 0x41}, {T::KeyUp, 0x41}}));
  for (int i = 0; i < 32; ++i) db.SaveKeyRecord(Row(1, 20 + i, kKindMacro, ids[i]));  // slots 0..31
  db.SaveKeyRecord(Row(1, 1, kKindMacro, ids[32]));
  db.SaveKeyRecord(Row(1, 3, kKindMacro, ids[33]));
  db.SaveKeyRecord(Row(1, 2, kKindMacro, ids[31]));

  NordicProtocol protocol = rig.Protocol();
  const NordicMacroResult result = protocol.DownloadNordicMacros();
  EXPECT_EQ(result.given, 34);
  EXPECT_EQ(result.sent, 32);
  EXPECT_EQ(result.not_whole, (std::vector<int>{ids[32], ids[33]}));
  protocol.DownloadNordicKeys();

  const auto fw = rig.Firmware();
  ASSERT_FALSE(fw.Macros().empty());
  EXPECT_EQ(fw.Macros().rbegin()->first, 31);
  const auto& keys = fw.Keys(0);
  const auto defaults = NordicKeyTable::DefaultArea();
  EXPECT_EQ(Bytes(keys.begin(), keys.begin() + 4), Bytes(defaults.begin(), defaults.begin() + 4));
  EXPECT_EQ(Bytes(keys.begin() + 8, keys.begin() + 12), Bytes(defaults.begin() + 8, defaults.begin() + 12));
  EXPECT_EQ(Bytes(keys.begin() + 4, keys.begin() + 8), (Bytes{0x09, 0x01, 31, 0x00}));
}

// Reading the table stores rows for slots 0-4, 7, 8 (key_codes 1-5, 8, 9):
// 01 00 F8 01 -> scroll up "112", 0A 01 00 00 -> 105/9 "134", 00 01 00 00
// -> Left Ctrl; a macro code leaves the button's row alone.
TEST(NordicDownload, ReadDecodesTheButtonSlots) {
  NordicRig rig;
  // The mouse's table: slot 0 scroll up, 1 special, 2 macro, 3 Left Ctrl.
  NordicProtocol protocol = rig.Protocol();
  rig.Db().SaveKeyRecord(Row(1, 1, kKindScrollUp, 1));
  rig.Db().SaveKeyRecord(Row(1, 2, kKindNordic105, 9));
  rig.Db().SaveKeyRecord(Row(1, 4, kKindKeyboard, 0xE0));
  protocol.DownloadNordicKeys();
  // Slot 2 gets a macro code straight on the device.
  rig.Device().WithFirmware([](NordicFirmware& f) {
    NordicFrame w = nordic::Request(0, nordic::kCmdKeyTable, nordic::kCodeKeyTable, nordic::kSubBlockWrite);
    const auto keys = f.Keys(0);
    std::copy(keys.begin(), keys.begin() + 59, w.data() + 4);
    w[12] = 0x09;
    w[13] = 0x01;
    w[63] = NordicFrame::CheckByte(w.data());
    f.Handle(w.data(), 64);
    return 0;
  });
  rig.Db().DeleteProfileKeys(1);
  rig.Db().SaveKeyRecord(Row(1, 3, kKindDpiDown, 1));
  ASSERT_TRUE(protocol.ReadNordicAll());

  EXPECT_EQ(rig.Key(1).macro_type, kKindScrollUp);
  EXPECT_EQ(rig.Key(1).macro_desc, L"112");
  EXPECT_EQ(rig.Key(2).macro_type, kKindNordic105);
  EXPECT_EQ(rig.Key(2).macro_value, 9);
  EXPECT_EQ(rig.Key(2).macro_desc, L"134");
  EXPECT_EQ(rig.Key(3).macro_type, kKindDpiDown);  // macro code: row kept
  EXPECT_EQ(rig.Key(4).macro_type, kKindKeyboard);
  EXPECT_EQ(rig.Key(4).macro_value, 0);
  EXPECT_EQ(rig.Key(4).macro_value2, 1);
  EXPECT_EQ(rig.Key(8).macro_type, kKindDpiCycle);  // slot 7
  EXPECT_EQ(rig.Key(6).key_code, 0);                // slot 5 is not read back
}

}  // namespace
}  // namespace tk410
