#pragma once
// The worker's task queue: the window thread appends at the back, the worker
// takes from the front. Both sides lock the same mutex. Every append rings
// the queue's wake signal, which the idle worker waits on.

#include <deque>
#include <mutex>
#include <optional>

#include "base/wake_signal.h"

namespace tk410 {

class TaskQueue {
 public:
  // Appends and rings the wake signal.
  void Push(int kind);
  std::optional<int> TryPop();
  // Drops every queued task (the window is closing).
  void Clear();
  size_t Size() const;
  bool Empty() const { return Size() == 0; }
  // Rings the wake signal without a task (the worker is to stop).
  void Wake() { signal_.Ring(); }
  WakeSignal& Signal() { return signal_; }

 private:
  mutable std::mutex mutex_;
  std::deque<int> tasks_;
  WakeSignal signal_;
};

}  // namespace tk410
