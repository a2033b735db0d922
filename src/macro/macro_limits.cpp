#include "macro/macro_limits.h"

#include <algorithm>
#include <limits>

#include "macro/macro_steps.h"

namespace tk410 {

namespace {

constexpr int kLastSetting = 2;   // play types and delay types are 0, 1 or 2
constexpr int kLargestByte = 0xFF;  // a key code or button mask travels as one byte
constexpr int kMoveXYBits = 0xFFFF;

bool InRange(int value, int low, int high) { return value >= low && value <= high; }

// Clamps the step's value as the editor would; false when the kind cannot
// hold it at all.
bool FitStepValue(MacroEvent& step) {
  using T = MacroEventType;
  switch (static_cast<T>(step.type)) {
    case T::Delay:
      step.value = ClampStepDelay(step.value);
      return true;
    case T::KeyDown:
    case T::KeyUp:
    case T::ButtonDown:
    case T::ButtonUp:
      return InRange(step.value, 0, kLargestByte);
    case T::WheelStep6:
    case T::WheelStep7:
      return true;  // the value is not used
    case T::MoveUp:
    case T::MoveDown:
    case T::MoveLeft:
    case T::MoveRight:
      step.value = ClampMoveDistance(step.value, kMaxMoveDistanceWide);
      return true;
    case T::MoveXY: {
      if (!InRange(step.value, 0, kMoveXYBits)) return false;
      MoveXYValue move = UnpackMoveXY(step.value);
      move.vertical = ClampMoveDistance(move.vertical, kMaxMoveDistance);
      step.value = PackMoveXY(move);
      return true;
    }
  }
  return false;
}

}  // namespace

MacroLimitCheck FitMacroToLimits(MacroRecord& macro, std::vector<MacroEvent>& steps) {
  MacroLimitCheck check;
  auto refuse = [&check](MacroRefusal refusal, int value, int item = -1, int type = 0) {
    check.refusal = refusal;
    check.value = value;
    check.item = item;
    check.type = type;
    return check;
  };
  if (steps.size() > static_cast<size_t>(kMaxMacroSteps)) {
    const size_t count = std::min<size_t>(steps.size(), std::numeric_limits<int>::max());
    return refuse(MacroRefusal::kTooManySteps, static_cast<int>(count));
  }
  if (!InRange(macro.play_type, 0, kLastSetting)) return refuse(MacroRefusal::kPlayType, macro.play_type);
  if (!InRange(macro.delay_type, 0, kLastSetting)) return refuse(MacroRefusal::kDelayType, macro.delay_type);
  macro.play_times = ClampPlayTimes(macro.play_times);
  macro.delay_time = macro.delay_type == kDelayFixed ? ClampFixedDelay(macro.delay_time)
                                                     : std::clamp(macro.delay_time, 0, kMaxStepDelayMs);
  for (size_t i = 0; i < steps.size(); ++i) {
    MacroEvent& step = steps[i];
    const int item = static_cast<int>(i);
    if (!InRange(step.type, static_cast<int>(MacroEventType::Delay), static_cast<int>(MacroEventType::MoveXY))) {
      return refuse(MacroRefusal::kStepType, step.type, item);
    }
    const int original = step.value;
    if (!FitStepValue(step)) return refuse(MacroRefusal::kStepValue, original, item, step.type);
  }
  return check;
}

std::string MacroRefusalText(const MacroLimitCheck& check) {
  const std::string value = std::to_string(check.value);
  const std::string step = "step " + std::to_string(check.item + 1);
  switch (check.refusal) {
    case MacroRefusal::kNone:
      return std::string();
    case MacroRefusal::kTooManySteps:
      return "the macro has " + value + " steps; a macro holds at most " + std::to_string(kMaxMacroSteps);
    case MacroRefusal::kTooManyMacros:
      return "there are already " + value + " macros, the most there can be";
    case MacroRefusal::kPlayType:
      return "play type " + value + " is not 0, 1 or 2";
    case MacroRefusal::kDelayType:
      return "delay type " + value + " is not 0, 1 or 2";
    case MacroRefusal::kStepType:
      return step + " has type " + value + "; step types are 1 to 12";
    case MacroRefusal::kStepValue:
      return step + " has value " + value + "; a step of type " + std::to_string(check.type) + " holds " +
             (check.type == static_cast<int>(MacroEventType::MoveXY) ? "0 to 65535" : "0 to 255");
  }
  return std::string();
}

}  // namespace tk410
