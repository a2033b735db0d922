#include "assign/physical_keys.h"

namespace tk410 {

namespace {

constexpr int kEvdevToX11 = 8;

struct PhysicalKey {
  int evdev;         // Linux key code (linux/input-event-codes.h)
  int code;          // key code; on the keypad: with the keypad typing digits
  int navigation;    // keypad: with the keypad not typing digits; 0 = same as code
  bool character;    // types a character on the user's layout
};

constexpr PhysicalKey kKeys[] = {
    {1, 27, 0, false},                                                   // Esc
    {2, '1', 0, true}, {3, '2', 0, true}, {4, '3', 0, true}, {5, '4', 0, true}, {6, '5', 0, true},
    {7, '6', 0, true}, {8, '7', 0, true}, {9, '8', 0, true}, {10, '9', 0, true}, {11, '0', 0, true},
    {12, 189, 0, true}, {13, 187, 0, true},                              // - =
    {14, 8, 0, false}, {15, 9, 0, false},                                // Backspace, Tab
    {16, 'Q', 0, true}, {17, 'W', 0, true}, {18, 'E', 0, true}, {19, 'R', 0, true}, {20, 'T', 0, true},
    {21, 'Y', 0, true}, {22, 'U', 0, true}, {23, 'I', 0, true}, {24, 'O', 0, true}, {25, 'P', 0, true},
    {26, 219, 0, true}, {27, 221, 0, true},                              // [ ]
    {28, 13, 0, false}, {29, 162, 0, false},                             // Enter, left Ctrl
    {30, 'A', 0, true}, {31, 'S', 0, true}, {32, 'D', 0, true}, {33, 'F', 0, true}, {34, 'G', 0, true},
    {35, 'H', 0, true}, {36, 'J', 0, true}, {37, 'K', 0, true}, {38, 'L', 0, true},
    {39, 186, 0, true}, {40, 222, 0, true}, {41, 192, 0, true},          // ; ' `
    {42, 160, 0, false},                                                 // left Shift
    {43, 220, 0, true},                                                  // \ (# beside Enter on ISO keyboards)
    {44, 'Z', 0, true}, {45, 'X', 0, true}, {46, 'C', 0, true}, {47, 'V', 0, true}, {48, 'B', 0, true},
    {49, 'N', 0, true}, {50, 'M', 0, true},
    {51, 188, 0, true}, {52, 190, 0, true}, {53, 191, 0, true},          // , . /
    {54, 161, 0, false}, {55, 106, 0, false}, {56, 164, 0, false},       // right Shift, keypad *, left Alt
    {57, 32, 0, false}, {58, 20, 0, false},                              // Space, Caps Lock
    {59, 112, 0, false}, {60, 113, 0, false}, {61, 114, 0, false}, {62, 115, 0, false},
    {63, 116, 0, false}, {64, 117, 0, false}, {65, 118, 0, false}, {66, 119, 0, false},
    {67, 120, 0, false}, {68, 121, 0, false},                            // F1..F10
    {69, 144, 0, false}, {70, 145, 0, false},                            // Num Lock, Scroll Lock
    {71, 103, 36, false}, {72, 104, 38, false}, {73, 105, 33, false},    // keypad 7 8 9
    {74, 109, 0, false},                                                 // keypad -
    {75, 100, 37, false}, {76, 101, 0, false}, {77, 102, 39, false},     // keypad 4 5 6
    {78, 107, 0, false},                                                 // keypad +
    {79, 97, 35, false}, {80, 98, 40, false}, {81, 99, 34, false},       // keypad 1 2 3
    {82, 96, 45, false}, {83, 110, 46, false},                           // keypad 0 .
    {86, 226, 0, true},                                                  // the ISO key beside left Shift
    {87, 122, 0, false}, {88, 123, 0, false},                            // F11, F12
    {92, 138, 0, false}, {93, 136, 0, false}, {94, 139, 0, false},       // Japanese Henkan, Kana, Muhenkan
    {96, 108, 0, false}, {97, 163, 0, false}, {98, 111, 0, false},       // keypad Enter, right Ctrl, keypad /
    {99, 44, 0, false}, {100, 165, 0, false},                            // Print Screen, right Alt
    {102, 36, 0, false}, {103, 38, 0, false}, {104, 33, 0, false}, {105, 37, 0, false},
    {106, 39, 0, false}, {107, 35, 0, false}, {108, 40, 0, false}, {109, 34, 0, false},
    {110, 45, 0, false}, {111, 46, 0, false},                            // Home .. Delete
    {113, 173, 0, false}, {114, 174, 0, false}, {115, 175, 0, false},    // Mute, Volume Down, Volume Up
    {119, 19, 0, false},                                                 // Pause
    {124, 137, 0, false},                                                // Japanese Yen
    {125, 91, 0, false}, {126, 92, 0, false}, {127, 93, 0, false},       // Windows keys, Application
    {163, 176, 0, false}, {164, 179, 0, false}, {165, 177, 0, false}, {166, 178, 0, false},  // media
    {183, 124, 0, false}, {184, 125, 0, false}, {185, 126, 0, false}, {186, 127, 0, false},
    {187, 128, 0, false}, {188, 129, 0, false}, {189, 130, 0, false}, {190, 131, 0, false},
    {191, 132, 0, false}, {192, 133, 0, false}, {193, 134, 0, false}, {194, 135, 0, false},  // F13..F24
};

const PhysicalKey* Find(int keycode) {
  const int evdev = keycode - kEvdevToX11;
  for (const PhysicalKey& key : kKeys)
    if (key.evdev == evdev) return &key;
  return nullptr;
}

}  // namespace

bool IsPhysicalKey(int keycode) { return Find(keycode) != nullptr; }

int VirtualKeyOfPhysicalKey(int keycode, bool keypad_digits) {
  const PhysicalKey* key = Find(keycode);
  if (!key) return 0;
  return keypad_digits || key->navigation == 0 ? key->code : key->navigation;
}

bool IsKeypadDigitKeysym(uint32_t keysym) {
  return (keysym >= 0xffb0 && keysym <= 0xffb9) || keysym == 0xffae || keysym == 0xffac;
}

bool TypesCharacter(int keycode) {
  const PhysicalKey* key = Find(keycode);
  return key && key->character;
}

int HeldPhysicalKeys::Press(int keycode, int code) {
  // An auto-repeated press keeps the code of the first one.
  return held_.emplace(keycode, code).first->second;
}

int HeldPhysicalKeys::Release(int keycode, int code) {
  auto it = held_.find(keycode);
  if (it == held_.end()) return code;
  code = it->second;
  held_.erase(it);
  return code;
}

}  // namespace tk410
