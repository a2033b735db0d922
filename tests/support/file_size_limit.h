#pragma once
// Caps the size of any file this process writes (RLIMIT_FSIZE) for one scope:
// a write past the cap fails with EFBIG, as on a full disk. Unlike a
// read-only folder this also stops root, so a test of a failed write runs
// the same way for every user.

#include <sys/resource.h>

#include <csignal>

namespace tk410::testing {

class ScopedFileSizeLimit {
 public:
  explicit ScopedFileSizeLimit(rlim_t bytes) {
    getrlimit(RLIMIT_FSIZE, &old_);
    old_handler_ = std::signal(SIGXFSZ, SIG_IGN);  // EFBIG instead of the signal
    rlimit capped = old_;
    capped.rlim_cur = bytes;
    ok_ = setrlimit(RLIMIT_FSIZE, &capped) == 0;
  }
  ~ScopedFileSizeLimit() {
    setrlimit(RLIMIT_FSIZE, &old_);
    std::signal(SIGXFSZ, old_handler_);
  }
  ScopedFileSizeLimit(const ScopedFileSizeLimit&) = delete;
  ScopedFileSizeLimit& operator=(const ScopedFileSizeLimit&) = delete;
  bool ok() const { return ok_; }

 private:
  rlimit old_{};
  void (*old_handler_)(int) = SIG_DFL;
  bool ok_ = false;
};

}  // namespace tk410::testing
