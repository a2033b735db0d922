#include "platform/fake_file_dialogs.h"

namespace tk410 {

void FakeFileDialogs::Answer(const std::wstring& path) {
  std::lock_guard<std::mutex> hold(mutex_);
  answers_.push_back(path);
}

std::wstring FakeFileDialogs::OpenFile(const std::wstring& title, const FileFilter& filter) {
  return Take(Kind::kOpen, title, filter);
}

std::wstring FakeFileDialogs::SaveFile(const std::wstring& title, const FileFilter& filter) {
  return Take(Kind::kSave, title, filter);
}

std::wstring FakeFileDialogs::ChooseFolder(const std::wstring& title) {
  return Take(Kind::kFolder, title, FileFilter{});
}

std::vector<FakeFileDialogs::Request> FakeFileDialogs::Requests() const {
  std::lock_guard<std::mutex> hold(mutex_);
  return requests_;
}

std::wstring FakeFileDialogs::Take(Kind kind, const std::wstring& title,
                                   const FileFilter& filter) {
  std::lock_guard<std::mutex> hold(mutex_);
  requests_.push_back(Request{kind, title, filter});
  if (answers_.empty()) return std::wstring();
  std::wstring answer = answers_.front();
  answers_.pop_front();
  return answer;
}

}  // namespace tk410
