#include "assign/wired_key_store.h"

#include "store/config_database.h"

namespace tk410 {

WiredKeyCode EncodeWiredKey(ConfigDatabase& db, const KeyMacroRecord& record) {
  RecordList<MacroRecord> macros;
  db.LoadMacros(macros);
  return EncodeWiredKey(record, macros);
}

bool DecodeWiredKey(ConfigDatabase& db, int profile, int slot, const WiredKeyCode& code) {
  RecordList<MacroRecord> macros;
  db.LoadMacros(macros);
  const auto row = DecodeWiredKey(profile, slot, code, macros);
  if (!row) return false;
  // A row whose two values are 0 clears the button (SaveKeyRecord returns 0).
  const bool clears = row->macro_value == 0 && row->macro_value2 == 0;
  return db.SaveKeyRecord(*row) != 0 || clears;
}

}  // namespace tk410
