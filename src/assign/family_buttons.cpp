#include "assign/family_buttons.h"

#include "assign/wired_key_codec.h"
#include "device/nordic_layout.h"
#include "store/config_database.h"

namespace tk410 {

bool IsFamilyButton(int device_type, int key_code) {
  if (key_code < kFirstButtonKeyCode || key_code > kLastButtonKeyCode) return false;
  if (device_type > kLastWiredDeviceType) return NordicKeyTable::SlotOfKeyCode(key_code) >= 0;
  return WiredKeySlot(key_code) >= 0;
}

}  // namespace tk410
