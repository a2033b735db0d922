#pragma once
// Conversions between the three ways the program names a key: Windows
// virtual-key codes (what key capture and the macro recorder see), HID
// keyboard usages (page 0x07; what the devices and stored keyboard
// assignments carry) and key names (what the interface shows).

#include <string>

namespace tk410 {

// HID keyboard usage of a Windows virtual-key code; 0 for a code without one.
// The generic Shift/Ctrl/Alt codes (16, 17, 18) give 0: key capture turns them
// into the left-hand codes first.
int VirtualKeyToUsage(int virtual_key);

// The modifier bit of a modifier usage (224..231 -> 1 << (usage - 224)); any
// other value is returned unchanged.
int ModifierBit(int usage);

// True for the eight modifier usages 0xE0..0xE7.
bool IsModifierUsage(int usage);

// The display name of a HID keyboard usage; empty for a usage without a name.
std::wstring UsageName(int usage);

}  // namespace tk410
