#pragma once
// The UI library in one include: windows, dialogs, controls, menus, runtime.

#include "plkui/controls.h"
#include "plkui/dialog.h"
#include "plkui/manager.h"
#include "plkui/menu_wnd.h"
#include "plkui/runtime.h"
#include "plkui/window.h"
