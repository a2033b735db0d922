#pragma once
// The program's presence while its window is closed: with per-program rules
// the program keeps running after the window closes, so that profiles go on
// following the games, and shows an icon in the desktop's tray (profile,
// battery; a menu with the profiles, "open" and "quit"). Without rules a
// close ends the program, as it always has, and no icon is shown.
//
// The Qt tray (plkui/qt/tray_presence.h) implements BackgroundPresence; the
// window tells it its state and it calls back into the window on the window
// thread.

#include <string>
#include <vector>

namespace tk410 {

class DeviceMainDlg;

struct PresenceState {
  struct Profile {
    int number = 0;
    std::wstring name;
  };
  bool shown = false;  // rules exist: the icon is wanted
  std::vector<Profile> profiles;
  int current_profile = 0;
  int battery = -1;    // percent; -1 while no mouse reports one
  bool charging = false;
  std::wstring title;  // the tooltip: program, profile, battery, in the interface language
};

class BackgroundPresence {
 public:
  virtual ~BackgroundPresence() = default;
  // Whether the desktop has a tray (or StatusNotifier host) to show it in.
  virtual bool Available() const = 0;
  // The window's state changed; any thread.
  virtual void Update(const PresenceState& state) = 0;
};

// The state of the window as the presence shows it: the profile list (texts
// of control 60), the current profile, the battery control.
PresenceState CurrentPresenceState(DeviceMainDlg& window);
// Tells the presence of the window (if any) the current state.
void UpdatePresence(DeviceMainDlg& window);
// The window's close (its close button, the window manager's close): with
// rules the window goes to the background and true is returned — hidden
// where a tray shows the icon, minimised where there is none, so that it can
// still be reached. Without rules false: the caller ends the program.
bool CloseToBackground(DeviceMainDlg& window);

}  // namespace tk410
