#pragma once
// The limits a macro read from a file must keep: the same ones the macro
// page keeps on what it records and edits. What the page could never store
// is refused whole (more than 200 steps, an unknown play or delay setting,
// an unknown step kind, a value its step kind cannot hold); what the page's
// edits clamp is clamped the same way (repeat count, delays, move
// distances). Timestamps, step indexes, names and texts are kept as they are.

#include <string>
#include <vector>

#include "store/records.h"

namespace tk410 {

enum class MacroRefusal {
  kNone,
  kTooManySteps,   // value: the number of steps
  kTooManyMacros,  // value: the macros already stored
  kPlayType,       // value: the play type
  kDelayType,      // value: the delay type
  kStepType,       // item, value: the step's type
  kStepValue,      // item, value: the step's value
};

struct MacroLimitCheck {
  MacroRefusal refusal = MacroRefusal::kNone;
  int item = -1;  // 0-based position of the refused step in the file
  int value = 0;  // the number refused
  int type = 0;   // kStepValue: the step's type
  bool Ok() const { return refusal == MacroRefusal::kNone; }
};

// Checks `macro` and `steps` (in file order) and clamps them in place. On a
// refusal they are left partly clamped and must not be stored.
MacroLimitCheck FitMacroToLimits(MacroRecord& macro, std::vector<MacroEvent>& steps);

// One English line saying what is wrong, for the command line.
std::string MacroRefusalText(const MacroLimitCheck& check);

}  // namespace tk410
