#include "platform/fake_pointer_settings.h"

namespace tk410 {

void FakePointerSettings::SetMouseSpeed(int value) {
  speed = value;
  calls.push_back("speed=" + std::to_string(value));
}

void FakePointerSettings::SetAcceleration(int on) {
  acceleration = on;
  calls.push_back("acceleration=" + std::to_string(on));
}

void FakePointerSettings::SetWheelScrollLines(unsigned lines) {
  wheel_lines = lines;
  calls.push_back(lines == kWheelPageScroll ? "wheel=page" : "wheel=" + std::to_string(lines));
}

void FakePointerSettings::SetDoubleClickTime(int ms) {
  double_click_ms = ms;
  calls.push_back("doubleclick=" + std::to_string(ms));
}

}  // namespace tk410
