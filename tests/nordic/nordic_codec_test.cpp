#include <gtest/gtest.h>

#include <limits>

#include "assign/button_function.h"
#include "macro/macro_steps.h"
#include "nordic/nordic_key_codec.h"
#include "nordic/nordic_macro_image.h"

namespace tk410 {
namespace {

using Slot = NordicKeyTable::Slot;
using T = MacroEventType;

KeyMacroRecord Kind(int kind, int value, int value2 = 0, int value3 = 0) {
  KeyMacroRecord r;
  r.key_code = 1;
  r.macro_type = kind;
  r.macro_value = value;
  r.macro_value2 = value2;
  r.macro_value3 = value3;
  return r;
}

RecordList<MacroRecord> Macros(std::initializer_list<MacroRecord> list) {
  RecordList<MacroRecord> out;
  for (const auto& m : list) out.push_back(std::make_unique<MacroRecord>(m));
  return out;
}

// Slot code of each kind: b0 family (00 keyboard, 01 mouse, 03 consumer,
// 07 DPI, 09 macro, 0A special), b1..b3 per family.
TEST(NordicKeyCodec, SlotCodeOfEveryKind) {
  const auto macros = Macros({MacroRecord{7, L"m", 1, 1, 0, 0}, MacroRecord{9, L"n", 0, 3, 0, 0}});
  const std::map<int, int> slots = {{7, 0}, {9, 1}};
  struct Case {
    KeyMacroRecord row;
    Slot code;
  };
  const Case cases[] = {
      {Kind(kKindLeftClick, 1), {0x01, 0x00, 0xF0, 0x00}},
      {Kind(kKindMiddleClick, 1), {0x01, 0x00, 0xF2, 0x00}},
      {Kind(kKindRightClick, 1), {0x01, 0x00, 0xF1, 0x00}},
      {Kind(kKindForward, 1), {0x01, 0x00, 0xF4, 0x00}},
      {Kind(kKindBackward, 1), {0x01, 0x00, 0xF3, 0x00}},
      {Kind(kKindScrollUp, 1), {0x01, 0x00, 0xF8, 0x01}},
      {Kind(kKindScrollDown, 1), {0x01, 0x00, 0xF8, 0xFF}},
      {Kind(kKindDpiUp, 1), {0x07, 0x00, 0x01, 0x00}},
      {Kind(kKindDpiDown, 1), {0x07, 0x00, 0x02, 0x00}},
      {Kind(kKindDpiCycle, 1), {0x07, 0x00, 0x03, 0x00}},
      {Kind(kKindDpiFunction0, 1), {0x07, 0x00, 0x00, 0x00}},
      {Kind(kKindKeyboard, 0x04, 0x03), {0x00, 0x03, 0x04, 0x00}},
      {Kind(kKindKeyboard, 0xE0, 0), {0x00, 0x01, 0x00, 0x00}},  // lone Left Ctrl
      {Kind(kKindKeyboard, 0xE5, 0), {0x00, 0x20, 0x00, 0x00}},  // lone Right Shift
      {Kind(kKindKeyboard, 0xE1, 0x01), {0x00, 0x01, 0xE1, 0x00}},
      {Kind(kKindMacro, 7), {0x09, 0x02, 0x00, 0x00}},  // play_type 1 -> mode 2
      {Kind(kKindMacro, 9), {0x09, 0x04, 0x01, 0x00}},  // play_times 3 -> mode 4
      {Kind(kKindZeroCode, 1), {0x00, 0x00, 0x00, 0x00}},
      {Kind(kKindMultimedia, 1), {0x03, 0x00, 0x83, 0x01}},
      {Kind(kKindMultimedia, 2), {0x03, 0x00, 0xCD, 0x00}},
      {Kind(kKindMultimedia, 8), {0x03, 0x00, 0xE2, 0x00}},
      {Kind(kKindMultimedia, 9), {0x03, 0x00, 0x00, 0x00}},
      {Kind(kKindNordic101, 4), {0x01, 0x00, 0xF9, 0x00}},
      {Kind(kKindNordic101, 10), {0x01, 0x00, 0xF6, 0x00}},
      {Kind(kKindNordic101, 11), {0x01, 0x00, 0x00, 0x00}},
      {Kind(kKindNordic102, 2), {0x07, 0x00, 0x02, 0x00}},
      {Kind(kKindNordic102, 5), {0x07, 0x00, 0x00, 0x00}},
      {Kind(kKindNordicRaw, 1024 + 0x22, 0x33, 0x0244), {0x12, 0x22, 0x44, 0x33}},
      {Kind(kKindNordicRaw, 0x41, 0x05, 0x0101), {0x31, 0x04, 0x01, 0x05}},
      {Kind(kKindNordic105, 1), {0x03, 0x00, 0x6F, 0x00}},
      {Kind(kKindNordic105, 6), {0x03, 0x00, 0x23, 0x02}},
      {Kind(kKindNordic105, 8), {0x00, 0x00, 0x3E, 0x00}},
      {Kind(kKindNordic105, 9), {0x0A, 0x01, 0x00, 0x00}},
      {Kind(kKindNordic105, 12), {0x00, 0x01, 0x19, 0x00}},
      {Kind(kKindNordic105, 5), {0x03, 0x00, 0x00, 0x00}},
  };
  for (const Case& c : cases) {
    Slot code{};
    ASSERT_TRUE(EncodeNordicSlot(c.row, slots, macros, &code)) << c.row.macro_type << "/" << c.row.macro_value;
    EXPECT_EQ(code, c.code) << c.row.macro_type << "/" << c.row.macro_value;
  }
  // Kinds without a code, and a macro that is not in the list, leave the slot.
  Slot code{};
  EXPECT_FALSE(EncodeNordicSlot(Kind(kKindEmoji, 5), slots, macros, &code));
  EXPECT_FALSE(EncodeNordicSlot(Kind(kKindShortcut, 2), slots, macros, &code));
  EXPECT_FALSE(EncodeNordicSlot(Kind(kKindMacro, 99), slots, macros, &code));
  // A macro missing from the slot map takes slot 0.
  ASSERT_TRUE(EncodeNordicSlot(Kind(kKindMacro, 9), {}, macros, &code));
  EXPECT_EQ(code, (Slot{0x09, 0x04, 0x00, 0x00}));
}

TEST(NordicKeyCodec, PlayModes) {
  EXPECT_EQ(NordicPlayMode(MacroRecord{1, L"", 1, 5, 0, 0}), 2);
  EXPECT_EQ(NordicPlayMode(MacroRecord{1, L"", 2, 5, 0, 0}), 3);
  EXPECT_EQ(NordicPlayMode(MacroRecord{1, L"", 0, 2, 0, 0}), 4);
  EXPECT_EQ(NordicPlayMode(MacroRecord{1, L"", 3, 1, 0, 0}), 1);
}

// Slot code read back -> row (kind, value, value2, text); key_code = slot + 1.
TEST(NordicKeyCodec, DecodeSlotCodes) {
  struct Case {
    Slot code;
    int kind, value, value2;
    const wchar_t* text;
  };
  const Case cases[] = {
      {{0x01, 0x00, 0xF8, 0x01}, kKindScrollUp, 1, 0, L"112"},
      {{0x01, 0x00, 0xF8, 0x00}, kKindScrollDown, 1, 0, L"113"},
      {{0x01, 0x00, 0xF0, 0x00}, kKindLeftClick, 1, 0, L"106"},
      {{0x01, 0x00, 0xF9, 0x00}, kKindLeftAlternate, 1, 0, L"111"},
      {{0x01, 0x00, 0xF6, 0x00}, kKindNordic101, 10, 0, L"115"},
      {{0x0A, 0x01, 0x00, 0x00}, kKindNordic105, 9, 0, L"134"},
      {{0x0A, 0x00, 0x00, 0x00}, kKindNordic105, 0, 0, L""},
      {{0x00, 0x00, 0x00, 0x00}, kKindZeroCode, 1, 0, L"139"},
      {{0x00, 0x00, 0x00, 0x05}, kKindKeyboard, 0, 0, L""},
      {{0x00, 0x01, 0x06, 0x00}, kKindNordic105, 11, 0, L"31"},
      {{0x00, 0x01, 0x1B, 0x00}, kKindNordic105, 13, 0, L"36"},
      {{0x00, 0x02, 0x3E, 0x00}, kKindNordic105, 8, 0, L"133"},
      {{0x03, 0x00, 0xB5, 0x07}, kKindMultimedia, 5, 0, L"123"},
      {{0x03, 0x00, 0x83, 0x01}, kKindMultimedia, 1, 0, L"120"},
      {{0x03, 0x00, 0x27, 0x02}, kKindNordic105, 8, 0, L"133"},
      {{0x07, 0x00, 0x03, 0x00}, kKindDpiCycle, 1, 0, L"DPI Loop"},
  };
  for (const Case& c : cases) {
    KeyMacroRecord row;
    ASSERT_TRUE(DecodeNordicSlot(7, c.code.data(), &row)) << int(c.code[0]) << " " << int(c.code[2]);
    EXPECT_EQ(row.key_code, 8);
    EXPECT_EQ(row.macro_type, c.kind) << int(c.code[2]);
    EXPECT_EQ(row.macro_value, c.value) << int(c.code[2]);
    EXPECT_EQ(row.macro_value2, c.value2);
    EXPECT_EQ(row.macro_desc, c.text);
  }
  // A keyboard code keeps its usage and modifiers.
  KeyMacroRecord row;
  const Slot ctrl_a{0x00, 0x01, 0x04, 0x00};
  ASSERT_TRUE(DecodeNordicSlot(0, ctrl_a.data(), &row));
  EXPECT_EQ(row.macro_type, kKindKeyboard);
  EXPECT_EQ(row.macro_value, 4);
  EXPECT_EQ(row.macro_value2, 1);
  EXPECT_FALSE(row.macro_desc.empty());
  // Nothing is stored for macros, blank codes and unknown families.
  for (const Slot& code : {Slot{0x09, 0x01, 0x00, 0x00}, Slot{0xFF, 0xFF, 0x00, 0x00},
                           Slot{0x05, 0x00, 0x00, 0x00}, Slot{0x03, 0x00, 0x83, 0x00}}) {
    EXPECT_FALSE(DecodeNordicSlot(0, code.data(), &row));
  }
}

MacroEvent Step(T type, int value, const wchar_t* desc = L"") {
  return MacroEvent{0, 1, static_cast<int>(type), 0, value, 0, desc};
}

RecordList<MacroEvent> Steps(std::initializer_list<MacroEvent> list) {
  RecordList<MacroEvent> out;
  for (const auto& e : list) out.push_back(std::make_unique<MacroEvent>(e));
  return out;
}

// Image: 0 play mode, 1 play_times, 36-37 delay_time, 38-39 step count,
// 40.. steps (code, value, delay LE). A step's delay is the sum of the delay
// steps after it, 10 when none.
TEST(NordicMacroImage, KeyPressDelayReleaseFitsOneRequest) {
  const MacroRecord macro{1, L"m", 0, 1, 0, 300};
  const auto build = BuildNordicMacroImage(macro, Steps({Step(T::KeyDown, 0x41), Step(T::Delay, 30),
                                                        Step(T::KeyUp, 0x41)}));
  const auto& b = build.image.bytes;
  EXPECT_EQ(b[0], 1);
  EXPECT_EQ(b[1], 1);
  EXPECT_EQ(b[36], 0x2C);
  EXPECT_EQ(b[37], 0x01);
  EXPECT_EQ(build.image.StepCount(), 2);
  EXPECT_EQ(build.image.length, 48u);
  EXPECT_EQ((std::vector<uint8_t>(b.begin() + 40, b.begin() + 48)),
            (std::vector<uint8_t>{0x01, 0x04, 0x1E, 0x00, 0x81, 0x04, 0x0A, 0x00}));

  // One request: 07, 00, 0x80 | (48 + 2), 02, slot, image bytes 0..57.
  const auto requests = build.image.Requests(1, 3);
  ASSERT_EQ(requests.size(), 1u);
  EXPECT_EQ((std::vector<uint8_t>(requests[0].bytes.begin(), requests[0].bytes.begin() + 6)),
            (std::vector<uint8_t>{0x47, 0x00, 0xB2, 0x02, 0x03, 0x01}));
  EXPECT_EQ(requests[0][5 + 40], 0x01);
}

// Step codes: side keys (160..165) 02/82, buttons 04/84, scroll buttons 05,
// wheel, moves; a step type without a code gets 00 00 and delay 0.
TEST(NordicMacroImage, StepCodes) {
  const auto build = BuildNordicMacroImage(
      MacroRecord{1, L"", 0, 1, 0, 0},
      Steps({Step(T::KeyDown, 160), Step(T::KeyUp, 165), Step(T::ButtonDown, 2, L"\u2193 RB"),
             Step(T::ButtonUp, 2), Step(T::ButtonDown, 0, L"\u2191  Scroll Up"),
             Step(T::ButtonUp, 0, L"Scroll Down"), Step(T::ButtonDown, 0, L"Scroll Down"),
             Step(T::WheelStep6, 1), Step(T::MoveLeft, 5), Step(T::MoveXY, 0x0583), Step(T::Delay, 0)}));
  const std::vector<uint8_t> expected = {
      0x02, 0xE1, 0x0A, 0x00, 0x82, 0xE6, 0x0A, 0x00, 0x04, 0x02, 0x0A, 0x00, 0x84, 0x02, 0x0A, 0x00,
      0x05, 0x01, 0x0A, 0x00, 0x85, 0x00, 0x0A, 0x00, 0x05, 0xFF, 0x0A, 0x00, 0x05, 0xFF, 0x0A, 0x00,
      0x06, 0xFF, 0x0A, 0x00, 0x00, 0x00, 0x00, 0x00};
  const auto& b = build.image.bytes;
  EXPECT_EQ(std::vector<uint8_t>(b.begin() + 40, b.begin() + 40 + expected.size()), expected);
  EXPECT_EQ(build.image.StepCount(), 10);
}

// 5 key steps: L = 60, two requests: byte 1 chunk number, byte 2 0xBC for the
// first (58 bytes), 0x84 for the second (image bytes 58 and 59).
TEST(NordicMacroImage, SixtyBytesGoInTwoChunks) {
  const auto build = BuildNordicMacroImage(
      MacroRecord{1, L"", 0, 1, 0, 0},
      Steps({Step(T::KeyDown, 0x41), Step(T::KeyUp, 0x41), Step(T::KeyDown, 0x42), Step(T::KeyUp, 0x42),
             Step(T::KeyDown, 0x43)}));
  EXPECT_EQ(build.image.length, 60u);
  const auto requests = build.image.Requests(0, 0);
  ASSERT_EQ(requests.size(), 2u);
  EXPECT_EQ(requests[0][1], 0);
  EXPECT_EQ(requests[0][2], 0xBC);
  EXPECT_EQ(requests[1][0], 0x07);
  EXPECT_EQ(requests[1][1], 1);
  EXPECT_EQ(requests[1][2], 0x84);
  EXPECT_EQ(requests[1][5], build.image.bytes[58]);
  EXPECT_EQ(requests[1][6], build.image.bytes[59]);
  EXPECT_EQ(requests[1][5], 0x0A);  // the last step's 10 ms
}

// Above 246 steps the image stops at 1024 bytes: the extra steps are left
// out and counted, the chunks never reach past the image.
TEST(NordicMacroImage, LongMacroIsCutAtTheImageSize) {
  RecordList<MacroEvent> steps;
  for (int i = 0; i < 300; ++i) {
    steps.push_back(std::make_unique<MacroEvent>(Step(i % 2 ? T::KeyUp : T::KeyDown, 0x41)));
    steps.push_back(std::make_unique<MacroEvent>(Step(T::Delay, 20)));
  }
  const auto build = BuildNordicMacroImage(MacroRecord{1, L"", 0, 1, 0, 0}, steps);
  EXPECT_TRUE(build.Truncated());
  EXPECT_EQ(build.dropped_steps, 54);
  EXPECT_EQ(build.image.StepCount(), 246);
  EXPECT_EQ(build.image.length, 1024u);
  EXPECT_EQ(build.image.bytes[1018], 20);  // delays between kept steps stay
  EXPECT_EQ(build.image.bytes[1022], 10);  // the last step keeps 10 ms
  const auto requests = build.image.Requests(0, 0);
  ASSERT_EQ(requests.size(), 18u);
  EXPECT_EQ(requests.back()[2], 0x80 | (1024 - 58 * 17 + 2));
  size_t carried = 0;
  for (const auto& r : requests) carried += (r[2] & 0x7F) - 2;
  EXPECT_EQ(carried, 1024u);
}

// A step's delay bytes carry at most 65535 ms: delay steps that add up to
// more (a database filled by older imports holds any int) give 65535, and
// the sum never overflows. Bytes 40..47: KeyDown A with its delay, KeyUp A.
TEST(NordicMacroImage, DelaySumsAreLimitedToSixteenBits) {
  const int max = std::numeric_limits<int>::max();
  const int min = std::numeric_limits<int>::min();
  struct Sum {
    std::vector<int> delays;
    int expected;
  };
  const Sum sums[] = {
      {{30000, 30000}, 60000},
      {{40000, 30000}, 65535},
      {{max, max}, 65535},
      {{max, max, min, min}, 10},  // -2: no wrap-around on the way
      {{min, min}, 10},
      {{-5}, 10},
  };
  for (const Sum& s : sums) {
    RecordList<MacroEvent> steps;
    steps.push_back(std::make_unique<MacroEvent>(Step(T::KeyDown, 0x41)));
    for (int d : s.delays) steps.push_back(std::make_unique<MacroEvent>(Step(T::Delay, d)));
    steps.push_back(std::make_unique<MacroEvent>(Step(T::KeyUp, 0x41)));
    const auto build = BuildNordicMacroImage(MacroRecord{1, L"", 0, 1, 0, 0}, steps);
    const auto& b = build.image.bytes;
    EXPECT_EQ(b[42] | (b[43] << 8), s.expected) << s.delays.size() << " delays, first " << s.delays[0];
    EXPECT_EQ(build.image.StepCount(), 2);
  }
}

}  // namespace
}  // namespace tk410
