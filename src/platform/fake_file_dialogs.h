#pragma once
// FileDialogs with scripted answers, for tests: each call takes the next
// queued answer (an empty text, i.e. "cancelled", when none is left) and
// records what was asked.

#include <deque>
#include <mutex>
#include <string>
#include <vector>

#include "platform/file_dialogs.h"

namespace tk410 {

class FakeFileDialogs final : public FileDialogs {
 public:
  enum class Kind { kOpen, kSave, kFolder };
  struct Request {
    Kind kind = Kind::kOpen;
    std::wstring title;
    FileFilter filter;  // empty for folder dialogs
  };

  // Queues the answer of the next dialog (empty = cancelled).
  void Answer(const std::wstring& path);

  std::wstring OpenFile(const std::wstring& title, const FileFilter& filter) override;
  std::wstring SaveFile(const std::wstring& title, const FileFilter& filter) override;
  std::wstring ChooseFolder(const std::wstring& title) override;

  std::vector<Request> Requests() const;

 private:
  std::wstring Take(Kind kind, const std::wstring& title, const FileFilter& filter);

  mutable std::mutex mutex_;
  std::deque<std::wstring> answers_;
  std::vector<Request> requests_;
};

}  // namespace tk410
