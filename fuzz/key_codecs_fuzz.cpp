// Button codes of both families, both ways. A code read from the mouse that
// gives a button row, written back and read once more, leaves that row: the
// read gives the same row, or nothing (the stored row stays). A button row
// of any numbers (an imported profile may hold any) encodes without fault.

#include <fuzzer/FuzzedDataProvider.h>

#include <cstddef>
#include <cstdint>
#include <map>
#include <memory>

#include "assign/button_function.h"
#include "assign/wired_key_codec.h"
#include "nordic/nordic_key_codec.h"
#include "support/check.h"

namespace {

using namespace tk410;

// A lone modifier key (usage 0xE0..0xE7 without modifier bits) goes to the
// mouse as its modifier bit and is read back as that bit without a usage:
// the same key, stored the other way.
bool LoneModifier(const KeyMacroRecord& row) {
  return row.macro_type == kKindKeyboard && row.macro_value2 == 0 && row.macro_value >= 0xE0 &&
         row.macro_value <= 0xE7;
}

bool SameRow(const KeyMacroRecord& a, const KeyMacroRecord& b) {
  if (LoneModifier(a)) return b.macro_type == kKindKeyboard && b.macro_value == 0;
  return a.key_code == b.key_code && a.macro_type == b.macro_type && a.macro_value == b.macro_value &&
         a.macro_value2 == b.macro_value2 && a.macro_value3 == b.macro_value3 &&
         a.macro_desc == b.macro_desc;
}

int AnyInt(FuzzedDataProvider& in) {
  // Mostly small numbers, where the kinds and values lie; sometimes any.
  return in.ConsumeBool() ? in.ConsumeIntegralInRange<int>(-2, 300) : in.ConsumeIntegral<int>();
}

KeyMacroRecord AnyRow(FuzzedDataProvider& in) {
  KeyMacroRecord row;
  row.key_code = AnyInt(in);
  row.macro_type = AnyInt(in);
  row.macro_value = AnyInt(in);
  row.macro_value2 = AnyInt(in);
  row.macro_value3 = AnyInt(in);
  return row;
}

void Wired(FuzzedDataProvider& in, const RecordList<MacroRecord>& macros) {
  const int slot = in.ConsumeIntegralInRange<int>(-1, kWiredKeySlots);
  WiredKeyCode code{};
  for (auto& b : code) b = in.ConsumeIntegral<uint8_t>();
  const auto row = DecodeWiredKey(1, slot, code, macros);
  if (row) {
    TK410_FUZZ_CHECK(row->key_code == WiredSlotKeyCode(slot));
    const WiredKeyCode again = EncodeWiredKey(*row, macros);
    const auto reread = DecodeWiredKey(1, slot, again, macros);
    TK410_FUZZ_CHECK(!reread || SameRow(*row, *reread));
  }
  const KeyMacroRecord any = AnyRow(in);
  (void)EncodeWiredKey(any, macros);
  TK410_FUZZ_CHECK(WiredKeySlot(WiredSlotKeyCode(slot)) == (slot >= 0 && slot < kWiredKeySlots ? slot : -1));
}

void Nordic(FuzzedDataProvider& in, const RecordList<MacroRecord>& macros) {
  std::map<int, int> macro_slots;
  for (const auto& m : macros) macro_slots[m->macro_id] = in.ConsumeIntegralInRange<int>(-1, 40);
  const int slot = in.ConsumeIntegralInRange<int>(0, NordicKeyTable::kSlots - 1);
  NordicKeyTable::Slot code{};
  for (auto& b : code) b = in.ConsumeIntegral<uint8_t>();
  KeyMacroRecord row;
  // A row with both values 0 is not stored: it removes the button's row.
  if (DecodeNordicSlot(slot, code.data(), &row) && (row.macro_value != 0 || row.macro_value2 != 0)) {
    NordicKeyTable::Slot again{};
    if (EncodeNordicSlot(row, macro_slots, macros, &again)) {
      KeyMacroRecord reread;
      if (DecodeNordicSlot(slot, again.data(), &reread)) TK410_FUZZ_CHECK(SameRow(row, reread));
    }
  }
  const KeyMacroRecord any = AnyRow(in);
  NordicKeyTable::Slot out{};
  (void)EncodeNordicSlot(any, macro_slots, macros, &out);
  (void)NordicKeyTable::SlotOfKeyCode(any.key_code);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzedDataProvider in(data, size);
  RecordList<MacroRecord> macros;
  const int count = in.ConsumeIntegralInRange<int>(0, 40);
  for (int i = 0; i < count; ++i) {
    auto m = std::make_unique<MacroRecord>();
    m->macro_id = in.ConsumeIntegralInRange<int>(-1, 64);
    m->play_type = AnyInt(in);
    m->play_times = AnyInt(in);
    macros.push_back(std::move(m));
  }
  while (in.remaining_bytes() > 0) {
    Wired(in, macros);
    Nordic(in, macros);
  }
  return 0;
}
