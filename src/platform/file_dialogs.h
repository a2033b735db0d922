#pragma once
// Seam for the file-open, file-save and folder dialogs. The GUI answers with
// Qt's dialogs; tests script the answers with FakeFileDialogs.
//
// Every call returns the chosen path, or an empty text when the user
// cancelled or the dialog failed: callers go on only with a non-empty path.

#include <string>

namespace tk410 {

// One entry of a dialog's type list: the text shown and the name pattern.
struct FileFilter {
  std::wstring description;  // for example "Profile (*.xml)"
  std::wstring pattern;      // for example "*.xml"
};

class FileDialogs {
 public:
  virtual ~FileDialogs() = default;
  // An existing file to read. An empty title leaves the system's own title.
  virtual std::wstring OpenFile(const std::wstring& title, const FileFilter& filter) = 0;
  // A file to write; the dialog asks before an existing file is replaced.
  virtual std::wstring SaveFile(const std::wstring& title, const FileFilter& filter) = 0;
  // An existing folder.
  virtual std::wstring ChooseFolder(const std::wstring& title) = 0;
};

}  // namespace tk410
