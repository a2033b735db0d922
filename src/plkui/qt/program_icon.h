#pragma once
// The program's icon and desktop identity: the main window's icon resource
// 107 and the application's icon, drawn from the PNGs beside the program's
// data (rendered from data/icons/tk410.svg, our own drawing, at build time;
// installed into the hicolor theme too, where the desktop finds them by the
// desktop entry's name).

#include <QIcon>
#include <QImage>
#include <thread>
#include <vector>

#include "app/program_paths.h"

namespace PLKUI::qt {

// The icon resource the main window sets (SetIcon(107)).
inline constexpr int kProgramIconResource = 107;

// The shipped PNGs of the icon as images, largest last; empty when there are
// none. Safe on any thread once the application object exists, so the start
// reads them beside its other work.
std::vector<QImage> ReadProgramIconImages();

// The application's icon (ApplyProgramIdentity), else one made from the
// shipped PNGs. Null when there are none.
QIcon ProgramIcon();

// The icon of a window's icon resource; null for resources we do not draw,
// and for the program's own while the application has no icon yet: a window
// without an icon of its own shows the application's once it is set.
QIcon IconOfResource(int resource_id);

// Gives the application its desktop entry name (Wayland app id, startup
// notification) and its icon, made from `icon_images` (window icons). Call
// after QApplication exists.
void ApplyProgramIdentity(const std::vector<QImage>& icon_images);

// The start's way to the identity: the desktop entry name at once; the
// icon's pictures, when asked (Load), read on a thread of its own and
// applied on the event loop when read. The start asks after the first frame:
// reading them costs more than the window's creation, and a window without
// an icon of its own takes the application's when it comes. Destroy before
// the application object.
class ProgramIdentityLoader {
 public:
  ProgramIdentityLoader();
  ~ProgramIdentityLoader();
  ProgramIdentityLoader(const ProgramIdentityLoader&) = delete;
  ProgramIdentityLoader& operator=(const ProgramIdentityLoader&) = delete;

  // Starts reading the icon; later calls do nothing.
  void Load();

 private:
  std::thread thread_;
};

}  // namespace PLKUI::qt
