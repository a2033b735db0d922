#pragma once
// Controls of the macro page's step editor and move editor.

#include "ui/control_ids.h"

namespace tk410 {

class DeviceMainDlg;

constexpr int kStepEditorIds[] = {ctl::kStepKindLabel, ctl::kStepKind,  ctl::kStepValueLabel,
                                  ctl::kStepValue,     ctl::kStepButton, ctl::kStepUp,
                                  ctl::kStepDown};
constexpr int kMoveEditorIds[] = {ctl::kMoveLabelX, ctl::kMoveLeft, ctl::kMoveRight, ctl::kMoveX,
                                  ctl::kMoveLabelY, ctl::kMoveUp,   ctl::kMoveDown,  ctl::kMoveY};

// Shows or hides the two editors of the selected step.
void ShowStepEditor(DeviceMainDlg& window, bool step_editor, bool move_editor);

// Shows a macro: its delay and play settings and its steps (the step editor hidden).
void ShowMacro(DeviceMainDlg& window, int macro_id);

}  // namespace tk410
