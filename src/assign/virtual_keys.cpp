#include "assign/virtual_keys.h"

#include <array>
#include <span>

#include "base/text.h"

namespace tk410 {

namespace {

struct KeyRow {
  int vk;
  uint32_t keysym;
  int qt_key;  // Qt::Key above the Latin-1 range; Latin-1 Qt keys equal the upper-case keysym
  const wchar_t* name;
};

// X11 keysym numbers (keysymdef.h) and Qt::Key numbers (qnamespace.h).
constexpr KeyRow kKeys[] = {
    {8, 0xff08, 0x01000003, L"Backspace"},
    {9, 0xff09, 0x01000001, L"Tab"},
    {9, 0xfe20, 0x01000002, nullptr},  // ISO_Left_Tab / Backtab
    {101, 0xff9d, 0x0100000b, nullptr},  // keypad 5 with Num Lock off: still keypad 5
    {13, 0xff0d, 0x01000004, L"Enter"},
    {108, 0xff8d, 0x01000005, L"Num Enter"},  // keypad Enter
    {16, 0, 0x01000020, L"Shift"},
    {17, 0, 0x01000021, L"Ctrl"},
    {18, 0, 0x01000023, L"Alt"},
    {19, 0xff13, 0x01000008, L"Pause"},
    {20, 0xffe5, 0x01000024, L"Caps Lock"},
    {27, 0xff1b, 0x01000000, L"Esc"},
    {32, 0x0020, 0, L"Space"},
    {33, 0xff55, 0x01000016, L"Page Up"},
    {34, 0xff56, 0x01000017, L"Page Down"},
    {35, 0xff57, 0x01000011, L"End"},
    {36, 0xff50, 0x01000010, L"Home"},
    {37, 0xff51, 0x01000012, L"Left"},
    {38, 0xff52, 0x01000013, L"Up"},
    {39, 0xff53, 0x01000014, L"Right"},
    {40, 0xff54, 0x01000015, L"Down"},
    {44, 0xff61, 0x01000009, L"Print Screen"},
    {45, 0xff63, 0x01000006, L"Insert"},
    {46, 0xffff, 0x01000007, L"Delete"},
    // Keypad keys with Num Lock off act as the navigation keys.
    {33, 0xff9a, 0, nullptr}, {34, 0xff9b, 0, nullptr}, {35, 0xff9c, 0, nullptr},
    {36, 0xff95, 0, nullptr}, {37, 0xff96, 0, nullptr}, {38, 0xff97, 0, nullptr},
    {39, 0xff98, 0, nullptr}, {40, 0xff99, 0, nullptr}, {45, 0xff9e, 0, nullptr},
    {46, 0xff9f, 0, nullptr},
    // Shifted digits of the US layout name the digit key.
    {49, 0x0021, 0, nullptr}, {50, 0x0040, 0, nullptr}, {51, 0x0023, 0, nullptr},
    {52, 0x0024, 0, nullptr}, {53, 0x0025, 0, nullptr}, {54, 0x005e, 0, nullptr},
    {55, 0x0026, 0, nullptr}, {56, 0x002a, 0, nullptr}, {57, 0x0028, 0, nullptr},
    {48, 0x0029, 0, nullptr},
    {91, 0xffeb, 0x01000053, L"Windows"},
    {91, 0, 0x01000022, nullptr},  // Qt's Meta is the Windows key
    {92, 0xffec, 0x01000054, L"RWindows"},
    {93, 0xff67, 0x01000055, L"Application"},
    {106, 0xffaa, 0, L"Num *"},
    {107, 0xffab, 0, L"Num +"},
    {109, 0xffad, 0, L"Num -"},
    {110, 0xffae, 0, L"Num Del"},
    {110, 0xffac, 0, nullptr},  // KP_Separator
    {111, 0xffaf, 0, L"Num /"},
    {144, 0xff7f, 0x01000025, L"Num Lock"},
    {145, 0xff14, 0x01000026, L"Scroll Lock"},
    {160, 0xffe1, 0, L"Shift"},
    {161, 0xffe2, 0, L"RShift"},
    {162, 0xffe3, 0, L"Ctrl"},
    {163, 0xffe4, 0, L"RCtrl"},
    {164, 0xffe9, 0, L"Alt"},
    {165, 0xffea, 0x01001103, L"RAlt"},
    {165, 0xfe03, 0, nullptr},  // ISO_Level3_Shift (AltGr)
    {173, 0x1008ff12, 0x01000071, L"Mute"},
    {174, 0x1008ff11, 0x01000070, L"Volume Down"},
    {175, 0x1008ff13, 0x01000072, L"Volume Up"},
    {176, 0x1008ff17, 0x01000083, L"Next Track"},
    {177, 0x1008ff16, 0x01000082, L"Previous Track"},
    {178, 0x1008ff15, 0x01000081, L"Stop"},
    {179, 0x1008ff14, 0x01000080, L"Play/Pause"},
    {179, 0, 0x01000086, nullptr},
    {186, 0x003b, 0, L";"}, {186, 0x003a, 0, nullptr},
    {187, 0x003d, 0, L"="}, {187, 0x002b, 0, nullptr},
    {188, 0x002c, 0, L","}, {188, 0x003c, 0, nullptr},
    {189, 0x002d, 0, L"-"}, {189, 0x005f, 0, nullptr},
    {190, 0x002e, 0, L"."}, {190, 0x003e, 0, nullptr},
    {191, 0x002f, 0, L"/"}, {191, 0x003f, 0, nullptr},
    {192, 0x0060, 0, L"`"}, {192, 0x007e, 0, nullptr},
    {219, 0x005b, 0, L"["}, {219, 0x007b, 0, nullptr},
    {220, 0x005c, 0, L"\\"}, {220, 0x007c, 0, nullptr},
    {221, 0x005d, 0, L"]"}, {221, 0x007d, 0, nullptr},
    {222, 0x0027, 0, L"'"}, {222, 0x0022, 0, nullptr},
};

// Ranges that follow a pattern: letters, digits, keypad digits, F1..F24.
int RangeVirtualKey(uint32_t keysym) {
  if (keysym >= 'a' && keysym <= 'z') return static_cast<int>(keysym - 'a' + 'A');
  if (keysym >= 'A' && keysym <= 'Z') return static_cast<int>(keysym);
  if (keysym >= '0' && keysym <= '9') return static_cast<int>(keysym);
  if (keysym >= 0xffb0 && keysym <= 0xffb9) return static_cast<int>(96 + keysym - 0xffb0);
  if (keysym >= 0xffbe && keysym <= 0xffd5) return static_cast<int>(112 + keysym - 0xffbe);
  return 0;
}

}  // namespace

int VirtualKeyOfKeysym(uint32_t keysym) {
  if (keysym == 0) return 0;
  if (int vk = RangeVirtualKey(keysym)) return vk;
  for (const KeyRow& row : kKeys)
    if (row.keysym == keysym) return row.vk;
  return 0;
}

int VirtualKeyOfQtKey(int qt_key) {
  if (qt_key <= 0) return 0;
  if (qt_key < 0x100) return VirtualKeyOfKeysym(static_cast<uint32_t>(qt_key));
  if (qt_key >= 0x01000030 && qt_key <= 0x01000047) return 112 + qt_key - 0x01000030;  // F1..F24
  for (const KeyRow& row : kKeys)
    if (row.qt_key == qt_key) return row.vk;
  return 0;
}

uint32_t KeysymOfVirtualKey(int vk) {
  if (vk >= 'A' && vk <= 'Z') return static_cast<uint32_t>(vk - 'A' + 'a');
  if (vk >= '0' && vk <= '9') return static_cast<uint32_t>(vk);
  if (vk >= 96 && vk <= 105) return static_cast<uint32_t>(0xffb0 + vk - 96);
  if (vk >= 112 && vk <= 135) return static_cast<uint32_t>(0xffbe + vk - 112);
  for (const KeyRow& row : kKeys)
    if (row.vk == vk && row.keysym != 0) return row.keysym;
  return 0;
}

std::wstring VirtualKeyName(int vk) {
  if ((vk >= 'A' && vk <= 'Z') || (vk >= '0' && vk <= '9')) return std::wstring(1, static_cast<wchar_t>(vk));
  if (vk >= 96 && vk <= 105) return L"Num " + FormatInt(vk - 96);
  if (vk >= 112 && vk <= 135) return L"F" + FormatInt(vk - 111);
  for (const KeyRow& row : kKeys)
    if (row.vk == vk && row.name) return row.name;
  return L"";
}

}  // namespace tk410
