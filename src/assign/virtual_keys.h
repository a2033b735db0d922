#pragma once
// The table between the desktop's key symbols and Windows virtual-key codes,
// the unit macros and key assignments are stored in: X11 keysyms and Qt key
// numbers, for key events that carry no physical key (synthesized events;
// keys are otherwise decided by physical key, assign/physical_keys.h), and
// our display names of the codes.
// Both sides of a modifier keep their own codes (Shift_L 160, Shift_R 161);
// Qt's generic Shift/Control/Alt give the generic codes 16/17/18.

#include <cstdint>
#include <string>

namespace tk410 {

// The virtual-key code of an X11 keysym; 0 when the table has none.
int VirtualKeyOfKeysym(uint32_t keysym);
// The virtual-key code of a Qt key number (Qt::Key); 0 when none.
int VirtualKeyOfQtKey(int qt_key);
// The keysym the table lists first for a virtual-key code; 0 when none.
uint32_t KeysymOfVirtualKey(int virtual_key);
// Our display name of a virtual-key code ("A", "Enter", "Page Up"); empty when none.
std::wstring VirtualKeyName(int virtual_key);

}  // namespace tk410
