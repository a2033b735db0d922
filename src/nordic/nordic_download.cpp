// The Nordic key and macro downloads and the decoding of a key table read
// from the device.

#include <algorithm>
#include <cstring>

#include "assign/button_function.h"
#include "base/clock.h"
#include "base/trace.h"
#include "device/device_manager.h"
#include "nordic/nordic_key_codec.h"
#include "nordic/nordic_macro_image.h"
#include "nordic/nordic_protocol.h"
#include "store/config_database.h"
#include "ui/device_main_dlg.h"

namespace tk410 {

NordicMacroResult NordicProtocol::DownloadNordicMacros() {
  ConfigDatabase& db = window_.Db();
  const int profile = window_.current_profile.load();
  RecordList<KeyMacroRecord> rows;
  db.LoadKeyRecords(profile, 0, rows);
  state_.macro_slots.clear();
  RecordList<MacroRecord> macros;
  db.LoadMacros(macros);

  NordicMacroResult result;
  int counter = -1;
  for (const auto& macro : macros) {
    const bool used = std::any_of(rows.begin(), rows.end(), [&](const auto& r) {
      return r->macro_type == kKindMacro && r->macro_value == macro->macro_id;
    });
    if (!used) continue;
    if (state_.macro_slots.count(macro->macro_id) == 0) state_.macro_slots[macro->macro_id] = ++counter;
    RecordList<MacroEvent> steps;
    if (db.LoadMacroEvents(macro->macro_id, steps) < 1 || steps.empty()) continue;
    ++result.given;
    const int slot = state_.macro_slots[macro->macro_id];
    if (slot >= NordicMacroImage::kMacroSlots) {
      // The key download gives its buttons their default codes.
      result.not_whole.push_back(macro->macro_id);
      Trace(kTraceError, "macro %d: slot %d is past the mouse's %d macro slots, not sent",
            macro->macro_id, slot, NordicMacroImage::kMacroSlots);
      continue;
    }

    const NordicMacroBuild build = BuildNordicMacroImage(*macro, steps);
    if (build.Truncated()) {
      ++result.truncated;
      result.not_whole.push_back(macro->macro_id);
      Trace(kTraceError, "macro %d: %d steps beyond the 1024-byte image left out", macro->macro_id,
            build.dropped_steps);
    }
    for (const NordicFrame& request : build.image.Requests(state_.target, static_cast<uint8_t>(slot))) {
      result.answered = SendOnce(request) && result.answered;
    }
    ++result.sent;
  }
  return result;
}

bool NordicProtocol::DownloadNordicKeys() {
  bool answered = true;
  if (state_.key_table[nordic::kCodeAt] == 0) {
    NordicFrame reply;
    answered = Send(Request(nordic::kCmdKeyTable, nordic::kCodeRead, nordic::kSubRead), nordic::kCodeKeyTable,
                    Retry::kAfterWait, &reply);
    if (answered) NordicState::Keep(&state_.key_table, reply);
  }
  NordicKeyTable::Area area{};
  if (state_.KeyTableValid()) {
    std::copy_n(state_.key_table.begin() + NordicKeyTable::kSlotsAt, area.size(), area.begin());
  }

  ConfigDatabase& db = window_.Db();
  RecordList<KeyMacroRecord> rows;
  db.LoadKeyRecords(window_.current_profile.load(), 0, rows);
  RecordList<MacroRecord> macros;
  db.LoadMacros(macros);
  for (const auto& row : rows) {
    const int slot = NordicKeyTable::SlotOfKeyCode(row->key_code);
    NordicKeyTable::Slot code;
    if (slot < 0 || !EncodeNordicSlot(*row, state_.macro_slots, macros, &code)) continue;
    std::copy(code.begin(), code.end(), area.begin() + NordicKeyTable::kSlotSize * slot);
  }

  NordicFrame request = Request(nordic::kCmdKeyTable, nordic::kCodeKeyTable, nordic::kSubBlockWrite);
  std::memcpy(request.data() + NordicKeyTable::kSlotsAt, area.data(), area.size());
  return Send(request, nordic::kCodeKeyTable, Retry::kAtOnce) && answered;
}

void NordicProtocol::DecodeNordicKey(int slot, const uint8_t* code) {
  KeyMacroRecord row;
  if (!DecodeNordicSlot(slot, code, &row)) return;
  row.profile = window_.current_profile.load();
  row.fn_layer = 0;
  window_.Db().SaveKeyRecord(row);
}

}  // namespace tk410
