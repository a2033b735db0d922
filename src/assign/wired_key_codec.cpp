#include "assign/wired_key_codec.h"

#include "assign/button_function.h"
#include "assign/function_text.h"
#include "assign/key_tables.h"
#include "base/text.h"

namespace tk410 {
namespace {

enum CodeGroup : uint8_t {
  kGroupZero = 0x00,
  kGroupKeyboard = 0x10,
  kGroupMouse = 0x20,
  kGroupWheel = 0x21,
  kGroupConsumer = 0x30,
  kGroupEmoji = 0x50,
  kGroupMacro = 0x70,
  kGroupDpi = 0xF0,
};

// A kind (and value, for kinds 25 and 26) with a fixed code. The decoder takes
// the first row whose bytes 0 and 1 match, and byte 2 when `test_b2` is set;
// byte 3 is always 0 and never tested. Rows are in decoding order.
struct FixedCodeRow {
  int kind;
  int value;  // 0: the kind has no parameter (any value encodes, 1 is read)
  uint8_t b0, b1, b2;
  bool test_b2;
  bool readable;     // recognised by the device read
  int read_text_id;  // text stored by the read when it differs from the kind's
};

constexpr FixedCodeRow kFixedCodes[] = {
    {kKindLeftAlternate, 0, kGroupMouse, 0x01, 0x02, true, true, 126},
    {kKindLeftClick, 0, kGroupMouse, 0x01, 0x00, false, true, 0},
    {kKindRightClick, 0, kGroupMouse, 0x02, 0x00, false, true, 0},
    {kKindMiddleClick, 0, kGroupMouse, 0x04, 0x00, false, true, 0},
    {kKindBackward, 0, kGroupMouse, 0x08, 0x00, false, true, 0},
    {kKindForward, 0, kGroupMouse, 0x10, 0x00, false, true, 0},
    {kKindScrollUp, 0, kGroupWheel, 0x38, 0x01, true, true, 0},
    {kKindScrollDown, 0, kGroupWheel, 0x38, 0xFF, true, true, 0},
    {kKindFunction55, 0, kGroupWheel, 0x55, 0x00, false, true, 0},
    {kKindFunctionAA, 0, kGroupWheel, 0xAA, 0x00, false, true, 0},
    {kKindFunction61, 0, kGroupWheel, 0x61, 0x00, false, true, 0},
    {kKindFunction62, 0, kGroupWheel, 0x62, 0x00, false, false, 0},
    {kKindDpiUp, 0, kGroupDpi, 0x01, 0x01, true, true, 0},
    {kKindDpiDown, 0, kGroupDpi, 0x01, 0x02, true, true, 0},
    {kKindDpiCycle, 0, kGroupDpi, 0x01, 0x03, true, true, 0},
    {kKindF0021, 0, kGroupDpi, 0x02, 0x01, true, true, 0},
    {kKindF0022, 0, kGroupDpi, 0x02, 0x02, true, true, 0},
    {kKindF0023, 0, kGroupDpi, 0x02, 0x03, true, true, 0},
    // Multimedia keys: consumer usage, low byte then high byte.
    {kKindMultimedia, 1, kGroupConsumer, 0x83, 0x01, true, true, 0},
    {kKindMultimedia, 2, kGroupConsumer, 0xCD, 0x00, false, true, 0},
    {kKindMultimedia, 3, kGroupConsumer, 0xB7, 0x00, false, true, 0},
    {kKindMultimedia, 4, kGroupConsumer, 0xB6, 0x00, false, true, 0},
    {kKindMultimedia, 5, kGroupConsumer, 0xB5, 0x00, false, true, 0},
    {kKindMultimedia, 6, kGroupConsumer, 0xE9, 0x00, false, true, 0},
    {kKindMultimedia, 7, kGroupConsumer, 0xEA, 0x00, false, true, 0},
    {kKindMultimedia, 8, kGroupConsumer, 0xE2, 0x00, false, true, 0},
    // System shortcuts: consumer usages or keyboard combinations.
    {kKindShortcut, 1, kGroupConsumer, 0x6F, 0x00, false, true, 0},
    {kKindShortcut, 2, kGroupConsumer, 0x70, 0x00, false, true, 0},
    {kKindShortcut, 3, kGroupConsumer, 0x92, 0x01, true, true, 0},
    {kKindShortcut, 4, kGroupKeyboard, kModWin, 0x08, true, true, 0},   // Win + E
    {kKindShortcut, 5, kGroupKeyboard, kModWin, 0x07, true, true, 0},   // Win + D
    {kKindShortcut, 6, kGroupConsumer, 0x23, 0x02, true, true, 0},
    {kKindShortcut, 7, kGroupConsumer, 0x8A, 0x01, true, true, 0},
    {kKindShortcut, 8, kGroupKeyboard, 0x00, 0x3E, true, true, 0},      // F5
    {kKindShortcut, 9, kGroupKeyboard, kModAlt, 0x2B, true, true, 0},   // Alt + Tab
    {kKindShortcut, 10, kGroupKeyboard, kModWin, 0x46, true, true, 0},  // Win + Print Screen
    {kKindShortcut, 11, kGroupKeyboard, kModCtrl, 0x06, true, true, 0}, // Ctrl + C
    {kKindShortcut, 12, kGroupKeyboard, kModCtrl, 0x19, true, true, 0}, // Ctrl + V
    {kKindShortcut, 13, kGroupKeyboard, kModCtrl, 0x1B, true, true, 0}, // Ctrl + X
};

// Bytes 1 to 3 of the zero code: the button's own function by key_code.
struct OwnFunction {
  int key_code;
  uint8_t b1, b2, b3;
};

constexpr OwnFunction kOwnFunctions[] = {
    {1, 0x01, 0x00, 0x00}, {2, 0x02, 0x00, 0x00}, {3, 0x04, 0x00, 0x00},
    {4, 0x10, 0x00, 0x00}, {5, 0x08, 0x00, 0x00}, {7, 0x38, 0x01, 0x00},
    {8, 0x38, 0xFF, 0x00}, {9, 0x21, 0xAA, 0x00},
};

// key_code of each slot: slots 3 and 4 hold the forward and backward buttons
// the other way round.
constexpr int kSlotKeyCodes[kWiredKeySlots] = {1, 2, 3, 5, 4, 6, 7, 8, 9, 10, 11};

// Play-mode byte of a macro code for play_type 1 and 2.
constexpr uint8_t kMacroPlayMode1 = 2;
constexpr uint8_t kMacroPlayMode2 = 3;

const wchar_t kEmojiReadText[] = L"表情符号";

bool HasParameter(int kind) { return kind == kKindMultimedia || kind == kKindShortcut; }

const FixedCodeRow* FindEncodeRow(int kind, int value) {
  for (const auto& row : kFixedCodes)
    if (row.kind == kind && (!HasParameter(kind) || row.value == value)) return &row;
  return nullptr;
}

const FixedCodeRow* FindDecodeRow(const WiredKeyCode& code) {
  for (const auto& row : kFixedCodes) {
    if (!row.readable || row.b0 != code[0] || row.b1 != code[1]) continue;
    if (row.test_b2 && row.b2 != code[2]) continue;
    return &row;
  }
  return nullptr;
}

uint8_t LowByte(int value) { return static_cast<uint8_t>(value & 0xFF); }

WiredKeyCode EncodeMacro(int macro_id, const RecordList<MacroRecord>& macros) {
  WiredKeyCode code{kGroupMacro, 0, 0, 0};
  for (size_t position = 0; position < macros.size(); ++position) {
    const MacroRecord& macro = *macros[position];
    if (macro.macro_id != macro_id) continue;
    code[1] = LowByte(static_cast<int>(position));
    code[2] = 1;
    if (macro.play_type == 1)
      code[3] = kMacroPlayMode1;
    else if (macro.play_type == 2)
      code[3] = kMacroPlayMode2;
    else if (macro.play_times > 1)
      code[2] = LowByte(macro.play_times);
    break;
  }
  return code;
}

}  // namespace

int WiredSlotKeyCode(int slot) {
  return slot >= 0 && slot < kWiredKeySlots ? kSlotKeyCodes[slot] : 0;
}

int WiredKeySlot(int key_code) {
  for (int slot = 0; slot < kWiredKeySlots; ++slot)
    if (kSlotKeyCodes[slot] == key_code) return slot;
  return -1;
}

WiredKeyCode EncodeWiredKey(const KeyMacroRecord& record, const RecordList<MacroRecord>& macros) {
  switch (record.macro_type) {
    case kKindKeyboard: {
      // A lone modifier key travels as its modifier bit.
      if (record.macro_value2 == 0 && IsModifierUsage(record.macro_value))
        return {kGroupKeyboard, LowByte(ModifierBit(record.macro_value)), 0, 0};
      return {kGroupKeyboard, LowByte(record.macro_value2), LowByte(record.macro_value), 0};
    }
    case kKindMacro:
      return EncodeMacro(record.macro_value, macros);
    case kKindZeroCode:
      for (const auto& own : kOwnFunctions)
        if (own.key_code == record.key_code) return {kGroupZero, own.b1, own.b2, own.b3};
      return {kGroupZero, 0, 0, 0};
    case kKindEmoji:
      return {kGroupEmoji, LowByte(record.macro_value), 0, 0};
    default:
      if (const FixedCodeRow* row = FindEncodeRow(record.macro_type, record.macro_value))
        return {row->b0, row->b1, row->b2, 0};
      return {0, 0, 0, 0};
  }
}

std::optional<KeyMacroRecord> DecodeWiredKey(int profile, int slot, const WiredKeyCode& code,
                                             const RecordList<MacroRecord>& macros) {
  const int key_code = WiredSlotKeyCode(slot);
  if (key_code == 0) return std::nullopt;
  if (code == WiredKeyCode{0, 0, 0, 0}) return std::nullopt;
  if (code[0] == 0xFF && code[1] == 0xFF) return std::nullopt;

  KeyMacroRecord row;
  row.profile = profile;
  row.fn_layer = 0;
  row.key_code = key_code;
  row.macro_value = 1;

  if (const FixedCodeRow* fixed = FindDecodeRow(code)) {
    row.macro_type = fixed->kind;
    if (fixed->value != 0) row.macro_value = fixed->value;
    const int text_id = fixed->read_text_id != 0 ? fixed->read_text_id
                                                 : FunctionTextId(fixed->kind, row.macro_value);
    row.macro_desc = FormatInt(text_id);
    return row;
  }

  switch (code[0]) {
    case kGroupZero:
      row.macro_type = kKindZeroCode;
      row.macro_desc = FormatInt(FunctionTextId(kKindZeroCode, 1));
      return row;
    case kGroupKeyboard:
      row.macro_type = kKindKeyboard;
      row.macro_value = code[2];
      row.macro_value2 = code[1];
      row.macro_desc = ModifierText(code[1], UsageName(code[2]));
      return row;
    case kGroupEmoji:
      row.macro_type = kKindEmoji;
      row.macro_value = code[1];
      row.macro_desc = kEmojiReadText;
      return row;
    case kGroupMacro:
      if (code[1] >= macros.size()) return std::nullopt;
      row.macro_type = kKindMacro;
      row.macro_value = macros[code[1]]->macro_id;
      row.macro_desc = macros[code[1]]->name;
      return row;
    default:
      return std::nullopt;
  }
}

}  // namespace tk410
