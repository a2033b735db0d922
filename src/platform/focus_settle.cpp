#include "platform/focus_settle.h"

namespace tk410 {

void FocusSettle::Changed(uint64_t now_ms) {
  pending_ = true;
  changed_at_ = now_ms;
}

int FocusSettle::WaitMs(uint64_t now_ms) const {
  if (!pending_) return -1;
  const uint64_t due = changed_at_ + delay_ms_;
  return now_ms >= due ? 0 : static_cast<int>(due - now_ms);
}

bool FocusSettle::TakeSettled(uint64_t now_ms) {
  if (WaitMs(now_ms) != 0) return false;
  pending_ = false;
  return true;
}

}  // namespace tk410
