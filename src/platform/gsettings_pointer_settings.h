#pragma once
// Pointer settings of a GNOME session through GSettings, schema
// "org.gnome.desktop.peripherals.mouse": "speed" (-1…1), "accel-profile"
// (flat / adaptive / default) and "double-click" (ms). The schema is looked
// up first, so a system without it never aborts: every value the schema does
// not carry (and the wheel lines, which GNOME has no setting for) goes to the
// fallback settings. The schema's own defaults are the desktop's defaults.
// Only a GNOME-family session applies the keys; elsewhere they are kept but
// have no effect, and DesktopUses says so.

#include <memory>
#include <string>

#include "platform/pointer_settings.h"

namespace tk410 {

struct GioLibrary;

// The speed scale of the settings page (1…20, 10 the middle) and GNOME's
// (-1…1, 0 the middle): 1 ↔ -1, 10 ↔ 0, 20 ↔ 1, linear on each side.
double SpeedToGnome(int speed);
int SpeedFromGnome(double value);

// True when the session named by XDG_CURRENT_DESKTOP (a colon-separated
// list) applies GNOME's mouse keys: GNOME and the desktops built on its
// settings daemon (Unity, Budgie, Pantheon).
bool SessionAppliesGnomeMouseKeys(const std::string& current_desktop);

class GSettingsPointerSettings final : public PointerSettings {
 public:
  struct Options {
    std::string schema_id = "org.gnome.desktop.peripherals.mouse";
    // Folder with a compiled schema file to look in before the system's;
    // empty for the system's schemas only.
    std::string schema_dir;
    // Keep values in memory instead of the user's settings (tests).
    bool memory_backend = false;
    // Whether the session applies the schema's keys (SessionAppliesGnomeMouseKeys).
    bool session_applies = true;
  };

  GSettingsPointerSettings(std::unique_ptr<PointerSettings> fallback, Options options);
  explicit GSettingsPointerSettings(std::unique_ptr<PointerSettings> fallback)
      : GSettingsPointerSettings(std::move(fallback), Options{}) {}
  ~GSettingsPointerSettings() override;

  // Which values come from GSettings.
  bool HasSpeed() const { return has_speed_; }
  bool HasAcceleration() const { return has_accel_; }
  bool HasDoubleClick() const { return has_double_click_; }

  int GetMouseSpeed() override;
  void SetMouseSpeed(int speed) override;
  int GetAcceleration() override;
  void SetAcceleration(int on) override;
  unsigned GetWheelScrollLines() override;
  void SetWheelScrollLines(unsigned lines) override;
  int GetDoubleClickTime() override;
  void SetDoubleClickTime(int ms) override;
  PointerValues Defaults() override;
  bool DesktopUses(PointerValue value) override;

 private:
  std::unique_ptr<PointerSettings> fallback_;
  bool session_applies_ = true;
  std::unique_ptr<GioLibrary> gio_;  // null where GIO cannot be loaded
  void* settings_ = nullptr;         // GSettings*, null without the schema
  bool has_speed_ = false;
  bool has_accel_ = false;
  bool has_double_click_ = false;
};

}  // namespace tk410
