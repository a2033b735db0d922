#include "plkui/headless_runtime.h"

#include <algorithm>
#include <chrono>

#include "plkui/menu_wnd.h"
#include "plkui/window.h"

namespace PLKUI {

void HeadlessRuntime::AnswerNextModal(int result, Inspect inspect) {
  std::lock_guard<std::mutex> lock(mutex_);
  answers_.push_back(Answer{std::move(inspect), result, 0});
}

void HeadlessRuntime::AnswerNextModalByEnd(Inspect act, int guard_ms) {
  std::lock_guard<std::mutex> lock(mutex_);
  answers_.push_back(Answer{std::move(act), std::nullopt, guard_ms});
}

int HeadlessRuntime::PendingAnswers() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return static_cast<int>(answers_.size());
}

std::vector<HeadlessRuntime::ModalRecord> HeadlessRuntime::ModalLog() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return modal_log_;
}

int HeadlessRuntime::UnscriptedModalCount() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return static_cast<int>(std::count_if(modal_log_.begin(), modal_log_.end(),
                                        [](const ModalRecord& r) { return !r.scripted; }));
}

std::vector<HeadlessRuntime::EndRecord> HeadlessRuntime::EndLog() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return end_log_;
}

int HeadlessRuntime::RunModal(MWindow& window, int show) {
  std::optional<Answer> answer;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    if (!answers_.empty()) {
      answer = std::move(answers_.front());
      answers_.pop_front();
    }
  }
  window.SetModalRunning(true);
  if (show) window.ShowWindow(show);
  if (answer && answer->inspect) answer->inspect(window);

  int result = -1;
  if (answer && answer->result) {
    window.TakeModalEnd();  // an end asked for while inspecting is overridden
    result = *answer->result;
  } else if (answer) {
    std::unique_lock<std::mutex> lock(mutex_);
    const bool ended = ended_.wait_for(lock, std::chrono::milliseconds(answer->guard_ms),
                                       [&] { return window.PendingModalEnd().has_value(); });
    lock.unlock();
    if (ended) result = *window.TakeModalEnd();
  } else if (std::optional<int> pending = window.TakeModalEnd()) {
    result = *pending;
  }
  window.SetModalRunning(false);
  window.ShowWindow(0);
  std::lock_guard<std::mutex> lock(mutex_);
  modal_log_.push_back(ModalRecord{window.GetTitle(), show, result, answer.has_value()});
  return result;
}

void HeadlessRuntime::ModalEndRequested(MWindow& window, int result) {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    end_log_.push_back(EndRecord{window.GetTitle(), result});
  }
  ended_.notify_all();
}

void HeadlessRuntime::Post(MWindow& window, unsigned message, uintptr_t wparam, intptr_t lparam) {
  std::lock_guard<std::mutex> lock(mutex_);
  queue_.push_back(Posted{&window, message, wparam, lparam});
}

int HeadlessRuntime::PumpMessages() {
  int delivered = 0;
  for (;;) {
    Posted next;
    {
      std::lock_guard<std::mutex> lock(mutex_);
      if (queue_.empty()) return delivered;
      next = queue_.front();
      queue_.pop_front();
    }
    if (!IsAlive(next.window)) continue;
    next.window->SendMessage(next.message, next.wparam, next.lparam);
    ++delivered;
  }
}

size_t HeadlessRuntime::QueuedMessageCount() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return queue_.size();
}

void HeadlessRuntime::SetTimer(MWindow& window, int id, int ms) {
  std::lock_guard<std::mutex> lock(mutex_);
  if (ms > 0) {
    timers_[{&window, id}] = ms;
  } else {
    timers_.erase({&window, id});
  }
}

int HeadlessRuntime::TimerInterval(const MWindow& window, int id) const {
  std::lock_guard<std::mutex> lock(mutex_);
  auto it = timers_.find({&window, id});
  return it == timers_.end() ? 0 : it->second;
}

int HeadlessRuntime::FireTimers() {
  std::vector<std::pair<const MWindow*, int>> due;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    for (const auto& [key, ms] : timers_) due.push_back(key);
  }
  int fired = 0;
  for (const auto& [window, id] : due) {
    if (!IsAlive(window) || TimerInterval(*window, id) == 0) continue;
    const_cast<MWindow*>(window)->SendMessage(kWmTimer, static_cast<uintptr_t>(id), 0);
    ++fired;
  }
  return fired;
}

void HeadlessRuntime::ShowMenu(MenuWnd& menu) {
  std::lock_guard<std::mutex> lock(mutex_);
  menus_.push_back(&menu);
}

void HeadlessRuntime::MenuClosed(MenuWnd& menu) {
  std::lock_guard<std::mutex> lock(mutex_);
  std::erase(menus_, &menu);
}

MenuWnd* HeadlessRuntime::OpenMenu() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return menus_.empty() ? nullptr : menus_.back();
}

bool HeadlessRuntime::ChooseMenuItem(int id) {
  MenuWnd* menu = OpenMenu();
  if (!menu) return false;
  menu->Choose(id);
  return true;
}

void HeadlessRuntime::WindowDestroyed(MWindow& window) {
  Runtime::WindowDestroyed(window);
  std::lock_guard<std::mutex> lock(mutex_);
  std::erase_if(queue_, [&](const Posted& p) { return p.window == &window; });
  std::erase_if(timers_, [&](const auto& entry) { return entry.first.first == &window; });
  std::erase_if(menus_, [&](MenuWnd* m) { return m->GetParentWindow() == &window; });
}

}  // namespace PLKUI
