#include "base/clock.h"

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
