#pragma once
// The settings page's controls that act on the user's desktop and on the
// program rather than on the mouse: pointer speed (238), pointer precision
// (242), wheel scrolling (244 lines slider, 247 lines spin, 248 page-scroll
// radio, 249 lines radio),
// double-click speed (251), the desktop's mouse settings link (276), the
// left-button lock (274), the interface language (268) and start at login
// (265).
//
// The desktop keeps the pointer values; the page keeps no copy and is
// refilled from the desktop whenever it is shown.

#include <cstdint>
#include <string>

namespace tk410 {

class DeviceMainDlg;

// Double-click time of a slider position 0..10 (900 ms down to 200 ms in
// steps of 70); any other position is taken as the time itself.
int DoubleClickMsOfPosition(int position);
// The slider position of a double-click time: the position whose time is
// nearest (the slower one of two equally near), so a desktop's time off the
// table (GNOME's 400 ms) shows where it lies between slow and fast.
int DoubleClickPosition(int ms);
// The language text of the double-click time's unit ("ms").
constexpr int kDoubleClickUnitText = 990;

// Fills the pointer controls from the desktop, the start-at-login switch from
// the autostart entry and selects the current language in the language list.
void FillSystemSettings(DeviceMainDlg& window);

// The handlers of the controls above; 0 always. Other ids are ignored.
intptr_t OnSystemSettingsMessage(DeviceMainDlg& window, int id, int code);
bool IsSystemSettingsControl(int id);

// Puts the desktop's pointer values back to the desktop's own defaults
// (PointerSettings::Defaults), touching only values that differ, and shows
// them. Runs on the sync worker after a restore or reset.
void RestoreSystemPointerDefaults(DeviceMainDlg& window);

// The note under the pointer settings (246): one line, "<name>: <text 908>",
// per value the desktop does not apply; hidden when it applies all.
void ShowPointerNote(DeviceMainDlg& window);

// The pointer help: texts 639 and 640 on two lines; a text the language
// file lacks leaves no empty line.
std::wstring PointerHelpText(const DeviceMainDlg& window);

// The program's own path, for the autostart entry (/proc/self/exe).
std::wstring OwnProgramPath();

}  // namespace tk410
