#pragma once
// The program's icon (data/icons/tk410.svg beside the programs, our own
// drawing): the main window's icon resource 107 and the application's icon.

#include <QIcon>

namespace PLKUI::qt {

// The icon resource the main window sets (SetIcon(107)).
inline constexpr int kProgramIconResource = 107;

// The program's icon; a null icon when its file or the SVG image support is missing.
QIcon ProgramIcon();

// The icon of a resource id the program names; null for ids it does not know.
QIcon IconOfResource(int resource_id);

}  // namespace PLKUI::qt
