#pragma once
// Alt-tabbing through windows changes the window in front several times a
// second; the profile follows only a window that stayed in front for a
// while. FocusSettle keeps that time on the caller's clock (milliseconds).

#include <cstdint>

namespace tk410 {

class FocusSettle {
 public:
  // How long a window must stay in front before it counts.
  static constexpr uint64_t kDefaultDelayMs = 500;

  explicit FocusSettle(uint64_t delay_ms = kDefaultDelayMs) : delay_ms_(delay_ms) {}

  // The window in front changed at `now_ms`: the wait starts again.
  void Changed(uint64_t now_ms);
  // How long to wait for the change to settle: -1 when no change waits.
  int WaitMs(uint64_t now_ms) const;
  // True (once) when the last change has stayed for the delay.
  bool TakeSettled(uint64_t now_ms);

 private:
  uint64_t delay_ms_;
  bool pending_ = false;
  uint64_t changed_at_ = 0;
};

}  // namespace tk410
