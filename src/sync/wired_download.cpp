// Button codes and macros between the settings database and a wired mouse:
// the key read of read all, the key download of profiles 1..5, the default
// key write and the macro download.

#include <algorithm>
#include <vector>

#include "assign/button_function.h"
#include "assign/wired_key_store.h"
#include "base/trace.h"
#include "device/device_manager.h"
#include "device/wired_layout.h"
#include "store/config_database.h"
#include "sync/wired_routines.h"
#include "ui/device_main_dlg.h"

namespace tk410 {

namespace {

constexpr uint8_t kKeyForm = 0xA5;
constexpr uint8_t kChunkForm = 0x00;
constexpr uint8_t kEndForm = 0xA5;
constexpr int kDownloadProfiles = 5;  // profiles 1..5 (the key read covers six)

void PutSlot(WiredFrame& f, int slot, const WiredKeyTable::Code& code) {
  std::copy(code.begin(), code.end(), f.bytes.begin() + WiredKeyTable::SlotOffset(slot));
}

// Whether the mouse holds the macro a button names. Buttons name macros by
// position in the macro list; the mouse's offset table has 32 entries, and
// a macro left out of the last image (`not_in_mouse`) has an entry of 0.
// A macro the list lacks keeps the code it always had (position 0).
bool MacroInMouse(int macro_id, const RecordList<MacroRecord>& macros,
                  const std::vector<int>& not_in_mouse) {
  for (size_t position = 0; position < macros.size(); ++position) {
    if (macros[position]->macro_id != macro_id) continue;
    return position < static_cast<size_t>(WiredMacroImage::kMaxMacros) &&
           std::find(not_in_mouse.begin(), not_in_mouse.end(), macro_id) == not_in_mouse.end();
  }
  return true;
}

}  // namespace

bool WiredRoutines::KeyRead(int profile_index) {
  WiredFrame f = WiredFrame::Request(kWiredKeyRead, kKeyForm, WiredKeyTable::kLength,
                                     static_cast<uint8_t>(profile_index));
  // Only the reply for this profile index counts; the table is stored for
  // profile index + 1 without touching the window's current profile.
  if (!Exchange(f)) return false;
  ConfigDatabase& db = window_.Db();
  for (int slot = 0; slot < WiredKeyTable::kSlots; ++slot) {
    WiredKeyCode code;
    const size_t at = WiredKeyTable::SlotOffset(slot);
    std::copy(f.bytes.begin() + at, f.bytes.begin() + at + WiredKeyTable::kCodeSize, code.begin());
    DecodeWiredKey(db, profile_index + 1, slot, code);  // empty and unset slots leave the row
  }
  return true;
}

bool WiredRoutines::KeyDownload() {
  ConfigDatabase& db = window_.Db();
  RecordList<MacroRecord> macros;
  db.LoadMacros(macros);
  const std::vector<int> not_in_mouse = window_.macros_not_written.Get();
  const auto& defaults = WiredKeyTable::DefaultCodes();
  bool answered = true;
  for (int profile = 1; profile <= kDownloadProfiles; ++profile) {
    WiredFrame f = WiredFrame::Request(kWiredKeyWrite, kKeyForm, WiredKeyTable::kLength,
                                       static_cast<uint8_t>(profile - 1));
    for (int slot = 0; slot < WiredKeyTable::kSlots; ++slot) PutSlot(f, slot, defaults[slot]);
    RecordList<KeyMacroRecord> records;
    db.LoadKeyRecords(profile, 0, records);
    for (const auto& record : records) {
      const int slot = WiredKeySlot(record->key_code);
      if (slot < 0) {
        // A row for a key the mouse does not have: leave every slot as it is.
        Trace(kTraceInfo, "KeyDownload: profile %d key %d has no slot, ignored", profile, record->key_code);
        continue;
      }
      if (record->macro_type == kKindMacro && !MacroInMouse(record->macro_value, macros, not_in_mouse)) {
        // No code could play it: the button keeps its default.
        Trace(kTraceInfo, "KeyDownload: profile %d key %d: macro %d is not in the mouse, default kept",
              profile, record->key_code, record->macro_value);
        continue;
      }
      PutSlot(f, slot, EncodeWiredKey(*record, macros));
    }
    answered = Exchange(f) && answered;  // only whether it came: a download's reply carries nothing
  }
  return answered;
}

bool WiredRoutines::DefaultKeyWrite() {
  WiredFrame f = Request(kWiredKeyWrite, kKeyForm, WiredKeyTable::kDefaultFormLength);
  f[WiredFrame::kOffsetLow] = 0x01;
  f[WiredFrame::kOffsetHigh] = 0x01;
  const auto& defaults = WiredKeyTable::DefaultCodes();
  for (int slot = 0; slot < WiredKeyTable::kDefaultFormSlots; ++slot) PutSlot(f, slot, defaults[slot]);
  return Exchange(f);
}

MacroDownloadResult WiredRoutines::MacroDownload() {
  ConfigDatabase& db = window_.Db();
  RecordList<MacroRecord> macros;
  db.LoadMacros(macros);
  std::vector<std::vector<MacroEvent>> steps;
  steps.reserve(macros.size());
  for (const auto& macro : macros) {
    RecordList<MacroEvent> events;
    db.LoadMacroEvents(macro->macro_id, events);
    auto& list = steps.emplace_back();
    for (const auto& e : events) list.push_back(*e);
  }
  const WiredMacroImageResult image = BuildWiredMacroImage(steps);

  MacroDownloadResult result;
  result.status = image.status;
  result.macros_given = image.macros_given;
  result.macros_sent = image.macros_packed;
  result.image_length = image.length;
  for (size_t i = static_cast<size_t>(image.macros_packed); i < macros.size(); ++i) {
    result.left_out.push_back(macros[i]->macro_id);
  }
  if (!result.Complete()) {
    Trace(kTraceError, "MacroDownload: %d of %d macros fit into the mouse's macro memory (%s)",
          image.macros_packed, image.macros_given,
          image.status == WiredMacroImageStatus::kTooManyMacros ? "more than 32 macros" : "image full");
  }

  for (size_t offset = 0; offset < image.length; offset += WiredMacroImage::kChunkSize) {
    const size_t n = std::min(WiredMacroImage::kChunkSize, image.length - offset);
    WiredFrame f = WiredFrame::Request(kWiredMacroChunk, kChunkForm, static_cast<uint8_t>(n), 0x00);
    f.Set16(WiredFrame::kOffsetLow, static_cast<uint16_t>(offset));
    // The frame's bytes past the chunk's length stay 0.
    std::copy(image.image.begin() + offset, image.image.begin() + offset + n, f.bytes.begin() + WiredFrame::kData);
    // A lost chunk is not repeated; the end command follows all the same.
    result.answered = Exchange(f) && result.answered;
  }
  WiredFrame end = WiredFrame::Request(kWiredMacroEnd, kEndForm, 0x00, 0x00);
  result.answered = Exchange(end) && result.answered;
  return result;
}

}  // namespace tk410
