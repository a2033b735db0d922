#include "nordic/nordic_key_codec.h"

#include <algorithm>

#include "assign/button_function.h"
#include "assign/function_text.h"
#include "assign/key_tables.h"

namespace tk410 {

namespace {

using Slot = NordicKeyTable::Slot;

constexpr uint8_t kKeyboard = 0x00;
constexpr uint8_t kMouse = 0x01;
constexpr uint8_t kConsumer = 0x03;
constexpr uint8_t kDpi = 0x07;
constexpr uint8_t kMacro = 0x09;
constexpr uint8_t kSpecial = 0x0A;

Slot Code(int b0, int b1, int b2, int b3) {
  return Slot{static_cast<uint8_t>(b0), static_cast<uint8_t>(b1), static_cast<uint8_t>(b2),
              static_cast<uint8_t>(b3)};
}

// Mouse functions 1..10 of kind 101 (byte 2 and 3 after 01 00).
Slot MouseFunction(int value) {
  static const uint8_t kCodes[][2] = {{0xF0, 0x00}, {0xF2, 0x00}, {0xF1, 0x00}, {0xF9, 0x00},
                                      {0xF4, 0x00}, {0xF3, 0x00}, {0xF8, 0x01}, {0xF8, 0xFF},
                                      {0xF5, 0x00}, {0xF6, 0x00}};
  if (value < 1 || value > 10) return Code(kMouse, 0, 0, 0);
  return Code(kMouse, 0, kCodes[value - 1][0], kCodes[value - 1][1]);
}

// Multimedia values 1..8 of kind 25: the consumer usage, low and high byte.
Slot Multimedia(int value) {
  static const uint8_t kCodes[][2] = {{0x83, 0x01}, {0xCD, 0x00}, {0xB7, 0x00}, {0xB6, 0x00},
                                      {0xB5, 0x00}, {0xE9, 0x00}, {0xEA, 0x00}, {0xE2, 0x00}};
  if (value < 1 || value > 8) return Code(kConsumer, 0, 0, 0);
  return Code(kConsumer, 0, kCodes[value - 1][0], kCodes[value - 1][1]);
}

Slot Shortcut(int value) {
  switch (value) {
    case 1: return Code(kConsumer, 0, 0x6F, 0x00);
    case 2: return Code(kConsumer, 0, 0x70, 0x00);
    case 3: return Code(kConsumer, 0, 0x92, 0x01);
    case 4: return Code(kConsumer, 0, 0x94, 0x01);
    case 6: return Code(kConsumer, 0, 0x23, 0x02);
    case 7: return Code(kConsumer, 0, 0x8A, 0x01);
    case 8: return Code(kKeyboard, 0, 0x3E, 0x00);  // F5
    case 9: return Code(kSpecial, 0x01, 0x00, 0x00);
    case 11: return Code(kKeyboard, kModCtrl, 0x06, 0x00);  // Ctrl+C
    case 12: return Code(kKeyboard, kModCtrl, 0x19, 0x00);  // Ctrl+V
    case 13: return Code(kKeyboard, kModCtrl, 0x1B, 0x00);  // Ctrl+X
    default: return Code(kConsumer, 0, 0x00, 0x00);
  }
}

void SetRow(KeyMacroRecord* row, int kind, int value, const std::wstring& text) {
  row->macro_type = kind;
  row->macro_value = value;
  row->macro_value2 = 0;
  row->macro_desc = text;
}

bool DecodeKeyboard(const uint8_t* b, KeyMacroRecord* row) {
  if (b[1] == 0 && b[2] == 0) {
    if (b[3] == 0) {
      SetRow(row, kKindZeroCode, 1, L"139");
    } else {
      SetRow(row, kKindKeyboard, 0, L"");  // usage 0: the button's row goes
    }
    return true;
  }
  if (b[1] == kModCtrl && (b[2] == 0x06 || b[2] == 0x19 || b[2] == 0x1B)) {
    const int value = b[2] == 0x06 ? 11 : b[2] == 0x19 ? 12 : 13;
    SetRow(row, kKindNordic105, value, b[2] == 0x06 ? L"31" : b[2] == 0x19 ? L"32" : L"36");
    return true;
  }
  if (b[2] == 0x3E) {
    SetRow(row, kKindNordic105, 8, L"133");
    return true;
  }
  SetRow(row, kKindKeyboard, b[2], ModifierText(b[1], UsageName(b[2])));
  row->macro_value2 = b[1];
  return true;
}

bool DecodeMouse(const uint8_t* b, KeyMacroRecord* row) {
  switch (b[2]) {
    case 0xF0: SetRow(row, kKindLeftClick, 1, L"106"); return true;
    case 0xF1: SetRow(row, kKindRightClick, 1, L"107"); return true;
    case 0xF2: SetRow(row, kKindMiddleClick, 1, L"108"); return true;
    case 0xF3: SetRow(row, kKindBackward, 1, L"109"); return true;
    case 0xF4: SetRow(row, kKindForward, 1, L"110"); return true;
    case 0xF9: SetRow(row, kKindLeftAlternate, 1, L"111"); return true;
    case 0xF8:
      if (b[3] == 1) {
        SetRow(row, kKindScrollUp, 1, L"112");
      } else {
        SetRow(row, kKindScrollDown, 1, L"113");
      }
      return true;
    case 0xF5: SetRow(row, kKindNordic101, 9, L"114"); return true;
    case 0xF6: SetRow(row, kKindNordic101, 10, L"115"); return true;
    default: return false;
  }
}

bool DecodeConsumer(const uint8_t* b, KeyMacroRecord* row) {
  switch (b[2]) {
    case 0xB5: SetRow(row, kKindMultimedia, 5, L"123"); return true;
    case 0xB6: SetRow(row, kKindMultimedia, 4, L"122"); return true;
    case 0xB7: SetRow(row, kKindMultimedia, 3, L"124"); return true;
    case 0xCD: SetRow(row, kKindMultimedia, 2, L"121"); return true;
    case 0xE2: SetRow(row, kKindMultimedia, 8, L"119"); return true;
    case 0xE9: SetRow(row, kKindMultimedia, 6, L"117"); return true;
    case 0xEA: SetRow(row, kKindMultimedia, 7, L"118"); return true;
    case 0x6F: SetRow(row, kKindNordic105, 1, L"127"); return true;
    case 0x70: SetRow(row, kKindNordic105, 2, L"128"); return true;
    default: break;
  }
  struct HighCoded {
    uint8_t low, high;
    int kind, value;
    const wchar_t* text;
  };
  static const HighCoded kHigh[] = {
      {0x83, 1, kKindMultimedia, 1, L"120"}, {0x92, 1, kKindNordic105, 3, L"129"},
      {0x94, 1, kKindNordic105, 4, L"130"},  {0x23, 2, kKindNordic105, 6, L"131"},
      {0x8A, 1, kKindNordic105, 7, L"132"},  {0x27, 2, kKindNordic105, 8, L"133"},
  };
  for (const HighCoded& h : kHigh) {
    if (b[2] == h.low && b[3] == h.high) {
      SetRow(row, h.kind, h.value, h.text);
      return true;
    }
  }
  return false;
}

}  // namespace

int NordicPlayMode(const MacroRecord& macro) {
  if (macro.play_type == 1) return 2;
  if (macro.play_type == 2) return 3;
  return macro.play_times > 1 ? 4 : 1;
}

bool EncodeNordicSlot(const KeyMacroRecord& row, const std::map<int, int>& macro_slots,
                      const RecordList<MacroRecord>& macros, NordicKeyTable::Slot* code) {
  const int v = row.macro_value;
  switch (row.macro_type) {
    case kKindLeftClick: *code = MouseFunction(1); return true;
    case kKindMiddleClick: *code = MouseFunction(2); return true;
    case kKindRightClick: *code = MouseFunction(3); return true;
    case kKindForward: *code = MouseFunction(5); return true;
    case kKindBackward: *code = MouseFunction(6); return true;
    case kKindScrollUp: *code = MouseFunction(7); return true;
    case kKindScrollDown: *code = MouseFunction(8); return true;
    case kKindDpiUp: *code = Code(kDpi, 0, 1, 0); return true;
    case kKindDpiDown: *code = Code(kDpi, 0, 2, 0); return true;
    case kKindDpiCycle: *code = Code(kDpi, 0, 3, 0); return true;
    case kKindDpiFunction0: *code = Code(kDpi, 0, 0, 0); return true;
    case kKindKeyboard: {
      const int usage = v & 0xFF;
      if ((row.macro_value2 & 0xFF) == 0 && usage >= 0xE0 && usage <= 0xE7) {
        *code = Code(kKeyboard, ModifierBit(usage), 0, 0);
      } else {
        *code = Code(kKeyboard, row.macro_value2 & 0xFF, usage, 0);
      }
      return true;
    }
    case kKindMacro:
      for (const auto& m : macros) {
        if (m->macro_id != v) continue;
        const auto slot = macro_slots.find(v);
        const int macro_slot = slot == macro_slots.end() ? 0 : slot->second;
        if (macro_slot >= NordicMacroImage::kMacroSlots) {
          // The mouse has no such macro slot: the button gets its own function.
          const int key_slot = NordicKeyTable::SlotOfKeyCode(row.key_code);
          if (key_slot < 0) return false;
          const NordicKeyTable::Area defaults = NordicKeyTable::DefaultArea();
          std::copy_n(defaults.begin() + NordicKeyTable::kSlotSize * key_slot, code->size(), code->begin());
          return true;
        }
        *code = Code(kMacro, NordicPlayMode(*m), macro_slot, 0);
        return true;
      }
      return false;
    case kKindZeroCode: *code = Code(0, 0, 0, 0); return true;
    case kKindMultimedia: *code = Multimedia(v); return true;
    case kKindNordic101: *code = MouseFunction(v); return true;
    case kKindNordic102: *code = Code(kDpi, 0, v >= 1 && v <= 3 ? v : 0, 0); return true;
    case kKindNordicRaw: {
      const int high = (row.macro_value3 / 256) & 0xFF;
      if (v / 1024 == 1) {
        *code = Code(high | 0x10, v & 0xFF, row.macro_value3 & 0xFF, row.macro_value2 & 0xFF);
      } else {
        *code = Code(high | 0x30, VirtualKeyToUsage(v & 0xFF) & 0xFF, row.macro_value3 & 0xFF,
                     row.macro_value2 & 0xFF);
      }
      return true;
    }
    case kKindNordic105: *code = Shortcut(v); return true;
    default: return false;
  }
}

bool DecodeNordicSlot(int slot, const uint8_t* b, KeyMacroRecord* row) {
  if (b[0] == 0xFF && b[1] == 0xFF) return false;
  row->key_code = slot + 1;
  row->macro_value3 = 0;
  switch (b[0]) {
    case kKeyboard: return DecodeKeyboard(b, row);
    case kMouse: return DecodeMouse(b, row);
    case kConsumer: return DecodeConsumer(b, row);
    case kDpi:
      if (b[2] < 1 || b[2] > 3) return false;
      SetRow(row, b[2] == 1 ? kKindDpiUp : b[2] == 2 ? kKindDpiDown : kKindDpiCycle, 1,
             b[2] == 1 ? L"DPI +" : b[2] == 2 ? L"DPI -" : L"DPI Loop");
      return true;
    case kSpecial:
      if (b[1] == 1) {
        SetRow(row, kKindNordic105, 9, L"134");
      } else {
        SetRow(row, kKindNordic105, 0, L"");
      }
      return true;
    default:
      return false;  // macros and unknown codes: the previous row stays
  }
}

}  // namespace tk410
