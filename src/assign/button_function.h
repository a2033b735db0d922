#pragma once
// What one mouse button does, as held in a t_key_macro_data row: the function
// kinds (macro_type), their parameters (macro_value) and the TextIds stored as
// their texts, the buttons of the buttons page and the page's function list.
// All of it is constant data.

#include <span>

namespace tk410 {

// macro_type values.
enum ButtonKind : int {
  kKindLeftClick = 1,
  kKindMiddleClick = 2,
  kKindRightClick = 3,
  kKindLeftAlternate = 4,   // left button with byte 2 = 2 (wired)
  kKindForward = 5,
  kKindBackward = 6,
  kKindScrollUp = 7,
  kKindScrollDown = 8,
  kKindFunction55 = 9,      // 0x21/0x55
  kKindFunctionAA = 10,     // 0x21/0xAA
  kKindFunction61 = 11,     // 0x21/0x61
  kKindFunction62 = 12,     // 0x21/0x62
  kKindTextOnly13 = 13,
  kKindTextOnly14 = 14,
  kKindDpiUp = 15,
  kKindDpiDown = 16,
  kKindDpiCycle = 17,
  kKindDpiFunction0 = 18,   // Nordic family only
  kKindF0021 = 19,          // 0xF0/0x02/1
  kKindF0022 = 20,
  kKindF0023 = 21,
  kKindKeyboard = 22,       // value: HID usage, value2: modifier bits
  kKindMacro = 23,          // value: macro_id
  kKindZeroCode = 24,       // code 0x00 followed by the button's own function
  kKindMultimedia = 25,     // value 1..8
  kKindShortcut = 26,       // value 1..13
  kKindEmoji = 27,          // value: emoji number 1..109
  kKindNordic101 = 101,
  kKindNordic102 = 102,
  kKindNordicDpi = 103,     // value 1..5
  kKindNordicRaw = 104,
  kKindNordic105 = 105,
};

// Modifier bits of keyboard assignments (the HID keyboard modifier byte).
enum ModifierBits : int {
  kModCtrl = 0x01,
  kModShift = 0x02,
  kModAlt = 0x04,
  kModWin = 0x08,
};

// A parameter value of kind 25 or 26 with its TextId.
struct FunctionValueText {
  int value;
  int text_id;
  bool offered;  // listed by the assignment dialog
};

// One button of the buttons page and its own (default) function.
struct ButtonInfo {
  int key_code;
  int mouse_item;         // item of the MouseCtrl picture
  int default_kind;
  int default_text_id;
  int default_combo_index;
};

// One item of a button's function combo box (item data = kind).
struct FunctionListItem {
  int kind;
  int text_id;
  bool only_buttons_1_and_10;  // listed only for key_code 1 and 10
  bool opens_dialog;           // chosen through the assignment dialog
};

// The TextId stored for a kind and value, or 0 when the kind stores its given
// text (kinds 12, 22, 23, 27, unknown kinds, values outside the tables).
int FunctionTextId(int kind, int value);

std::span<const FunctionValueText> MultimediaValues();
std::span<const FunctionValueText> ShortcutValues();
// The order in which the assignment dialog lists the offered shortcuts.
std::span<const int> ShortcutDialogOrder();

std::span<const ButtonInfo> PageButtons();
const ButtonInfo* FindPageButton(int key_code);
std::span<const FunctionListItem> FunctionList();

}  // namespace tk410
