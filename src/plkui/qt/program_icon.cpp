#include "plkui/qt/program_icon.h"

#include <QGuiApplication>
#include <QMetaObject>
#include <QPixmap>
#include <QString>

namespace PLKUI::qt {

namespace {

QIcon IconOf(const std::vector<QImage>& images) {
  QIcon icon;
  for (const QImage& image : images) icon.addPixmap(QPixmap::fromImage(image));
  return icon;
}

}  // namespace

std::vector<QImage> ReadProgramIconImages() {
  std::vector<QImage> images;
  const QString folder = QString::fromStdWString(tk410::ShippedDataDirectory()) + QStringLiteral("icons/");
  for (int size : {48, 128, 256}) {
    QImage image;
    if (image.load(folder + QStringLiteral("tk410-%1.png").arg(size), "PNG")) images.push_back(std::move(image));
  }
  return images;
}

QIcon ProgramIcon() {
  const QIcon set = QGuiApplication::windowIcon();
  return set.isNull() ? IconOf(ReadProgramIconImages()) : set;
}

QIcon IconOfResource(int resource_id) {
  return resource_id == kProgramIconResource ? QGuiApplication::windowIcon() : QIcon();
}

void ApplyProgramIdentity(const std::vector<QImage>& icon_images) {
  QGuiApplication::setDesktopFileName(QString::fromLatin1(tk410::kDesktopId));
  const QIcon icon = IconOf(icon_images);
  if (!icon.isNull()) QGuiApplication::setWindowIcon(icon);
}

ProgramIdentityLoader::ProgramIdentityLoader() {
  QGuiApplication::setDesktopFileName(QString::fromLatin1(tk410::kDesktopId));
}

void ProgramIdentityLoader::Load() {
  if (thread_.joinable()) return;
  QCoreApplication* app = QCoreApplication::instance();
  thread_ = std::thread([app] {
    std::vector<QImage> images = ReadProgramIconImages();
    // Pixmaps are made on the window thread only.
    QMetaObject::invokeMethod(
        app, [images = std::move(images)] { ApplyProgramIdentity(images); }, Qt::QueuedConnection);
  });
}

ProgramIdentityLoader::~ProgramIdentityLoader() {
  if (thread_.joinable()) thread_.join();
}

}  // namespace PLKUI::qt
