#pragma once
// The clock seam: every wait and every time measurement of the program goes
// through a Clock, so that tests can run the device time-outs (100 ms, 1000 ms
// ...) on a manual clock and assert the waits instead of sleeping.

#include <poll.h>

#include <cstddef>
#include <cstdint>
#include <mutex>
#include <vector>

namespace tk410 {

class Clock {
 public:
  virtual ~Clock() = default;
  // Milliseconds since an arbitrary start (the Windows tick count's role).
  virtual uint64_t TickMs() = 0;
  // Microseconds since the same start; for measurements finer than 1 ms.
  virtual uint64_t TickUs() = 0;
  virtual void SleepMs(uint32_t ms) = 0;
  // Waits until one of `fds` is ready or `timeout_ms` has passed (negative:
  // no limit), as poll(2): the number of ready descriptors, 0 on time-out,
  // -1 on error. Interrupted waits go on for what is left of the time-out.
  virtual int Poll(pollfd* fds, size_t count, int timeout_ms);
};

// Steady system time and real sleeps.
class SystemClock final : public Clock {
 public:
  uint64_t TickMs() override;
  uint64_t TickUs() override;
  void SleepMs(uint32_t ms) override;
};

// The process-wide real clock.
Clock& SystemClockInstance();

// A clock that only moves when told to. SleepMs advances the time at once and
// records the requested duration, so a test can assert "waited 100 ms, then
// 1000 ms". Poll returns at once when a descriptor is ready; otherwise it
// advances the time by the whole time-out (not recorded as a sleep), and only
// a wait without a time-out blocks for real, until a descriptor is ready.
// Thread-safe.
class ManualClock final : public Clock {
 public:
  explicit ManualClock(uint64_t start_ms = 1000);
  uint64_t TickMs() override;
  uint64_t TickUs() override;
  void SleepMs(uint32_t ms) override;
  int Poll(pollfd* fds, size_t count, int timeout_ms) override;

  void AdvanceMs(uint64_t ms);
  void AdvanceUs(uint64_t us);
  // Every SleepMs duration so far, in order.
  std::vector<uint32_t> Sleeps() const;
  void ClearSleeps();
  // Sum of all recorded sleeps.
  uint64_t TotalSleptMs() const;

 private:
  mutable std::mutex mutex_;
  uint64_t now_us_;
  std::vector<uint32_t> sleeps_;
};

}  // namespace tk410
