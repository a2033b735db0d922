#include "sync/task_queue.h"

namespace tk410 {

void TaskQueue::Push(int kind) {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    tasks_.push_back(kind);
  }
  signal_.Ring();
}

std::optional<int> TaskQueue::TryPop() {
  std::lock_guard<std::mutex> lock(mutex_);
  if (tasks_.empty()) return std::nullopt;
  const int kind = tasks_.front();
  tasks_.pop_front();
  return kind;
}

void TaskQueue::Clear() {
  std::lock_guard<std::mutex> lock(mutex_);
  tasks_.clear();
}

size_t TaskQueue::Size() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return tasks_.size();
}

}  // namespace tk410
