#pragma once
// The one table from a physical key of a PC keyboard to the key code the
// program stores (a Windows virtual-key code, whose HID usage the mouse then
// sends). A mouse sends a usage, which the computer reads through its own
// layout: so the code stored is the one of the physical key pressed,
// whatever the layout types with it ("é" on a French keyboard is the "2"
// key, code 50, usage 0x1F).
//
// Physical keys are named by their X11 keycode: the Linux evdev key code + 8,
// as X servers on evdev or libinput, Xwayland and Wayland compositors report
// them (Qt gives the same number as the native scan code).
//
// Keypad keys follow Num Lock as on Windows: with Num Lock on and Shift not
// held they are the digits 96..105 and the decimal key 110, otherwise the
// navigation keys; keypad 5 has no navigation key and stays 101. Keypad
// Enter (108) and the keypad operators keep their codes.

#include <cstdint>
#include <map>

namespace tk410 {

// True when the table knows the physical key.
bool IsPhysicalKey(int keycode);

// The key code of a physical key; 0 for a key the table does not know.
// `keypad_digits`: the keypad types digits (see KeypadTypesDigits).
int VirtualKeyOfPhysicalKey(int keycode, bool keypad_digits);

// Windows' rule: the keypad gives digits with Num Lock on while Shift is not held.
inline bool KeypadTypesDigits(bool num_lock, bool shift) { return num_lock && !shift; }

// True for the keysyms of the keypad's digits and decimal key (KP_0..KP_9,
// KP_Decimal, KP_Separator): what an X server or Wayland compositor gives
// for a keypad key that types a digit.
bool IsKeypadDigitKeysym(uint32_t keysym);

// True for the keys of the main block that type a character (digit row,
// letters, punctuation, the ISO key beside left Shift): their name is what
// the user's layout types with them.
bool TypesCharacter(int keycode);

// The codes of the keys held down, as each was pressed: a key released after
// Shift or Num Lock changed is released as the key it was pressed as.
class HeldPhysicalKeys {
 public:
  // Remembers `code` for `keycode` and returns it; a key already held
  // keeps (and returns) the code it was first pressed as.
  int Press(int keycode, int code);
  // The code `keycode` was pressed as (`code` when it was not held); forgets it.
  int Release(int keycode, int code);

 private:
  std::map<int, int> held_;
};

}  // namespace tk410
