#include "platform/fake_active_window.h"

namespace tk410 {

FakeActiveWindow::FakeActiveWindow(bool startable, WindowWatch why) : startable_(startable), why_(why) {}

bool FakeActiveWindow::Start(ActiveWindowListener listener) {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    ++attempts_;
  }
  if (!startable_) {
    if (listener.availability) listener.availability(why_);
    return false;
  }
  std::function<void(WindowWatch)> tell;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    listener_ = std::move(listener);
    started_ = true;
    ++starts_;
    tell = listener_.availability;
  }
  if (tell) tell(WindowWatch::kAvailable);
  return true;
}

void FakeActiveWindow::Stop() {
  std::lock_guard<std::mutex> lock(mutex_);
  started_ = false;
  listener_ = {};
}

std::optional<WindowIdentity> FakeActiveWindow::Current() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return started_ ? current_ : std::nullopt;
}

void FakeActiveWindow::Bring(const WindowIdentity& window, bool settle) {
  std::function<void(const WindowIdentity&)> settled;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    current_ = window;
    if (started_ && settle) settled = listener_.settled;
  }
  if (settled) settled(window);
}

void FakeActiveWindow::SetAvailable(WindowWatch watch) {
  std::function<void(WindowWatch)> tell;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    if (started_) tell = listener_.availability;
  }
  if (tell) tell(watch);
}

bool FakeActiveWindow::Started() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return started_;
}

int FakeActiveWindow::StartAttempts() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return attempts_;
}

int FakeActiveWindow::StartCount() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return starts_;
}

}  // namespace tk410
