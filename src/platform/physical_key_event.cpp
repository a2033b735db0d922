#include "platform/physical_key_event.h"

#include "assign/physical_keys.h"
#include "platform/keysym_text.h"

namespace tk410 {

RawInputEvent PhysicalKeyEvent(int keycode, bool pressed, bool keypad_digits, uint32_t unshifted_keysym) {
  RawInputEvent event;
  event.device = RawDevice::Keyboard;
  event.message = pressed ? kWmKeyDown : kWmKeyUp;
  event.virtual_key = VirtualKeyOfPhysicalKey(keycode, keypad_digits);
  if (TypesCharacter(keycode)) {
    event.label = KeysymText(unshifted_keysym);
    if (event.label.size() == 1 && event.label[0] >= L'a' && event.label[0] <= L'z') event.label[0] -= L'a' - L'A';
  }
  return event;
}

}  // namespace tk410
