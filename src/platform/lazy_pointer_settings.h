#pragma once
// Pointer settings made on first use: the desktop's settings service (a
// GSettings backend, its schema and configuration files) is opened only when
// a value is first read or written, which is when the settings page is shown
// or a restore puts the defaults back, not at the program's start. Safe to
// use from the window thread and the worker.

#include <functional>
#include <memory>
#include <mutex>

#include "platform/pointer_settings.h"

namespace tk410 {

class LazyPointerSettings final : public PointerSettings {
 public:
  using Factory = std::function<std::unique_ptr<PointerSettings>()>;
  explicit LazyPointerSettings(Factory create) : create_(std::move(create)) {}

  int GetMouseSpeed() override { return Real().GetMouseSpeed(); }
  void SetMouseSpeed(int speed) override { Real().SetMouseSpeed(speed); }
  int GetAcceleration() override { return Real().GetAcceleration(); }
  void SetAcceleration(int on) override { Real().SetAcceleration(on); }
  unsigned GetWheelScrollLines() override { return Real().GetWheelScrollLines(); }
  void SetWheelScrollLines(unsigned lines) override { Real().SetWheelScrollLines(lines); }
  int GetDoubleClickTime() override { return Real().GetDoubleClickTime(); }
  void SetDoubleClickTime(int ms) override { Real().SetDoubleClickTime(ms); }
  PointerValues Defaults() override { return Real().Defaults(); }
  bool DesktopUses(PointerValue value) override { return Real().DesktopUses(value); }

 private:
  PointerSettings& Real();

  Factory create_;
  std::mutex mutex_;
  std::unique_ptr<PointerSettings> real_;  // guarded by mutex_ until made
};

}  // namespace tk410
