#include "platform/lazy_pointer_settings.h"

namespace tk410 {

namespace {

// What a factory that gave nothing leaves: the session defaults, unchanged.
class DefaultPointerSettings final : public PointerSettings {
 public:
  int GetMouseSpeed() override { return kDefaultPointerSpeed; }
  void SetMouseSpeed(int) override {}
  int GetAcceleration() override { return kDefaultAcceleration; }
  void SetAcceleration(int) override {}
  unsigned GetWheelScrollLines() override { return kDefaultWheelLines; }
  void SetWheelScrollLines(unsigned) override {}
  int GetDoubleClickTime() override { return kDefaultDoubleClickMs; }
  void SetDoubleClickTime(int) override {}
  PointerValues Defaults() override { return {}; }
  bool DesktopUses(PointerValue) override { return false; }  // nothing applies them
};

}  // namespace

PointerSettings& LazyPointerSettings::Real() {
  std::lock_guard<std::mutex> lock(mutex_);
  if (!real_) {
    real_ = create_ ? create_() : nullptr;
    if (!real_) real_ = std::make_unique<DefaultPointerSettings>();
  }
  return *real_;
}

}  // namespace tk410
