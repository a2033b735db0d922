#include "plkui/qt/program_icon.h"

#include <QFile>

#include "app/program_paths.h"
#include "plkui/qt/theme.h"

namespace PLKUI::qt {

QIcon ProgramIcon() {
  static const QIcon icon = [] {
    const QString path = ToQ(tk410::ShippedDataDirectory()) + QStringLiteral("icons/tk410.svg");
    return QFile::exists(path) ? QIcon(path) : QIcon();
  }();
  return icon;
}

QIcon IconOfResource(int resource_id) {
  return resource_id == kProgramIconResource ? ProgramIcon() : QIcon();
}

}  // namespace PLKUI::qt
