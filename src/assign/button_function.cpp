#include "assign/button_function.h"

namespace tk410 {
namespace {

struct KindText {
  int kind;
  int text_id;
};

// Kinds whose stored text is always the same TextId, whatever their value.
constexpr KindText kKindTexts[] = {
    {kKindLeftClick, 121},  {kKindMiddleClick, 123}, {kKindRightClick, 122},
    {kKindLeftAlternate, 111}, {kKindForward, 124},  {kKindBackward, 125},
    {kKindScrollUp, 127},   {kKindScrollDown, 128},  {kKindFunction55, 90},
    {kKindFunctionAA, 91},  {kKindFunction61, 156},  {kKindTextOnly13, 129},
    {kKindTextOnly14, 130}, {kKindDpiUp, 150},       {kKindDpiDown, 151},
    {kKindDpiCycle, 152},   {kKindDpiFunction0, 152}, {kKindF0021, 153},
    {kKindF0022, 154},      {kKindF0023, 155},       {kKindZeroCode, 162},
    {kKindNordicRaw, 161},
};

// Multimedia keys: HID consumer usages 0x0183, 0xCD, 0xB7, 0xB6, 0xB5, 0xE9,
// 0xEA, 0xE2 for values 1 to 8.
constexpr FunctionValueText kMultimedia[] = {
    {1, 178, false}, {2, 179, true}, {3, 182, true}, {4, 180, true},
    {5, 181, true},  {6, 175, true}, {7, 176, true}, {8, 177, true},
};

// System shortcuts: brightness up/down, calculator, Win+E, Win+D, home page,
// mail, F5, Alt+Tab, Win+Print Screen, Ctrl+C, Ctrl+V, Ctrl+X.
constexpr FunctionValueText kShortcuts[] = {
    {1, 185, true},  {2, 186, true},  {3, 187, true},  {4, 189, true},
    {5, 188, true},  {6, 190, true},  {7, 191, true},  {8, 192, false},
    {9, 193, true},  {10, 194, true}, {11, 31, true},  {12, 32, true},
    {13, 36, true},
};

constexpr int kShortcutOrder[] = {1, 2, 3, 5, 4, 7, 6, 9, 10, 11, 12, 13};

// Nordic DPI kind 103: values 1..5 store TextIds 151..155.
constexpr int kNordicDpiFirstText = 151;
constexpr int kNordicDpiValues = 5;

constexpr ButtonInfo kButtons[] = {
    {1, 0, kKindLeftClick, 121, 0},   {2, 1, kKindRightClick, 122, 2},
    {3, 2, kKindMiddleClick, 123, 1}, {4, 3, kKindForward, 124, 3},
    {5, 4, kKindBackward, 125, 4},    {7, 5, kKindScrollUp, 127, 5},
    {8, 6, kKindScrollDown, 128, 6},  {10, 7, kKindFunction61, 156, 7},
};

constexpr FunctionListItem kFunctionList[] = {
    {kKindLeftClick, 121, false, false},  {kKindMiddleClick, 123, false, false},
    {kKindRightClick, 122, false, false}, {kKindForward, 124, false, false},
    {kKindBackward, 125, false, false},   {kKindScrollUp, 127, false, false},
    {kKindScrollDown, 128, false, false}, {kKindFunction61, 156, true, false},
    {kKindDpiUp, 150, false, false},      {kKindDpiDown, 151, false, false},
    {kKindDpiCycle, 152, false, false},   {kKindF0021, 153, false, false},
    {kKindF0022, 154, false, false},      {kKindF0023, 155, false, false},
    {kKindKeyboard, 160, false, true},    {kKindMacro, 161, false, true},
    {kKindZeroCode, 162, false, false},   {kKindMultimedia, 163, false, true},
    {kKindShortcut, 164, false, true},
};

int ValueTextId(std::span<const FunctionValueText> table, int value) {
  for (const auto& row : table)
    if (row.value == value) return row.text_id;
  return 0;
}

}  // namespace

int FunctionTextId(int kind, int value) {
  switch (kind) {
    case kKindMultimedia:
      return ValueTextId(kMultimedia, value);
    case kKindShortcut:
      return ValueTextId(kShortcuts, value);
    case kKindNordicDpi:
      return value >= 1 && value <= kNordicDpiValues ? kNordicDpiFirstText + value - 1 : 0;
    default:
      for (const auto& row : kKindTexts)
        if (row.kind == kind) return row.text_id;
      return 0;
  }
}

std::span<const FunctionValueText> MultimediaValues() { return kMultimedia; }
std::span<const FunctionValueText> ShortcutValues() { return kShortcuts; }
std::span<const int> ShortcutDialogOrder() { return kShortcutOrder; }
std::span<const ButtonInfo> PageButtons() { return kButtons; }
std::span<const FunctionListItem> FunctionList() { return kFunctionList; }

const ButtonInfo* FindPageButton(int key_code) {
  for (const auto& button : kButtons)
    if (button.key_code == key_code) return &button;
  return nullptr;
}

}  // namespace tk410
