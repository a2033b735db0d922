#pragma once
// Every control class of the library.

#include "plkui/basic_controls.h"
#include "plkui/check_controls.h"
#include "plkui/combo_box.h"
#include "plkui/control.h"
#include "plkui/edit.h"
#include "plkui/emoji_control.h"
#include "plkui/macro_list.h"
#include "plkui/mouse_ctrl.h"
#include "plkui/record_list.h"
#include "plkui/slider.h"
#include "plkui/tab.h"
