#pragma once
// A wake-up that a thread can wait for together with descriptors: any thread
// rings it, the waiting thread polls its descriptor (readable once rung) and
// clears it. Rings add up to one: ringing twice before a clear wakes once.
// Built on an eventfd; where none can be had the descriptor is -1 and a
// waiter has to look again after a short time-out instead.

namespace tk410 {

class WakeSignal {
 public:
  WakeSignal();
  ~WakeSignal();
  WakeSignal(const WakeSignal&) = delete;
  WakeSignal& operator=(const WakeSignal&) = delete;

  // Any thread.
  void Ring();
  // Takes a ring back; true when the signal had been rung.
  bool Clear();
  // The descriptor to poll for reading; -1 when the signal has none.
  int Fd() const { return fd_; }

 private:
  int fd_ = -1;
};

}  // namespace tk410
