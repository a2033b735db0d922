#pragma once
// FileDialogs answered by Qt's file and folder dialogs (GUI thread only).

#include "platform/file_dialogs.h"

class QWidget;

namespace PLKUI {

class QtFileDialogs final : public tk410::FileDialogs {
 public:
  // `owner` (may be null) is the window the dialogs are modal to.
  explicit QtFileDialogs(QWidget* owner = nullptr) : owner_(owner) {}

  std::wstring OpenFile(const std::wstring& title, const tk410::FileFilter& filter) override;
  std::wstring SaveFile(const std::wstring& title, const tk410::FileFilter& filter) override;
  std::wstring ChooseFolder(const std::wstring& title) override;

 private:
  QWidget* owner_ = nullptr;
};

}  // namespace PLKUI
