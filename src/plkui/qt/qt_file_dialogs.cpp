#include "plkui/qt/qt_file_dialogs.h"

#include <QFileDialog>
#include <QString>

namespace PLKUI {

namespace {

QString Q(const std::wstring& text) { return QString::fromStdWString(text); }

// Qt reads the patterns from the parentheses of a filter line; a description
// without them gets the pattern appended.
QString FilterLine(const tk410::FileFilter& filter) {
  const QString description = Q(filter.description);
  const QString pattern = Q(filter.pattern);
  if (description.contains(QLatin1Char('(')) || pattern.isEmpty()) return description;
  return description + QStringLiteral(" (") + pattern + QLatin1Char(')');
}

}  // namespace

std::wstring QtFileDialogs::OpenFile(const std::wstring& title, const tk410::FileFilter& filter) {
  return QFileDialog::getOpenFileName(owner_, Q(title), QString(), FilterLine(filter))
      .toStdWString();
}

std::wstring QtFileDialogs::SaveFile(const std::wstring& title, const tk410::FileFilter& filter) {
  // Qt asks before an existing file is replaced.
  return QFileDialog::getSaveFileName(owner_, Q(title), QString(), FilterLine(filter))
      .toStdWString();
}

std::wstring QtFileDialogs::ChooseFolder(const std::wstring& title) {
  return QFileDialog::getExistingDirectory(owner_, Q(title), QString(),
                                           QFileDialog::ShowDirsOnly)
      .toStdWString();
}

}  // namespace PLKUI
