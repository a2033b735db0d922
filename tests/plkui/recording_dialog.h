#pragma once
// A dialog for tests that records every notification and window message it
// receives, and builds its controls from a list given before Create.

#include <functional>
#include <vector>

#include "base/text.h"
#include "plkui/plkui.h"

namespace tk410::test {

struct Notification {
  int id;
  int code;
  intptr_t param;
  bool operator==(const Notification&) const = default;
};

struct ReceivedMessage {
  unsigned message;
  uintptr_t wparam;
  intptr_t lparam;
  bool operator==(const ReceivedMessage&) const = default;
};

class RecordingDialog : public PLKUI::MDialog {
 public:
  std::function<void(RecordingDialog&)> build;
  std::vector<Notification> notifications;
  std::vector<ReceivedMessage> messages;
  std::vector<int> timer_ticks;
  int init_dialog_calls = 0;
  int ui_size_calls = 0;

  void InitUI() override {
    if (build) build(*this);
  }
  void UISize(const PLKUI::MRect&) override { ++ui_size_calls; }
  intptr_t OnInitDialog() override {
    ++init_dialog_calls;
    return MDialog::OnInitDialog();
  }
  intptr_t OnMessage(int id, int code, intptr_t param) override {
    notifications.push_back(Notification{id, code, param});
    return 0;
  }
  intptr_t OnWindowMessage(unsigned message, uintptr_t wparam, intptr_t lparam) override {
    if (message != PLKUI::kWmTimer) messages.push_back(ReceivedMessage{message, wparam, lparam});
    return MDialog::OnWindowMessage(message, wparam, lparam);
  }
  intptr_t OnTimer(int id) override {
    timer_ticks.push_back(id);
    return 0;
  }

  template <class T>
  T* Make(const wchar_t* cls, int id, const std::wstring& caption = L"",
          PLKUI::MRect rect = PLKUI::MRect{0, 0, 10, 10}) {
    return dynamic_cast<T*>(CreateControl(cls, id, rect, caption, 1, 1));
  }
};

}  // namespace tk410::test
