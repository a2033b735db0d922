#include "macro/macro_steps.h"

#include <algorithm>

#include "base/text.h"

namespace tk410 {
namespace {

constexpr wchar_t kDown[] = L"\u2193  ";
constexpr wchar_t kUp[] = L"\u2191  ";
constexpr wchar_t kLeft[] = L"\u2190  ";
constexpr wchar_t kRight[] = L"\u2192  ";

constexpr int kMoveDistanceBits = 0x7F;
constexpr int kMoveLeftBit = 0x80;
constexpr int kMoveUpBit = 0x8000;

constexpr StepButton kStepButtons[] = {
    {1, L"LB", 1},       {3, L"RB", 2},        {2, L"MB", 4},
    {5, L"Forward", 16}, {6, L"Backward", 8},
    {7, kScrollUpWord, 1}, {8, kScrollDownWord, 1},
};

}  // namespace

int ClampStepDelay(int ms) { return std::clamp(ms, kMinStepDelayMs, kMaxStepDelayMs); }
int ClampFixedDelay(int ms) { return std::clamp(ms, kMinFixedDelayMs, kMaxStepDelayMs); }
int ClampPlayTimes(int times) { return std::clamp(times, kMinPlayTimes, kMaxPlayTimes); }
int ClampMoveDistance(int distance, int limit) { return std::clamp(distance, 0, limit); }

std::wstring DelayStepText(int ms) { return FormatW(L" -   %d ms", ms); }

std::wstring PressStepText(bool down, const std::wstring& name) {
  return (down ? kDown : kUp) + name;
}

std::wstring MoveStepText(MacroEventType type, int distance) {
  const wchar_t* arrow = nullptr;
  switch (type) {
    case MacroEventType::MoveUp: arrow = kUp; break;
    case MacroEventType::MoveDown: arrow = kDown; break;
    case MacroEventType::MoveLeft: arrow = kLeft; break;
    case MacroEventType::MoveRight: arrow = kRight; break;
    default: return std::wstring();
  }
  return arrow + FormatInt(distance);
}

MoveXYValue UnpackMoveXY(int value) {
  MoveXYValue move;
  move.horizontal = value & kMoveDistanceBits;
  move.left = (value & kMoveLeftBit) != 0;
  move.vertical = (value >> 8) & kMoveDistanceBits;
  move.up = (value & kMoveUpBit) != 0;
  return move;
}

int PackMoveXY(const MoveXYValue& move) {
  return (move.horizontal & kMoveDistanceBits) | (move.left ? kMoveLeftBit : 0) |
         ((move.vertical & kMoveDistanceBits) << 8) | (move.up ? kMoveUpBit : 0);
}

std::wstring MoveXYInsertText(int horizontal, int vertical) {
  return kRight + FormatInt(horizontal) + L", " + kDown + FormatInt(vertical);
}

std::wstring MoveXYEditText(const MoveXYValue& move) {
  return (move.left ? kLeft : kRight) + FormatInt(move.horizontal) + L"," +
         (move.up ? kUp : kDown) + FormatInt(move.vertical);
}

WheelStep WheelStepOf(const MacroEvent& step) {
  if (step.type != static_cast<int>(MacroEventType::ButtonDown) &&
      step.type != static_cast<int>(MacroEventType::ButtonUp))
    return WheelStep::None;
  if (Contains(step.desc, kScrollUpWord)) return WheelStep::Up;
  if (Contains(step.desc, kScrollDownWord)) return WheelStep::Down;
  return WheelStep::None;
}

std::pair<MacroEvent, MacroEvent> MakeWheelStepPair(bool up, int timestamp) {
  MacroEvent down_step;
  down_step.type = static_cast<int>(MacroEventType::ButtonDown);
  down_step.value = 1;
  down_step.delay_time = timestamp;
  down_step.desc = std::wstring(up ? kUp : kDown) + (up ? kScrollUpWord : kScrollDownWord);
  MacroEvent up_step = down_step;
  up_step.type = static_cast<int>(MacroEventType::ButtonUp);
  up_step.value = 2;
  return {down_step, up_step};
}

StepButton StepButtonOf(int data) {
  for (const auto& button : kStepButtons)
    if (button.data == data) return button;
  return {data, L"", 1};
}

}  // namespace tk410
