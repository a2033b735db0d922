#pragma once
// CThreadBasic: a loop thread that runs ThreadBody() once per turn with a
// pause after each turn, while running is set. The pause is a sleep through
// the clock unless the derived class waits its own way (PauseAfterTurn), for
// example until there is work; StopThread then ends that wait
// (InterruptPause).
//
// Stopping clears running and waits a bounded time for the loop to leave;
// JoinThread then waits for the thread itself to end. The owner must join
// before it is destroyed, so a thread still inside a slow device exchange can
// never touch a destroyed object.

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <thread>

#include "base/clock.h"

namespace tk410 {

class CThreadBasic {
 public:
  CThreadBasic() = default;
  virtual ~CThreadBasic();
  CThreadBasic(const CThreadBasic&) = delete;
  CThreadBasic& operator=(const CThreadBasic&) = delete;

  // Starts the loop when it is not running: pause = pause_ms, loop = 1, start
  // tick = now. The pause goes through `clock`.
  bool StartThread(Clock& clock, uint32_t pause_ms = 30);
  // Clears running and waits up to wait_ms for the loop to leave. True when
  // it left in time (or was not running).
  bool StopThread(uint32_t wait_ms = 1000);
  // Waits for the thread to end. Call after StopThread.
  void JoinThread();
  bool IsThreadRunning() const { return running_.load() != 0; }
  uint64_t StartTick() const { return start_tick_; }

 protected:
  // One turn of the loop.
  virtual void ThreadBody() = 0;
  // The pause after a turn (the loop thread). By default a sleep of pause_ms.
  virtual void PauseAfterTurn(uint32_t pause_ms);
  // Called by StopThread after clearing running, on the stopping thread: ends
  // a PauseAfterTurn that waits longer than a sleep would.
  virtual void InterruptPause() {}

 private:
  void Run();

  std::atomic<int> running_{0};
  int loop_ = 1;
  uint32_t pause_ms_ = 1;
  uint64_t start_tick_ = 0;
  Clock* clock_ = nullptr;
  std::thread thread_;
  std::mutex stop_mutex_;
  std::condition_variable stop_event_;
  bool stopped_ = true;
};

}  // namespace tk410
