#pragma once
// Handlers of the main window's controls, one function per page; OnMessage
// dispatches to them by control id.

#include <cstdint>

namespace tk410 {

class DeviceMainDlg;

// Page 2: profile choice (60), function combos (62..82), response time (85),
// write / read / restore (88..90), profile import / export (91, 92).
intptr_t OnKeyPageMessage(DeviceMainDlg& window, int id, int code);
// Page 3: DPI reset, stages, slider and steps (98, 101..109), report rate
// (113..120), lighting, sleep, lift-off, sensor, scroll, game mode (123..147).
intptr_t OnPerformanceMessage(DeviceMainDlg& window, int id, int code);
// Page 6: the factory reset button (271).
intptr_t OnSettingsMessage(DeviceMainDlg& window, int id, int code);

// The profile operations of the window.
void SelectProfile(DeviceMainDlg& window, int profile);
// Asks, then resets the current profile's buttons and settings and has the
// worker restore the mouse. False when the user declined.
bool RestoreProfileDefaults(DeviceMainDlg& window);
// Empties the device type's database and has the worker read the mouse again.
bool ResetAllData(DeviceMainDlg& window);

}  // namespace tk410
