#include "macro/macro_steps.h"

#include <gtest/gtest.h>

namespace tk410 {
namespace {

MacroEvent Step(MacroEventType type, std::wstring desc, int value = 1) {
  MacroEvent e;
  e.type = static_cast<int>(type);
  e.desc = std::move(desc);
  e.value = value;
  return e;
}

TEST(MacroStepsTest, StepTextsUseArrowsFollowedByTwoSpaces) {
  EXPECT_EQ(DelayStepText(10), L" -   10 ms");
  EXPECT_EQ(PressStepText(true, L"A"), L"\u2193  A");
  EXPECT_EQ(PressStepText(false, L"LB"), L"\u2191  LB");
  EXPECT_EQ(MoveStepText(MacroEventType::MoveUp, 1), L"\u2191  1");
  EXPECT_EQ(MoveStepText(MacroEventType::MoveDown, 2), L"\u2193  2");
  EXPECT_EQ(MoveStepText(MacroEventType::MoveLeft, 3), L"\u2190  3");
  EXPECT_EQ(MoveStepText(MacroEventType::MoveRight, 4), L"\u2192  4");
  EXPECT_EQ(MoveStepText(MacroEventType::Delay, 4), L"");
  EXPECT_EQ(MoveXYInsertText(1, 1), L"\u2192  1, \u2193  1");
  EXPECT_EQ(MoveXYEditText({3, true, 15, true}), L"\u2190  3,\u2191  15");
  EXPECT_EQ(MoveXYEditText({127, false, 0, false}), L"\u2192  127,\u2193  0");
}

// MoveXY value: bits 0-6 horizontal, bit 7 left, bits 8-14 vertical, bit 15 up.
TEST(MacroStepsTest, MoveXYValuesPackAndUnpack) {
  const MoveXYValue right_down = UnpackMoveXY(257);
  EXPECT_EQ(right_down.horizontal, 1);
  EXPECT_FALSE(right_down.left);
  EXPECT_EQ(right_down.vertical, 1);
  EXPECT_FALSE(right_down.up);
  const MoveXYValue left_up = UnpackMoveXY(0x8181);
  EXPECT_EQ(left_up.horizontal, 1);
  EXPECT_TRUE(left_up.left);
  EXPECT_EQ(left_up.vertical, 1);
  EXPECT_TRUE(left_up.up);
  // 0x8081 is one left with the up bit set but no vertical distance.
  EXPECT_EQ(UnpackMoveXY(0x8081).vertical, 0);
  EXPECT_TRUE(UnpackMoveXY(0x8081).up);
  for (int value : {0, 257, 0x8081, 0x7F7F, 0xFFFF, 0x0F8F})
    EXPECT_EQ(PackMoveXY(UnpackMoveXY(value)), value) << value;
  // Distances too wide for their bits do not spill into the direction bits.
  EXPECT_EQ(PackMoveXY({200, false, 200, false}), 0x4848);
}

TEST(MacroStepsTest, WheelStepsAreButtonStepsNamingTheWheel) {
  EXPECT_EQ(WheelStepOf(Step(MacroEventType::ButtonDown, L"\u2191  Scroll Up", 1)), WheelStep::Up);
  EXPECT_EQ(WheelStepOf(Step(MacroEventType::ButtonUp, L"\u2193  Scroll Down", 2)), WheelStep::Down);
  EXPECT_EQ(WheelStepOf(Step(MacroEventType::ButtonDown, L"x Scroll Down Scroll Up")), WheelStep::Up);
  EXPECT_EQ(WheelStepOf(Step(MacroEventType::ButtonDown, L"\u2193  LB")), WheelStep::None);
  EXPECT_EQ(WheelStepOf(Step(MacroEventType::KeyDown, L"\u2193  Scroll Up")), WheelStep::None);
  EXPECT_EQ(WheelStepOf(Step(MacroEventType::ButtonDown, L"scroll up")), WheelStep::None);

  const auto [down, up] = MakeWheelStepPair(true, 777);
  EXPECT_EQ(down.type, static_cast<int>(MacroEventType::ButtonDown));
  EXPECT_EQ(up.type, static_cast<int>(MacroEventType::ButtonUp));
  EXPECT_EQ(down.value, 1);
  EXPECT_EQ(up.value, 2);
  EXPECT_EQ(down.desc, L"\u2191  Scroll Up");
  EXPECT_EQ(up.desc, L"\u2191  Scroll Up");
  EXPECT_EQ(down.delay_time, 777);
  EXPECT_EQ(up.delay_time, 777);
  EXPECT_EQ(WheelStepOf(MakeWheelStepPair(false, 1).second), WheelStep::Down);
  EXPECT_EQ(MakeWheelStepPair(false, 1).first.desc, L"\u2193  Scroll Down");
}

TEST(MacroStepsTest, LimitsAndStepButtons) {
  EXPECT_EQ(ClampStepDelay(0), 1);
  EXPECT_EQ(ClampStepDelay(20000), 15000);
  EXPECT_EQ(ClampFixedDelay(5), 10);
  EXPECT_EQ(ClampFixedDelay(20000), 15000);
  EXPECT_EQ(ClampPlayTimes(0), 1);
  EXPECT_EQ(ClampPlayTimes(256), 255);
  EXPECT_EQ(ClampMoveDistance(20, kMaxMoveDistance), 15);
  EXPECT_EQ(ClampMoveDistance(200, kMaxMoveDistanceWide), 127);
  EXPECT_EQ(ClampMoveDistance(-3, kMaxMoveDistance), 0);

  struct Case { int data; const wchar_t* name; int mask; };
  const Case cases[] = {{1, L"LB", 1}, {3, L"RB", 2}, {2, L"MB", 4}, {5, L"Forward", 16},
                        {6, L"Backward", 8}, {7, L"Scroll Up", 1}, {8, L"Scroll Down", 1},
                        {4, L"", 1}};
  for (const auto& c : cases) {
    EXPECT_STREQ(StepButtonOf(c.data).name, c.name);
    EXPECT_EQ(StepButtonOf(c.data).mask, c.mask);
  }
}

}  // namespace
}  // namespace tk410
