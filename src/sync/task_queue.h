#pragma once
// The worker's task queue: the window thread appends at the back, the worker
// takes from the front. Both sides lock the same mutex.

#include <deque>
#include <mutex>
#include <optional>

namespace tk410 {

class TaskQueue {
 public:
  void Push(int kind);
  std::optional<int> TryPop();
  // Drops every queued task (the window is closing).
  void Clear();
  size_t Size() const;
  bool Empty() const { return Size() == 0; }

 private:
  mutable std::mutex mutex_;
  std::deque<int> tasks_;
};

}  // namespace tk410
