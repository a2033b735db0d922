#pragma once
// The raw event of a key press or release by physical key, made the same way
// for every source that knows the physical key (XInput2, the events of our
// own windows): the key code from the physical key table, the name from the
// layout for the keys that type a character.

#include <cstdint>

#include "platform/raw_input.h"

namespace tk410 {

// `keycode`: the X11 keycode (evdev code + 8); `keypad_digits`: the keypad
// types digits (Num Lock on, Shift not held); `unshifted_keysym`: what the
// layout gives for the key without modifiers. The key code is 0 for a key the
// table does not know. Letters are named in capitals, as key caps show them.
RawInputEvent PhysicalKeyEvent(int keycode, bool pressed, bool keypad_digits, uint32_t unshifted_keysym);

}  // namespace tk410
