#include "plkui/qt/program_icon.h"

#include <QGuiApplication>
#include <QString>

#include "app/program_paths.h"

namespace tk410 {

QIcon ProgramIcon() {
  QIcon fallback;
  const QString folder = QString::fromStdWString(ShippedDataDirectory()) + QStringLiteral("icons/");
  for (int size : {48, 128, 256}) {
    const QString file = folder + QStringLiteral("tk410-%1.png").arg(size);
    if (FileExists(file.toStdWString())) fallback.addFile(file, QSize(size, size));
  }
  return QIcon::fromTheme(QString::fromLatin1(kDesktopId), fallback);
}

void ApplyProgramIdentity() {
  QGuiApplication::setDesktopFileName(QString::fromLatin1(kDesktopId));
  const QIcon icon = ProgramIcon();
  if (!icon.isNull()) QGuiApplication::setWindowIcon(icon);
}

}  // namespace tk410
