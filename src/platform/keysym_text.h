#pragma once
// The character an X keysym types, as the name of the key that types it:
// Latin-1 and Unicode keysyms directly, the other keysym sets (Latin-2,
// Cyrillic, Greek ...) through xkbcommon where the program is built with
// it, and dead keys as their spacing accent ("^", "´"). Keysyms are the
// keyboard symbols of X11 and of Wayland (xkbcommon) alike.

#include <cstdint>
#include <string>

namespace tk410 {

// Empty for a keysym that types no printable character.
std::wstring KeysymText(uint32_t keysym);

}  // namespace tk410
