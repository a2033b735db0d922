#include "sync/wired_macro_image.h"

#include <gtest/gtest.h>

#include "macro/macro_steps.h"

namespace tk410 {
namespace {

using T = MacroEventType;
using Entry = WiredMacroEntry;

MacroEvent Step(T type, int value, std::wstring desc = L"") {
  MacroEvent e;
  e.type = static_cast<int>(type);
  e.value = value;
  e.desc = std::move(desc);
  return e;
}

std::vector<uint8_t> Bytes(const WiredMacroImageResult& r, size_t from, size_t n) {
  return std::vector<uint8_t>(r.image.begin() + from, r.image.begin() + from + n);
}

const std::vector<MacroEvent> kTapA = {Step(T::KeyDown, 0x41), Step(T::KeyUp, 0x41)};

// Image: bytes 0..63 table of 16-bit LE start offsets, entries from 64.
// Entry: delay LE (0, 1), kind (2: bit 7 last, bit 6 press, low bits class),
// code (3). Tap of A: 0A 00 42 04 | 00 00 82 04, length 72, chunks 56 + 16.
TEST(WiredMacroImage, KeyTapAndItsDelays) {
  auto r = BuildWiredMacroImage({kTapA});
  EXPECT_EQ(r.length, 72u);
  EXPECT_EQ(WiredMacroImage::TableEntry(r.image.data(), 0), 64);
  EXPECT_EQ(WiredMacroImage::TableEntry(r.image.data(), 1), 0);
  EXPECT_EQ(Bytes(r, 64, 8), (std::vector<uint8_t>{0x0A, 0x00, 0x42, 0x04, 0x00, 0x00, 0x82, 0x04}));
  EXPECT_EQ(WiredMacroImage::ChunkCount(r.length), 2u);
  EXPECT_EQ(r.length % WiredMacroImage::kChunkSize, 16u);

  // A 50 ms delay between the two steps becomes the first entry's delay.
  r = BuildWiredMacroImage({{Step(T::KeyDown, 0x41), Step(T::Delay, 50), Step(T::KeyUp, 0x41)}});
  EXPECT_EQ(Bytes(r, 64, 8), (std::vector<uint8_t>{0x32, 0x00, 0x42, 0x04, 0x00, 0x00, 0x82, 0x04}));

  // A trailing 100 ms delay goes into the last entry, which gets bit 7.
  r = BuildWiredMacroImage({{Step(T::KeyDown, 0x41), Step(T::KeyUp, 0x41), Step(T::Delay, 100)}});
  EXPECT_EQ(Bytes(r, 68, 4), (std::vector<uint8_t>{0x64, 0x00, 0x82, 0x04}));
  EXPECT_EQ(r.length, 72u);
}

// Two macros: the second's first step ORs the pending 1 into the first
// macro's last entry; table entry 1 = 72.
TEST(WiredMacroImage, SecondMacroPendingDelayLandsInTheFirstMacrosLastEntry) {
  const auto r = BuildWiredMacroImage({kTapA, kTapA});
  EXPECT_EQ(WiredMacroImage::TableEntry(r.image.data(), 1), 72);
  EXPECT_EQ(Bytes(r, 68, 4), (std::vector<uint8_t>{0x01, 0x00, 0x82, 0x04}));
  EXPECT_EQ(Bytes(r, 72, 8), (std::vector<uint8_t>{0x0A, 0x00, 0x42, 0x04, 0x00, 0x00, 0x82, 0x04}));
  EXPECT_EQ(r.length, 80u);
  EXPECT_EQ(r.status, WiredMacroImageStatus::kComplete);
}

// Kind/code per step type; MoveXY 0x0583 (3 left, 5 down) -> code 0x35,
// bit 6 of byte 1 (leftwards); 0x8181 adds bit 7 (upwards).
TEST(WiredMacroImage, EntriesPerStepType) {
  struct Case {
    MacroEvent step;
    uint8_t kind;
    uint8_t code;
    uint8_t delay_high;
  };
  const Case cases[] = {
      {Step(T::KeyDown, 0x41), 0x42, 0x04, 0},
      {Step(T::KeyUp, 0x41), 0x02, 0x04, 0},
      {Step(T::KeyDown, 0xA0), 0x42, 0xE1, 0},  // left Shift: the class test is on the virtual key
      {Step(T::ButtonDown, 2, L"\u2193  RB"), 0x43, 0x02, 0},
      {Step(T::ButtonUp, 2, L"\u2191  RB"), 0x03, 0x02, 0},
      {Step(T::ButtonDown, 1, L"\u2191  Scroll Up"), 0x44, 0x01, 0},
      {Step(T::ButtonUp, 2, L"\u2193  Scroll Down"), 0x44, 0xFF, 0},
      {Step(T::WheelStep6, 0), 0x44, 0x01, 0},
      {Step(T::WheelStep7, 0), 0x44, 0xFF, 0},
      {Step(T::MoveUp, 3), 0x46, 0x03, 0},
      {Step(T::MoveRight, 0x105), 0x46, 0x05, 0},
      {Step(T::MoveXY, 0x0583), 0x46, 0x35, 0x40},
      {Step(T::MoveXY, 0x8181), 0x46, 0x11, 0xC0},
  };
  for (const auto& c : cases) {
    Entry e;
    ASSERT_TRUE(WiredMacroStepEntry(c.step, &e)) << c.step.type;
    EXPECT_EQ(e.kind, c.kind) << c.step.type << " " << c.step.value;
    EXPECT_EQ(e.code, c.code) << c.step.type << " " << c.step.value;
    EXPECT_EQ(e.delay >> 8, c.delay_high) << c.step.type << " " << c.step.value;
  }
  Entry e;
  EXPECT_FALSE(WiredMacroStepEntry(Step(T::Delay, 5), &e));
  EXPECT_FALSE(WiredMacroStepEntry(Step(static_cast<T>(13), 5), &e));

  // In the image the XY signs survive the OR of the next step's delay, and
  // a long accumulated delay is kept out of them.
  const auto r = BuildWiredMacroImage(
      {{Step(T::MoveXY, 0x0583), Step(T::Delay, 20000), Step(T::KeyDown, 0x41), Step(T::KeyUp, 0x41)}});
  const Entry move = Entry::Unpack(r.image.data() + 64);
  EXPECT_EQ(move.delay, 0x4000 | 0x3FFF);
  EXPECT_EQ(move.code, 0x35);
}

// Empty macros are one entry 00 00 80 00. A macro of delays only is packed
// the same way: its delay has no entry to go into and must not be ORed into
// the previous macro or the offset table. No macros: 64 zero bytes (56 + 8).
TEST(WiredMacroImage, EmptyAndDelayOnlyMacros) {
  auto r = BuildWiredMacroImage({});
  EXPECT_EQ(r.length, 64u);
  EXPECT_EQ(Bytes(r, 0, 64), std::vector<uint8_t>(64, 0));
  EXPECT_EQ(WiredMacroImage::ChunkCount(64), 2u);

  r = BuildWiredMacroImage({{Step(T::Delay, 300)}, kTapA, {Step(T::Delay, 5), Step(T::Delay, 7)}, {}});
  EXPECT_EQ(r.length, 64u + 4 + 8 + 4 + 4);
  EXPECT_EQ(Bytes(r, 0, 8), (std::vector<uint8_t>{64, 0, 68, 0, 76, 0, 80, 0}));
  EXPECT_EQ(Bytes(r, 8, 56), std::vector<uint8_t>(56, 0));
  // The tap's first step ORs the pending 1 into the delay-only macro's entry.
  EXPECT_EQ(Bytes(r, 64, 4), (std::vector<uint8_t>{0x01, 0x00, 0x80, 0x00}));
  // Empty and delay-only macros add no pending delay to the entry before them.
  EXPECT_EQ(Bytes(r, 72, 4), (std::vector<uint8_t>{0x00, 0x00, 0x82, 0x04}));
  EXPECT_EQ(Bytes(r, 76, 8), (std::vector<uint8_t>{0x00, 0x00, 0x80, 0x00, 0x00, 0x00, 0x80, 0x00}));

  const auto decoded = DecodeWiredMacroImage(r.image.data(), r.length);
  ASSERT_EQ(decoded.size(), 4u);
  EXPECT_EQ(decoded[1].size(), 2u);
  EXPECT_EQ(decoded[3], (std::vector<Entry>{Entry{0, 0x80, 0}}));
}

// 33 macros: the first 32 are packed, table entry 31 is the last one set.
// Steps beyond 4224 bytes: the macro that does not fit and every later one
// are left out whole; nothing is written past the image.
TEST(WiredMacroImage, TooManyMacrosOrStepsAreLeftOutWhole) {
  std::vector<std::vector<MacroEvent>> many(33, kTapA);
  auto r = BuildWiredMacroImage(many);
  EXPECT_EQ(r.status, WiredMacroImageStatus::kTooManyMacros);
  EXPECT_EQ(r.macros_packed, 32);
  EXPECT_EQ(r.macros_given, 33);
  EXPECT_EQ(r.length, 64u + 32 * 8);
  EXPECT_EQ(WiredMacroImage::TableEntry(r.image.data(), 31), 64 + 31 * 8);
  EXPECT_EQ(DecodeWiredMacroImage(r.image.data(), r.length).size(), 32u);

  // 1040 entries fill the image exactly: five macros of 200 key steps and
  // one of 40.
  std::vector<MacroEvent> long_macro;
  for (int i = 0; i < 100; ++i) long_macro.insert(long_macro.end(), kTapA.begin(), kTapA.end());
  std::vector<std::vector<MacroEvent>> full(5, long_macro);
  full.emplace_back(long_macro.begin(), long_macro.begin() + 40);
  r = BuildWiredMacroImage(full);
  EXPECT_EQ(r.status, WiredMacroImageStatus::kComplete);
  EXPECT_EQ(r.length, WiredMacroImage::kSize);
  EXPECT_EQ(WiredMacroImage::ChunkCount(r.length), 76u);

  full.back().push_back(Step(T::KeyDown, 0x42));  // one entry too many
  full.push_back(kTapA);
  r = BuildWiredMacroImage(full);
  EXPECT_EQ(r.status, WiredMacroImageStatus::kImageFull);
  EXPECT_EQ(r.macros_packed, 5);
  EXPECT_EQ(r.length, 64u + 5 * 200 * 4);
  EXPECT_EQ(WiredMacroImage::TableEntry(r.image.data(), 5), 0);
  EXPECT_EQ(WiredMacroImage::TableEntry(r.image.data(), 6), 0);
  const auto decoded = DecodeWiredMacroImage(r.image.data(), r.length);
  ASSERT_EQ(decoded.size(), 5u);
  EXPECT_TRUE(decoded[4].back().IsLast());
}

// The decoder stops at a table offset outside the image or a macro with no
// last entry inside it.
TEST(WiredMacroImage, DecoderRejectsBrokenImages) {
  auto r = BuildWiredMacroImage({kTapA, kTapA});
  EXPECT_EQ(DecodeWiredMacroImage(r.image.data(), 76).size(), 1u);  // second macro cut
  WiredMacroImage::SetTableEntry(r.image.data(), 1, 4300);
  EXPECT_EQ(DecodeWiredMacroImage(r.image.data(), r.length).size(), 1u);
  EXPECT_TRUE(DecodeWiredMacroImage(r.image.data(), 10).empty());
  EXPECT_TRUE(DecodeWiredMacroImage(nullptr, 100).empty());
}

}  // namespace
}  // namespace tk410
