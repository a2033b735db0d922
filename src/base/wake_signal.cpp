#include "base/wake_signal.h"

#include <sys/eventfd.h>
#include <unistd.h>

#include <cstdint>

namespace tk410 {

WakeSignal::WakeSignal() : fd_(eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC)) {}

WakeSignal::~WakeSignal() {
  if (fd_ >= 0) ::close(fd_);
}

void WakeSignal::Ring() {
  if (fd_ < 0) return;
  const uint64_t one = 1;
  // A full counter (never reached) or an interrupted write leaves it readable anyway.
  [[maybe_unused]] const ssize_t n = ::write(fd_, &one, sizeof(one));
}

bool WakeSignal::Clear() {
  if (fd_ < 0) return false;
  uint64_t count = 0;
  return ::read(fd_, &count, sizeof(count)) == static_cast<ssize_t>(sizeof(count)) && count > 0;
}

}  // namespace tk410
