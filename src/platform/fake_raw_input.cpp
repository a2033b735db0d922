#include "platform/fake_raw_input.h"

namespace tk410 {

bool ScriptedRawInput::Start(RawInputHub& hub) {
  hub_ = &hub;
  return true;
}

intptr_t ScriptedRawInput::Publish(const RawInputEvent& event) { return hub_ ? hub_->Publish(event) : 0; }

intptr_t ScriptedRawInput::Key(unsigned message, int virtual_key, const std::wstring& system_name) {
  RawInputEvent e;
  e.device = RawDevice::Keyboard;
  e.message = message;
  e.virtual_key = virtual_key;
  e.system_name = system_name;
  return Publish(e);
}

intptr_t ScriptedRawInput::KeyDown(int virtual_key, const std::wstring& system_name) {
  return Key(kWmKeyDown, virtual_key, system_name);
}

intptr_t ScriptedRawInput::KeyUp(int virtual_key, const std::wstring& system_name) {
  return Key(kWmKeyUp, virtual_key, system_name);
}

void ScriptedRawInput::KeyTap(int virtual_key) {
  KeyDown(virtual_key);
  KeyUp(virtual_key);
}

intptr_t ScriptedRawInput::Mouse(int button_flags) {
  RawInputEvent e;
  e.device = RawDevice::Mouse;
  e.button_flags = button_flags;
  return Publish(e);
}

intptr_t ScriptedRawInput::MouseAt(int button_flags, int x, int y) {
  RawInputEvent e;
  e.device = RawDevice::Mouse;
  e.button_flags = button_flags;
  e.has_cursor = true;
  e.cursor_x = x;
  e.cursor_y = y;
  return Publish(e);
}

intptr_t ScriptedRawInput::Wheel(int delta) {
  RawInputEvent e;
  e.device = RawDevice::Mouse;
  e.button_flags = kRawWheel;
  e.wheel_delta = delta;
  return Publish(e);
}

intptr_t ScriptedRawInput::OtherDevice() {
  RawInputEvent e;
  e.device = RawDevice::Other;
  return Publish(e);
}

}  // namespace tk410
