#pragma once
// Button rows to the Nordic key table's 4-byte slot codes and back, and the
// play mode of a macro.

#include <map>

#include "device/nordic_layout.h"
#include "store/records.h"

namespace tk410 {

// Play mode of a macro (slot code byte 1, macro image byte 0): play_type 1
// -> 2, 2 -> 3, otherwise 4 when play_times is above 1, else 1.
int NordicPlayMode(const MacroRecord& macro);

// The slot code of `row`. False when the row's kind has no code (the slot
// keeps what it held) or when a macro row names no macro of `macros`.
// `macro_slots` maps macro_id to macro slot (missing: slot 0); a macro whose
// slot lies past the mouse's 32 gives the button's default code.
bool EncodeNordicSlot(const KeyMacroRecord& row, const std::map<int, int>& macro_slots,
                      const RecordList<MacroRecord>& macros, NordicKeyTable::Slot* code);

// The row a slot code read from the device stands for: profile and layer
// are left to the caller, key_code is slot + 1. False when nothing is to be
// stored (macro codes, FF FF .., unknown codes): the button's previous row
// stays. A row with macro_value and macro_value2 both 0 deletes the button's
// row when saved.
bool DecodeNordicSlot(int slot, const uint8_t* code, KeyMacroRecord* row);

}  // namespace tk410
