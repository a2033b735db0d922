#pragma once
// The wired family's macro image: every macro of the database packed into
// one 4224-byte image (a table of 32 start offsets, then 4-byte entries), as
// the macro download sends it in 56-byte chunks. Pure: steps in, bytes out.
//
// Packing rules:
//  - Delay steps make no entry; they add to a pending delay that is ORed into
//    the delay bytes of the entry before the write position. The pending
//    delay starts at 1 for each macro, and two entries that follow each
//    other directly get 10. A trailing delay goes into the macro's last
//    entry. A macro's leading delays (plus the starting 1) land in the
//    previous macro's last entry, as the mouse expects.
//  - An empty macro is one entry 00 00 80 00.
//
// Choices where the mouse's format has no answer (none of them writes past
// the image or leaves a table entry pointing at a macro that was not sent):
//  - More than 32 macros: the first 32 are packed (buttons address macros by
//    positions 0..31); the rest are left out and the result says so.
//  - A macro that does not fit into the image whole is left out together
//    with every later macro; a macro is never cut, because a cut macro could
//    leave a key pressed on the computer. Their table entries stay 0.
//  - A macro of delay steps only has no entry for its delay to go into: it is
//    packed as an empty macro (one 00 00 80 00 entry, the delays dropped)
//    instead of ORing into the previous macro's entry or the offset table.
//  - Steps of an unknown type (outside 1..12) are skipped.
//  - An accumulated delay is limited to 0..65535, and to 0..16383 in
//    movement entries, whose bits 14 and 15 carry the XY direction signs.

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "device/wired_layout.h"
#include "store/records.h"

namespace tk410 {

enum class WiredMacroImageStatus {
  kComplete,       // every macro packed
  kTooManyMacros,  // macros beyond the 32nd left out
  kImageFull,      // a macro (and every later one) did not fit
};

struct WiredMacroImageResult {
  std::array<uint8_t, WiredMacroImage::kSize> image{};
  size_t length = WiredMacroImage::kTableSize;  // bytes to send
  int macros_given = 0;
  int macros_packed = 0;
  WiredMacroImageStatus status = WiredMacroImageStatus::kComplete;
};

// The entry of one step that is not a delay, without delay and last bit
// (an XY movement carries its direction signs in the delay bytes). False for
// a delay step or an unknown type.
bool WiredMacroStepEntry(const MacroEvent& step, WiredMacroEntry* out);

// Entries a macro of these steps takes in the image (at least 1).
size_t WiredMacroEntryCount(const std::vector<MacroEvent>& steps);

// Packs the macros, each a list of steps in record_index order, in the
// order of the macro list.
WiredMacroImageResult BuildWiredMacroImage(const std::vector<std::vector<MacroEvent>>& macros);

}  // namespace tk410
