#pragma once
// Pointer settings held in memory that record every setter call, for tests.

#include <set>
#include <string>
#include <vector>

#include "platform/pointer_settings.h"

namespace tk410 {

class FakePointerSettings final : public PointerSettings {
 public:
  int speed = kDefaultPointerSpeed;
  int acceleration = kDefaultAcceleration;
  unsigned wheel_lines = kDefaultWheelLines;
  int double_click_ms = kDefaultDoubleClickMs;
  // "speed=12", "acceleration=0", "wheel=3", "doubleclick=550" per setter call.
  std::vector<std::string> calls;
  // What Defaults() gives, and the values the fake desktop does not apply.
  PointerValues defaults;
  std::set<PointerValue> kept_only;

  int GetMouseSpeed() override { return speed; }
  void SetMouseSpeed(int value) override;
  int GetAcceleration() override { return acceleration; }
  void SetAcceleration(int on) override;
  unsigned GetWheelScrollLines() override { return wheel_lines; }
  void SetWheelScrollLines(unsigned lines) override;
  int GetDoubleClickTime() override { return double_click_ms; }
  void SetDoubleClickTime(int ms) override;
  PointerValues Defaults() override { return defaults; }
  bool DesktopUses(PointerValue value) override { return kept_only.count(value) == 0; }
};

}  // namespace tk410
