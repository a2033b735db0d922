#pragma once
// Seam for the system-wide pointer settings of the user's desktop session:
// pointer speed, acceleration, wheel scroll lines and double-click time, in
// the units the settings page works with. Implementations: the GNOME
// GSettings keys (gsettings_pointer_settings.h) with a file-backed
// emulation for what the desktop has no setting for
// (file_pointer_settings.h), and FakePointerSettings for tests.
//
// Setters apply the value for the logged-on user at once and keep it for the
// next session; failures are silent (the next fill shows the real value).
// A value the desktop has no setting for is only kept (DesktopUses says
// which), so the page can say that it has no effect.

#include <memory>

namespace tk410 {

// Wheel scroll lines value that means "one screen per notch".
inline constexpr unsigned kWheelPageScroll = 0xFFFFFFFFu;

// The values of a setting nobody has stored yet where the desktop names no
// default of its own (the emulation file).
inline constexpr int kDefaultPointerSpeed = 10;
inline constexpr int kDefaultAcceleration = 1;
inline constexpr unsigned kDefaultWheelLines = 3;
inline constexpr int kDefaultDoubleClickMs = 550;

// The four values, in the units of the getters below.
struct PointerValues {
  int speed = kDefaultPointerSpeed;
  int acceleration = kDefaultAcceleration;
  unsigned wheel_lines = kDefaultWheelLines;
  int double_click_ms = kDefaultDoubleClickMs;
};

enum class PointerValue { kSpeed, kAcceleration, kWheelLines, kDoubleClick };

class PointerSettings {
 public:
  virtual ~PointerSettings() = default;

  // Pointer speed 1 (slowest) to 20 (fastest), 10 the middle.
  virtual int GetMouseSpeed() = 0;
  virtual void SetMouseSpeed(int speed) = 0;
  // Pointer acceleration ("enhance pointer precision"): 1 on, 0 off.
  virtual int GetAcceleration() = 0;
  virtual void SetAcceleration(int on) = 0;
  // Lines per wheel notch, 1 to 20, or kWheelPageScroll.
  virtual unsigned GetWheelScrollLines() = 0;
  virtual void SetWheelScrollLines(unsigned lines) = 0;
  // Double-click time in milliseconds.
  virtual int GetDoubleClickTime() = 0;
  virtual void SetDoubleClickTime(int ms) = 0;

  // The desktop's own defaults (what a new user starts with), which a
  // restore of the defaults puts back.
  virtual PointerValues Defaults() = 0;
  // True when the desktop's pointer follows `value`; false when the value is
  // only kept here and nothing applies it.
  virtual bool DesktopUses(PointerValue value) = 0;
};

// The settings of this session: GNOME's keys where the desktop has them,
// the emulation file (PointerSettingsFilePath()) for the rest.
std::unique_ptr<PointerSettings> CreateSystemPointerSettings();

}  // namespace tk410
