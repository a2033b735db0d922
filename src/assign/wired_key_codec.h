#pragma once
// The wired family's 4-byte button code of a ButtonFunction, both ways.
// Byte 0 names the group (0x00 zero code, 0x10 keyboard, 0x20 mouse button,
// 0x21 wheel/function, 0x30 consumer usage, 0x50 emoji, 0x70 macro, 0xF0 DPI);
// bytes 1 to 3 its parameters. Encoder and decoder read the same rows.

#include <array>
#include <cstdint>
#include <optional>

#include "store/records.h"

namespace tk410 {

using WiredKeyCode = std::array<uint8_t, 4>;

inline constexpr int kWiredKeySlots = 11;

// key_code of a slot of the wired key table (slot + 1, except that slots 3
// and 4 hold key_code 5 and 4); 0 for a slot outside 0..10.
int WiredSlotKeyCode(int slot);
// The slot of a key_code, the inverse of WiredSlotKeyCode; -1 when none.
int WiredKeySlot(int key_code);

// The code of a button row. `macros` is the macro list in LoadMacros order:
// a macro is sent by its position in that list. Kinds without a wired code
// give 00 00 00 00.
WiredKeyCode EncodeWiredKey(const KeyMacroRecord& record, const RecordList<MacroRecord>& macros);

// The row to store for one slot as read from the device, for `profile`;
// nothing for an unrecognised code, an empty (00 00 00 00) or unset (FF FF ..)
// slot, a slot outside 0..10, or a macro position the list does not have.
std::optional<KeyMacroRecord> DecodeWiredKey(int profile, int slot, const WiredKeyCode& code,
                                             const RecordList<MacroRecord>& macros);

}  // namespace tk410
