#include "plkui/qt/program_icon.h"

#include <QGuiApplication>
#include <QString>

namespace PLKUI::qt {

QIcon ProgramIcon() {
  static const QIcon icon = [] {
    QIcon fallback;
    const QString folder = QString::fromStdWString(tk410::ShippedDataDirectory()) + QStringLiteral("icons/");
    for (int size : {48, 128, 256}) {
      const QString file = folder + QStringLiteral("tk410-%1.png").arg(size);
      if (tk410::FileExists(file.toStdWString())) fallback.addFile(file, QSize(size, size));
    }
    return QIcon::fromTheme(QString::fromLatin1(tk410::kDesktopId), fallback);
  }();
  return icon;
}

QIcon IconOfResource(int resource_id) {
  return resource_id == kProgramIconResource ? ProgramIcon() : QIcon();
}

void ApplyProgramIdentity() {
  QGuiApplication::setDesktopFileName(QString::fromLatin1(tk410::kDesktopId));
  const QIcon icon = ProgramIcon();
  if (!icon.isNull()) QGuiApplication::setWindowIcon(icon);
}

}  // namespace PLKUI::qt
