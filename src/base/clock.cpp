#include "base/clock.h"

#include <cerrno>
#include <chrono>
#include <thread>

namespace tk410 {

uint64_t SystemClock::TickMs() { return TickUs() / 1000; }

uint64_t SystemClock::TickUs() {
  return static_cast<uint64_t>(std::chrono::duration_cast<std::chrono::microseconds>(
                                   std::chrono::steady_clock::now().time_since_epoch())
                                   .count());
}

void SystemClock::SleepMs(uint32_t ms) {
  std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

int Clock::Poll(pollfd* fds, size_t count, int timeout_ms) {
  const uint64_t deadline = timeout_ms < 0 ? 0 : TickMs() + static_cast<uint64_t>(timeout_ms);
  for (;;) {
    int wait = -1;
    if (timeout_ms >= 0) {
      const uint64_t now = TickMs();
      wait = now >= deadline ? 0 : static_cast<int>(deadline - now);
    }
    const int ready = ::poll(fds, count, wait);
    if (ready >= 0 || errno != EINTR) return ready;
  }
}

Clock& SystemClockInstance() {
  static SystemClock clock;
  return clock;
}

ManualClock::ManualClock(uint64_t start_ms) : now_us_(start_ms * 1000) {}

uint64_t ManualClock::TickMs() { return TickUs() / 1000; }

uint64_t ManualClock::TickUs() {
  std::lock_guard<std::mutex> lock(mutex_);
  return now_us_;
}

void ManualClock::SleepMs(uint32_t ms) {
  std::lock_guard<std::mutex> lock(mutex_);
  sleeps_.push_back(ms);
  now_us_ += static_cast<uint64_t>(ms) * 1000;
}

int ManualClock::Poll(pollfd* fds, size_t count, int timeout_ms) {
  int ready = 0;
  do {
    ready = ::poll(fds, count, 0);
  } while (ready < 0 && errno == EINTR);
  if (ready != 0) return ready;
  if (timeout_ms >= 0) {
    AdvanceMs(static_cast<uint64_t>(timeout_ms));
    return 0;
  }
  return Clock::Poll(fds, count, -1);
}

void ManualClock::AdvanceMs(uint64_t ms) { AdvanceUs(ms * 1000); }

void ManualClock::AdvanceUs(uint64_t us) {
  std::lock_guard<std::mutex> lock(mutex_);
  now_us_ += us;
}

std::vector<uint32_t> ManualClock::Sleeps() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return sleeps_;
}

void ManualClock::ClearSleeps() {
  std::lock_guard<std::mutex> lock(mutex_);
  sleeps_.clear();
}

uint64_t ManualClock::TotalSleptMs() const {
  std::lock_guard<std::mutex> lock(mutex_);
  uint64_t total = 0;
  for (uint32_t s : sleeps_) total += s;
  return total;
}

}  // namespace tk410
