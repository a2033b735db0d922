#pragma once
// Small control helpers shared by the macro page's files.

#include <functional>

#include "ui/device_main_dlg.h"

namespace tk410 {

// True when the check control or radio `id` exists and is checked.
bool IsChecked(DeviceMainDlg& window, int id);
// Clamps the number typed into edit `id`; the edit shows the clamped number
// when it differs from the typed text (and as its tooltip too when asked).
// Returns the clamped number (0 when the edit does not exist).
int ClampEditNumber(DeviceMainDlg& window, int id, const std::function<int(int)>& clamp,
                    bool tooltip = false);

}  // namespace tk410
