#pragma once
// The keys the layout tests press, by physical key, and what capture must
// make of each: the key code stored (the one whose HID usage makes the mouse
// send that same physical key), its usage, and the name shown (the key's
// unshifted character on the layout for the character keys, our key names
// for the others). Shared by the XInput2 test (keys pressed with XTest
// under Xvfb) and the Qt test (key events synthesized with the same native
// scan code, keysym and modifiers an X server with that layout gives).
//
// Keycodes are X11 keycodes: the Linux evdev key code + 8.

#include <cstdint>
#include <string>

namespace tk410::layouts {

struct LayoutCase {
  const char* layout;  // setxkbmap layout
  bool num_lock;
  bool shift;          // Shift held while the key is pressed
  int keycode;
  uint32_t keysym;     // what the layout gives for the key in this state
  int code;            // key code stored
  int usage;           // its HID usage
  const wchar_t* name;
};

inline constexpr LayoutCase kLayoutCases[] = {
    // US: the top row, the OEM keys, the ISO key between left Shift and Z.
    {"us", false, false, 10, 0x31, 49, 30, L"1"},
    {"us", false, false, 11, 0x32, 50, 31, L"2"},
    {"us", false, false, 12, 0x33, 51, 32, L"3"},
    {"us", false, false, 13, 0x34, 52, 33, L"4"},
    {"us", false, false, 14, 0x35, 53, 34, L"5"},
    {"us", false, false, 15, 0x36, 54, 35, L"6"},
    {"us", false, false, 16, 0x37, 55, 36, L"7"},
    {"us", false, false, 17, 0x38, 56, 37, L"8"},
    {"us", false, false, 18, 0x39, 57, 38, L"9"},
    {"us", false, false, 19, 0x30, 48, 39, L"0"},
    {"us", false, false, 20, 0x2d, 189, 45, L"-"},
    {"us", false, false, 21, 0x3d, 187, 46, L"="},
    {"us", false, false, 49, 0x60, 192, 53, L"`"},
    {"us", false, false, 34, 0x5b, 219, 47, L"["},
    {"us", false, false, 35, 0x5d, 221, 48, L"]"},
    {"us", false, false, 51, 0x5c, 220, 49, L"\\"},
    {"us", false, false, 47, 0x3b, 186, 51, L";"},
    {"us", false, false, 48, 0x27, 222, 52, L"'"},
    {"us", false, false, 59, 0x2c, 188, 54, L","},
    {"us", false, false, 60, 0x2e, 190, 55, L"."},
    {"us", false, false, 61, 0x2f, 191, 56, L"/"},
    {"us", false, false, 94, 0x3c, 226, 100, L"<"},
    {"us", false, false, 38, 0x61, 65, 4, L"A"},
    // Keypad, Num Lock on: digits and the decimal key.
    {"us", true, false, 90, 0xffb0, 96, 98, L"Num 0"},
    {"us", true, false, 87, 0xffb1, 97, 89, L"Num 1"},
    {"us", true, false, 88, 0xffb2, 98, 90, L"Num 2"},
    {"us", true, false, 89, 0xffb3, 99, 91, L"Num 3"},
    {"us", true, false, 83, 0xffb4, 100, 92, L"Num 4"},
    {"us", true, false, 84, 0xffb5, 101, 93, L"Num 5"},
    {"us", true, false, 85, 0xffb6, 102, 94, L"Num 6"},
    {"us", true, false, 79, 0xffb7, 103, 95, L"Num 7"},
    {"us", true, false, 80, 0xffb8, 104, 96, L"Num 8"},
    {"us", true, false, 81, 0xffb9, 105, 97, L"Num 9"},
    {"us", true, false, 91, 0xffae, 110, 99, L"Num Del"},
    {"us", true, false, 106, 0xffaf, 111, 84, L"Num /"},
    {"us", true, false, 63, 0xffaa, 106, 85, L"Num *"},
    {"us", true, false, 82, 0xffad, 109, 86, L"Num -"},
    {"us", true, false, 86, 0xffab, 107, 87, L"Num +"},
    {"us", true, false, 104, 0xff8d, 108, 88, L"Num Enter"},
    {"us", true, false, 77, 0xff7f, 144, 83, L"Num Lock"},
    // Keypad, Num Lock off: the navigation keys; keypad 5 has none and stays
    // keypad 5; Enter and the operators keep their codes.
    {"us", false, false, 90, 0xff9e, 45, 73, L"Insert"},
    {"us", false, false, 87, 0xff9c, 35, 77, L"End"},
    {"us", false, false, 88, 0xff99, 40, 81, L"Down"},
    {"us", false, false, 89, 0xff9b, 34, 78, L"Page Down"},
    {"us", false, false, 83, 0xff96, 37, 80, L"Left"},
    {"us", false, false, 84, 0xff9d, 101, 93, L"Num 5"},
    {"us", false, false, 85, 0xff98, 39, 79, L"Right"},
    {"us", false, false, 79, 0xff95, 36, 74, L"Home"},
    {"us", false, false, 80, 0xff97, 38, 82, L"Up"},
    {"us", false, false, 81, 0xff9a, 33, 75, L"Page Up"},
    {"us", false, false, 91, 0xff9f, 46, 76, L"Delete"},
    {"us", false, false, 106, 0xffaf, 111, 84, L"Num /"},
    {"us", false, false, 63, 0xffaa, 106, 85, L"Num *"},
    {"us", false, false, 82, 0xffad, 109, 86, L"Num -"},
    {"us", false, false, 86, 0xffab, 107, 87, L"Num +"},
    {"us", false, false, 104, 0xff8d, 108, 88, L"Num Enter"},
    // Shift with Num Lock on gives the navigation keys, as on Windows.
    {"us", true, true, 87, 0xff9c, 35, 77, L"End"},
    {"us", true, true, 90, 0xff9e, 45, 73, L"Insert"},
    // A key without a usage: stored as its own code, which has usage 0.
    {"us", false, false, 121, 0x1008ff12, 173, 0, L"Mute"},

    // French (AZERTY): the digit row types symbols and accented letters.
    {"fr", false, false, 10, 0x26, 49, 30, L"&"},
    {"fr", false, false, 11, 0xe9, 50, 31, L"é"},
    {"fr", false, false, 12, 0x22, 51, 32, L"\""},
    {"fr", false, false, 13, 0x27, 52, 33, L"'"},
    {"fr", false, false, 14, 0x28, 53, 34, L"("},
    {"fr", false, false, 15, 0x2d, 54, 35, L"-"},
    {"fr", false, false, 16, 0xe8, 55, 36, L"è"},
    {"fr", false, false, 17, 0x5f, 56, 37, L"_"},
    {"fr", false, false, 18, 0xe7, 57, 38, L"ç"},
    {"fr", false, false, 19, 0xe0, 48, 39, L"à"},
    {"fr", false, false, 20, 0x29, 189, 45, L")"},
    {"fr", false, false, 21, 0x3d, 187, 46, L"="},
    {"fr", false, false, 49, 0xb2, 192, 53, L"²"},
    {"fr", false, false, 34, 0xfe52, 219, 47, L"^"},  // dead circumflex
    {"fr", false, false, 48, 0xf9, 222, 52, L"ù"},
    {"fr", false, false, 47, 0x6d, 186, 51, L"M"},
    {"fr", false, false, 58, 0x2c, 77, 16, L","},
    {"fr", false, false, 24, 0x61, 81, 20, L"A"},
    {"fr", true, false, 87, 0xffb1, 97, 89, L"Num 1"},

    // German (QWERTZ).
    {"de", false, false, 20, 0xdf, 189, 45, L"ß"},
    {"de", false, false, 21, 0xfe51, 187, 46, L"´"},  // dead acute
    {"de", false, false, 49, 0xfe52, 192, 53, L"^"},  // dead circumflex
    {"de", false, false, 34, 0xfc, 219, 47, L"ü"},
    {"de", false, false, 35, 0x2b, 221, 48, L"+"},
    {"de", false, false, 47, 0xf6, 186, 51, L"ö"},
    {"de", false, false, 48, 0xe4, 222, 52, L"ä"},
    {"de", false, false, 51, 0x23, 220, 49, L"#"},
    {"de", false, false, 94, 0x3c, 226, 100, L"<"},
    {"de", false, false, 12, 0x33, 51, 32, L"3"},
    {"de", false, false, 61, 0x2d, 191, 56, L"-"},
    {"de", false, false, 29, 0x7a, 89, 28, L"Z"},
    {"de", false, false, 52, 0x79, 90, 29, L"Y"},
    {"de", true, false, 91, 0xffac, 110, 99, L"Num Del"},  // the layout types a comma
};

// "fr keycode 11 num lock shift": which case a failure is about.
inline std::string CaseName(const LayoutCase& c) {
  return std::string(c.layout) + " keycode " + std::to_string(c.keycode) + (c.num_lock ? " num lock" : "") +
         (c.shift ? " shift" : "");
}

}  // namespace tk410::layouts
