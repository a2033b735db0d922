#pragma once
// The wired key codec over the settings database: the macro list comes from
// the database and a read slot is stored as the button's row.

#include "assign/wired_key_codec.h"

namespace tk410 {

class ConfigDatabase;

// EncodeWiredKey with the database's current macro list.
WiredKeyCode EncodeWiredKey(ConfigDatabase& db, const KeyMacroRecord& record);

// Decodes one slot read from the device and stores it as the key row of
// `profile` (SaveKeyRecord). Returns true when the code was recognised and
// the row stored; false leaves the button's previous row as it was.
bool DecodeWiredKey(ConfigDatabase& db, int profile, int slot, const WiredKeyCode& code);

}  // namespace tk410
