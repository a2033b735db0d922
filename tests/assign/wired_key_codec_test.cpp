#include "assign/wired_key_codec.h"

#include <gtest/gtest.h>

namespace tk410 {
namespace {

MacroRecord Macro(int id, const wchar_t* name, int play_type = 0, int play_times = 1) {
  MacroRecord m;
  m.macro_id = id;
  m.name = name;
  m.play_type = play_type;
  m.play_times = play_times;
  return m;
}

RecordList<MacroRecord> Macros(std::initializer_list<MacroRecord> rows) {
  RecordList<MacroRecord> list;
  for (const auto& row : rows) list.push_back(std::make_unique<MacroRecord>(row));
  return list;
}

KeyMacroRecord Row(int key_code, int kind, int value, int value2 = 0) {
  KeyMacroRecord row;
  row.profile = 1;
  row.key_code = key_code;
  row.macro_type = kind;
  row.macro_value = value;
  row.macro_value2 = value2;
  return row;
}

// Code layout: byte 0 group, bytes 1-3 parameters.
//   20 btn b2 00 mouse button    21 xx yy 00 wheel/function    F0 grp n 00 DPI
//   10 mods usage 00 keyboard    30 lo hi 00 consumer usage    50 n 00 00 emoji
//   70 pos count mode macro      00 own-function bytes         zero code
// Each row is encoded, decoded from the slot of its key_code, and the decoded
// row compared with what the device read must store.
TEST(WiredKeyCodecTest, EveryKindRoundTripsThroughItsCode) {
  const auto macros = Macros({Macro(11, L"first"), Macro(12, L"second", 0, 5)});
  struct Case {
    int key_code, kind, value, value2;
    WiredKeyCode code;
    int read_kind, read_value, read_value2;  // read_kind 0: nothing is stored
    const wchar_t* read_text;
  };
  const Case cases[] = {
      {1, 1, 1, 0, {0x20, 0x01, 0x00, 0x00}, 1, 1, 0, L"121"},
      {2, 2, 1, 0, {0x20, 0x04, 0x00, 0x00}, 2, 1, 0, L"123"},
      {3, 3, 1, 0, {0x20, 0x02, 0x00, 0x00}, 3, 1, 0, L"122"},
      {4, 4, 1, 0, {0x20, 0x01, 0x02, 0x00}, 4, 1, 0, L"126"},  // read text differs from "111"
      {5, 5, 1, 0, {0x20, 0x10, 0x00, 0x00}, 5, 1, 0, L"124"},
      {6, 6, 1, 0, {0x20, 0x08, 0x00, 0x00}, 6, 1, 0, L"125"},
      {7, 7, 1, 0, {0x21, 0x38, 0x01, 0x00}, 7, 1, 0, L"127"},
      {8, 8, 1, 0, {0x21, 0x38, 0xFF, 0x00}, 8, 1, 0, L"128"},
      {9, 9, 1, 0, {0x21, 0x55, 0x00, 0x00}, 9, 1, 0, L"90"},
      {10, 10, 1, 0, {0x21, 0xAA, 0x00, 0x00}, 10, 1, 0, L"91"},
      {11, 11, 1, 0, {0x21, 0x61, 0x00, 0x00}, 11, 1, 0, L"156"},
      {1, 12, 1, 0, {0x21, 0x62, 0x00, 0x00}, 0, 0, 0, L""},  // sent, never read back
      {2, 15, 1, 0, {0xF0, 0x01, 0x01, 0x00}, 15, 1, 0, L"150"},
      {3, 16, 1, 0, {0xF0, 0x01, 0x02, 0x00}, 16, 1, 0, L"151"},
      {4, 17, 1, 0, {0xF0, 0x01, 0x03, 0x00}, 17, 1, 0, L"152"},
      {5, 19, 1, 0, {0xF0, 0x02, 0x01, 0x00}, 19, 1, 0, L"153"},
      {6, 20, 1, 0, {0xF0, 0x02, 0x02, 0x00}, 20, 1, 0, L"154"},
      {7, 21, 1, 0, {0xF0, 0x02, 0x03, 0x00}, 21, 1, 0, L"155"},
      {8, 22, 0x04, 0x05, {0x10, 0x05, 0x04, 0x00}, 22, 0x04, 0x05, L"Ctrl+ Alt + A"},
      {9, 22, 0x3A, 0x00, {0x10, 0x00, 0x3A, 0x00}, 22, 0x3A, 0, L"F1"},
      // A lone Left Shift travels as its modifier bit.
      {10, 22, 0xE1, 0x00, {0x10, 0x02, 0x00, 0x00}, 22, 0, 0x02, L"Shift"},
      {11, 23, 12, 0, {0x70, 0x01, 0x05, 0x00}, 23, 12, 0, L"second"},
      {1, 24, 1, 0, {0x00, 0x01, 0x00, 0x00}, 24, 1, 0, L"162"},
      {1, 27, 64, 0, {0x50, 0x40, 0x00, 0x00}, 27, 64, 0, L"表情符号"},
      {2, 25, 1, 0, {0x30, 0x83, 0x01, 0x00}, 25, 1, 0, L"178"},
      {2, 25, 2, 0, {0x30, 0xCD, 0x00, 0x00}, 25, 2, 0, L"179"},
      {2, 25, 3, 0, {0x30, 0xB7, 0x00, 0x00}, 25, 3, 0, L"182"},
      {2, 25, 4, 0, {0x30, 0xB6, 0x00, 0x00}, 25, 4, 0, L"180"},
      {2, 25, 5, 0, {0x30, 0xB5, 0x00, 0x00}, 25, 5, 0, L"181"},
      {2, 25, 6, 0, {0x30, 0xE9, 0x00, 0x00}, 25, 6, 0, L"175"},
      {2, 25, 7, 0, {0x30, 0xEA, 0x00, 0x00}, 25, 7, 0, L"176"},
      {2, 25, 8, 0, {0x30, 0xE2, 0x00, 0x00}, 25, 8, 0, L"177"},
      {3, 26, 1, 0, {0x30, 0x6F, 0x00, 0x00}, 26, 1, 0, L"185"},
      {3, 26, 2, 0, {0x30, 0x70, 0x00, 0x00}, 26, 2, 0, L"186"},
      {3, 26, 3, 0, {0x30, 0x92, 0x01, 0x00}, 26, 3, 0, L"187"},
      {3, 26, 4, 0, {0x10, 0x08, 0x08, 0x00}, 26, 4, 0, L"189"},
      {3, 26, 5, 0, {0x10, 0x08, 0x07, 0x00}, 26, 5, 0, L"188"},
      {3, 26, 6, 0, {0x30, 0x23, 0x02, 0x00}, 26, 6, 0, L"190"},
      {3, 26, 7, 0, {0x30, 0x8A, 0x01, 0x00}, 26, 7, 0, L"191"},
      {3, 26, 8, 0, {0x10, 0x00, 0x3E, 0x00}, 26, 8, 0, L"192"},
      {3, 26, 9, 0, {0x10, 0x04, 0x2B, 0x00}, 26, 9, 0, L"193"},
      {3, 26, 10, 0, {0x10, 0x08, 0x46, 0x00}, 26, 10, 0, L"194"},
      {3, 26, 11, 0, {0x10, 0x01, 0x06, 0x00}, 26, 11, 0, L"31"},
      {3, 26, 12, 0, {0x10, 0x01, 0x19, 0x00}, 26, 12, 0, L"32"},
      {3, 26, 13, 0, {0x10, 0x01, 0x1B, 0x00}, 26, 13, 0, L"36"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << "kind " << c.kind << " value " << c.value);
    const WiredKeyCode code = EncodeWiredKey(Row(c.key_code, c.kind, c.value, c.value2), macros);
    EXPECT_EQ(code, c.code);
    const auto read = DecodeWiredKey(3, WiredKeySlot(c.key_code), code, macros);
    if (c.read_kind == 0) {
      EXPECT_FALSE(read.has_value());
      continue;
    }
    ASSERT_TRUE(read.has_value());
    EXPECT_EQ(read->profile, 3);
    EXPECT_EQ(read->fn_layer, 0);
    EXPECT_EQ(read->key_code, c.key_code);
    EXPECT_EQ(read->macro_type, c.read_kind);
    EXPECT_EQ(read->macro_value, c.read_value);
    EXPECT_EQ(read->macro_value2, c.read_value2);
    EXPECT_EQ(read->macro_desc, c.read_text);
  }
}

TEST(WiredKeyCodecTest, KindsWithoutACodeAndTheZeroCodePerButton) {
  const RecordList<MacroRecord> none;
  for (int kind : {13, 14, 18, 101, 102, 103, 104, 105, 0, 999})
    EXPECT_EQ(EncodeWiredKey(Row(1, kind, 1), none), (WiredKeyCode{0, 0, 0, 0})) << kind;
  EXPECT_EQ(EncodeWiredKey(Row(1, 25, 9), none), (WiredKeyCode{0, 0, 0, 0}));
  EXPECT_EQ(EncodeWiredKey(Row(1, 26, 0), none), (WiredKeyCode{0, 0, 0, 0}));
  // A kind without a parameter encodes whatever its value.
  EXPECT_EQ(EncodeWiredKey(Row(1, 15, 7), none), (WiredKeyCode{0xF0, 0x01, 0x01, 0x00}));

  // 00 followed by the button's own function bytes.
  struct Case { int key_code; WiredKeyCode code; };
  const Case zero[] = {
      {1, {0x00, 0x01, 0x00, 0x00}}, {2, {0x00, 0x02, 0x00, 0x00}},
      {3, {0x00, 0x04, 0x00, 0x00}}, {4, {0x00, 0x10, 0x00, 0x00}},
      {5, {0x00, 0x08, 0x00, 0x00}}, {6, {0x00, 0x00, 0x00, 0x00}},
      {7, {0x00, 0x38, 0x01, 0x00}}, {8, {0x00, 0x38, 0xFF, 0x00}},
      {9, {0x00, 0x21, 0xAA, 0x00}}, {10, {0x00, 0x00, 0x00, 0x00}},
  };
  for (const auto& c : zero) EXPECT_EQ(EncodeWiredKey(Row(c.key_code, 24, 1), none), c.code);
}

// Macro code: 70, position in the macro list, repeat count, play mode
// (0 repeat, 2 mode 1, 3 mode 2).
TEST(WiredKeyCodecTest, MacroCodesCarryPositionAndPlayMode) {
  const auto macros = Macros({Macro(4, L"a", 0, 1), Macro(9, L"b", 1, 7), Macro(10, L"c", 2, 1),
                              Macro(15, L"d", 0, 255), Macro(16, L"e", 0, 0)});
  EXPECT_EQ(EncodeWiredKey(Row(1, 23, 4), macros), (WiredKeyCode{0x70, 0, 1, 0}));
  EXPECT_EQ(EncodeWiredKey(Row(1, 23, 9), macros), (WiredKeyCode{0x70, 1, 1, 2}));
  EXPECT_EQ(EncodeWiredKey(Row(1, 23, 10), macros), (WiredKeyCode{0x70, 2, 1, 3}));
  EXPECT_EQ(EncodeWiredKey(Row(1, 23, 15), macros), (WiredKeyCode{0x70, 3, 255, 0}));
  EXPECT_EQ(EncodeWiredKey(Row(1, 23, 16), macros), (WiredKeyCode{0x70, 4, 1, 0}));
  // A deleted macro has no position.
  EXPECT_EQ(EncodeWiredKey(Row(1, 23, 5), macros), (WiredKeyCode{0x70, 0, 0, 0}));

  // Deleting the first of three macros moves the other two forward.
  auto three = Macros({Macro(1, L"a"), Macro(2, L"b"), Macro(3, L"c")});
  EXPECT_EQ(EncodeWiredKey(Row(1, 23, 3), three)[1], 2);
  three.erase(three.begin());
  EXPECT_EQ(EncodeWiredKey(Row(1, 23, 2), three)[1], 0);
  EXPECT_EQ(EncodeWiredKey(Row(1, 23, 3), three)[1], 1);

  // Reading a position the list does not have stores nothing.
  EXPECT_FALSE(DecodeWiredKey(1, 0, {0x70, 5, 1, 0}, macros).has_value());
  EXPECT_FALSE(DecodeWiredKey(1, 0, {0x70, 0, 1, 0}, RecordList<MacroRecord>{}).has_value());
}

TEST(WiredKeyCodecTest, ReadRulesForSlotsAndUnusualCodes) {
  const RecordList<MacroRecord> none;
  const int expected_key_codes[] = {1, 2, 3, 5, 4, 6, 7, 8, 9, 10, 11};
  for (int slot = 0; slot < kWiredKeySlots; ++slot) {
    EXPECT_EQ(WiredSlotKeyCode(slot), expected_key_codes[slot]);
    EXPECT_EQ(WiredKeySlot(expected_key_codes[slot]), slot);
  }
  EXPECT_EQ(WiredSlotKeyCode(11), 0);
  EXPECT_EQ(WiredSlotKeyCode(-1), 0);
  EXPECT_EQ(WiredKeySlot(12), -1);
  EXPECT_FALSE(DecodeWiredKey(1, 11, {0x20, 0x01, 0, 0}, none).has_value());

  auto kind_of = [&](WiredKeyCode code) {
    const auto row = DecodeWiredKey(1, 0, code, none);
    return row ? row->macro_type : 0;
  };
  // Empty and unset slots, unknown groups and parameters: nothing stored.
  for (WiredKeyCode code : {WiredKeyCode{0, 0, 0, 0}, WiredKeyCode{0xFF, 0xFF, 0x20, 0x01},
                            WiredKeyCode{0xFF, 0xFF, 0, 0}, WiredKeyCode{0x20, 0x03, 0, 0},
                            WiredKeyCode{0x21, 0x38, 0x02, 0}, WiredKeyCode{0x30, 0x83, 0x00, 0},
                            WiredKeyCode{0x30, 0x11, 0, 0}, WiredKeyCode{0xF0, 0x01, 0x04, 0},
                            WiredKeyCode{0xF0, 0x03, 0x01, 0}, WiredKeyCode{0x40, 0, 0, 0}})
    EXPECT_EQ(kind_of(code), 0);
  // Untested bytes do not matter.
  EXPECT_EQ(kind_of({0x20, 0x01, 0x07, 0x09}), 1);
  EXPECT_EQ(kind_of({0x21, 0x55, 0x12, 0}), 9);
  EXPECT_EQ(kind_of({0x30, 0xCD, 0x44, 0}), 25);
  EXPECT_EQ(kind_of({0x30, 0x70, 0x44, 0}), 26);
  EXPECT_EQ(kind_of({0xFF, 0x00, 0, 0}), 0);
  // Any zero code reads as kind 24, whatever its own-function bytes.
  EXPECT_EQ(kind_of({0x00, 0x00, 0x00, 0x01}), 24);
  // A keyboard combination that is not a shortcut stays a key, right-hand bits kept.
  const auto key = DecodeWiredKey(1, 0, {0x10, 0x11, 0x06, 0}, none);
  ASSERT_TRUE(key.has_value());
  EXPECT_EQ(key->macro_type, 22);
  EXPECT_EQ(key->macro_value2, 0x11);
  EXPECT_EQ(key->macro_desc, L"Ctrl + C");
}

}  // namespace
}  // namespace tk410
