#include "sync/thread_basic.h"

#include <chrono>

namespace tk410 {

CThreadBasic::~CThreadBasic() {
  // The derived object is already gone here; a still-running loop would call
  // a pure virtual. Owners stop and join first; this is the last safety net.
  StopThread(0);
  JoinThread();
}

bool CThreadBasic::StartThread(Clock& clock, uint32_t pause_ms) {
  if (running_.load() != 0) return false;
  JoinThread();  // a previous loop that was stopped but not joined
  clock_ = &clock;
  pause_ms_ = pause_ms;
  loop_ = 1;
  start_tick_ = clock.TickMs();
  {
    std::lock_guard<std::mutex> lock(stop_mutex_);
    stopped_ = false;
  }
  running_.store(1);
  thread_ = std::thread([this] { Run(); });
  return true;
}

void CThreadBasic::Run() {
  if (loop_) {
    while (running_.load() != 0) {
      ThreadBody();
      if (running_.load() == 0) break;
      PauseAfterTurn(pause_ms_);
    }
  } else {
    ThreadBody();
  }
  std::lock_guard<std::mutex> lock(stop_mutex_);
  stopped_ = true;
  stop_event_.notify_all();
}

void CThreadBasic::PauseAfterTurn(uint32_t pause_ms) { clock_->SleepMs(pause_ms); }

bool CThreadBasic::StopThread(uint32_t wait_ms) {
  running_.store(0);
  InterruptPause();
  std::unique_lock<std::mutex> lock(stop_mutex_);
  return stop_event_.wait_for(lock, std::chrono::milliseconds(wait_ms), [this] { return stopped_; });
}

void CThreadBasic::JoinThread() {
  if (thread_.joinable() && thread_.get_id() != std::this_thread::get_id()) thread_.join();
}

}  // namespace tk410
