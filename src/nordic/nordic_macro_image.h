#pragma once
// A macro and its steps as the Nordic family's 1024-byte macro image.

#include "device/nordic_layout.h"
#include "store/records.h"

namespace tk410 {

struct NordicMacroBuild {
  NordicMacroImage image;
  // Steps (other than delays) left out because the image was full: a macro
  // above 246 such steps is cut at the limit, never sent longer than 1024
  // bytes.
  int dropped_steps = 0;
  bool Truncated() const { return dropped_steps > 0; }
};

// The 4 bytes of one step (delay bytes 0x000A, or 0 for a type without a
// code); false for a delay step, whose value only adds to the pending delay.
bool NordicStepCode(const MacroEvent& step, uint8_t* code);

// Header (play mode, play_times, delay_time, step count) and steps, each
// step's delay replaced by the delays that follow it (10 ms when none).
NordicMacroBuild BuildNordicMacroImage(const MacroRecord& macro, const RecordList<MacroEvent>& steps);

}  // namespace tk410
