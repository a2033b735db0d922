#pragma once
// The program's icon and desktop identity for its windows.

#include <QIcon>

#include "app/program_paths.h"

namespace tk410 {

// The icon theme's entry for kDesktopId where the program is installed, else
// the PNGs rendered beside the program's data (build tree, portable use).
// Null when neither is there.
QIcon ProgramIcon();

// Gives the application its icon and desktop entry name (window icons,
// Wayland app id, startup notification). Call after QApplication exists.
void ApplyProgramIdentity();

}  // namespace tk410
