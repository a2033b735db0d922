#pragma once
// Macro steps (t_macrorecord rows): their kinds, how each kind holds its
// value and writes its display text, the wheel steps made of button steps,
// and the limits on macros, steps, delays and repeat counts.

#include <optional>
#include <string>
#include <utility>

#include "store/records.h"

namespace tk410 {

// Values of MacroEvent::type.
enum class MacroEventType : int {
  Delay = 1,       // value: pause in ms
  KeyDown = 2,     // value: Windows virtual-key code
  KeyUp = 3,
  ButtonDown = 4,  // value: button mask (1 left, 2 right, 4 middle, 8 backward, 16 forward)
  ButtonUp = 5,
  WheelStep6 = 6,  // only from imported files
  WheelStep7 = 7,
  MoveUp = 8,      // value: distance
  MoveDown = 9,
  MoveLeft = 10,
  MoveRight = 11,
  MoveXY = 12,     // value: see MoveXYValue
};

inline constexpr int kMaxMacros = 32;
inline constexpr int kMaxMacroSteps = 200;
inline constexpr int kMinStepDelayMs = 1;
inline constexpr int kMaxStepDelayMs = 15000;
inline constexpr int kMinFixedDelayMs = 10;
inline constexpr int kDefaultFixedDelayMs = 10;
inline constexpr int kMinPlayTimes = 1;
inline constexpr int kMaxPlayTimes = 255;
inline constexpr int kMaxMoveDistance = 15;
// Horizontal limit when the change comes from a direction switch.
inline constexpr int kMaxMoveDistanceWide = 127;

// Play modes (MacroRecord::play_type) and delay types (delay_type).
inline constexpr int kPlayRepeat = 0;
inline constexpr int kPlayMode1 = 1;
inline constexpr int kPlayMode2 = 2;
inline constexpr int kDelayNone = 0;
inline constexpr int kDelayRecorded = 1;
inline constexpr int kDelayFixed = 2;

int ClampStepDelay(int ms);     // 1..15000
int ClampFixedDelay(int ms);    // 10..15000
int ClampPlayTimes(int times);  // 1..255
int ClampMoveDistance(int distance, int limit);  // 0..limit

// " -   %d ms"
std::wstring DelayStepText(int ms);
// "↓  name" for a press, "↑  name" for a release (key and button steps).
std::wstring PressStepText(bool down, const std::wstring& name);
// "↑  %d", "↓  %d", "←  %d" or "→  %d" for MoveUp..MoveRight; empty otherwise.
std::wstring MoveStepText(MacroEventType type, int distance);

// The value of a MoveXY step: bits 0-6 horizontal distance, bit 7 leftwards,
// bits 8-14 vertical distance, bit 15 upwards.
struct MoveXYValue {
  int horizontal = 0;
  bool left = false;
  int vertical = 0;
  bool up = false;
};
MoveXYValue UnpackMoveXY(int value);
int PackMoveXY(const MoveXYValue& move);
// "→  %d, ↓  %d": the text of a newly inserted move step.
std::wstring MoveXYInsertText(int horizontal, int vertical);
// "←  h,↑  v" and the like: the text of an edited move step.
std::wstring MoveXYEditText(const MoveXYValue& move);

// The words that make a button step a wheel step; they stay English in every
// interface language because the downloads search for them.
inline constexpr wchar_t kScrollUpWord[] = L"Scroll Up";
inline constexpr wchar_t kScrollDownWord[] = L"Scroll Down";

enum class WheelStep { None, Up, Down };
// A ButtonDown/ButtonUp step whose text contains "Scroll Up" (tested first) or
// "Scroll Down" is sent as a wheel step; any other step is not.
WheelStep WheelStepOf(const MacroEvent& step);

// The pair of button steps that stands for one wheel step: ButtonDown value 1
// and ButtonUp value 2, both "↑  Scroll Up" (or "↓  Scroll Down"), sharing
// one timestamp.
std::pair<MacroEvent, MacroEvent> MakeWheelStepPair(bool up, int timestamp);

// A mouse button a button step can name (the step editor's choices by their
// item data): the step text and the button mask.
struct StepButton {
  int data;
  const wchar_t* name;
  int mask;
};
// The button of an item data value; data 7 and 8 are the wheel words, any
// unknown data gives an empty name with mask 1.
StepButton StepButtonOf(int data);

}  // namespace tk410
