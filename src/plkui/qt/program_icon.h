#pragma once
// The program's icon and desktop identity: the main window's icon resource
// 107 and the application's icon, from the installed icon theme where the
// program is installed, else from the PNGs beside the program's data
// (rendered from data/icons/tk410.svg, our own drawing, at build time).

#include <QIcon>

#include "app/program_paths.h"

namespace PLKUI::qt {

// The icon resource the main window sets (SetIcon(107)).
inline constexpr int kProgramIconResource = 107;

// The icon theme's entry for tk410::kDesktopId where the program is
// installed, else the PNGs beside the data. Null when neither is there.
QIcon ProgramIcon();

// The icon of a window's icon resource; null for resources we do not draw.
QIcon IconOfResource(int resource_id);

// Gives the application its icon and desktop entry name (window icons,
// Wayland app id, startup notification). Call after QApplication exists.
void ApplyProgramIdentity();

}  // namespace PLKUI::qt
