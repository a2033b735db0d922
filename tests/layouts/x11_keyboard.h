#pragma once
// The keyboard of the test X server (support/xvfb_server.h), driven as a
// user would drive it: keys pressed by keycode through XTest, Num Lock locked
// and unlocked through XKB. And a waiter for the raw events a source
// publishes into a hub from its own thread.

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <mutex>
#include <vector>

#include "platform/raw_input_hub.h"

namespace tk410::layouts {

inline constexpr int kLeftShiftKeycode = 50;

class X11Keyboard {
 public:
  // Opens the display DISPLAY names.
  X11Keyboard();
  ~X11Keyboard();
  X11Keyboard(const X11Keyboard&) = delete;
  X11Keyboard& operator=(const X11Keyboard&) = delete;

  // True when the display is open and has XTest.
  bool Ready() const { return ready_; }
  // A press or release, sent and processed by the server when this returns.
  void Key(int keycode, bool down);
  void Tap(int keycode);
  void SetNumLock(bool on);
  // The keysym the server's current layout gives for `keycode` with Shift
  // and Num Lock as given (read from the server when called).
  uint32_t KeysymOf(int keycode, bool shift, bool num_lock);

 private:
  void* display_ = nullptr;  // Display*
  bool ready_ = false;
};

class RawEventWaiter {
 public:
  explicit RawEventWaiter(RawInputHub& hub);
  ~RawEventWaiter();
  RawEventWaiter(const RawEventWaiter&) = delete;
  RawEventWaiter& operator=(const RawEventWaiter&) = delete;

  // The handles of the next `count` events published, in order. Fewer when
  // they have not all arrived within a guard time of seconds, so that a
  // broken test fails instead of hanging. When it returns, every window the
  // hub posts to has its messages for these events queued.
  std::vector<intptr_t> Next(size_t count);

 private:
  RawInputHub& hub_;
  std::mutex mutex_;
  std::condition_variable arrived_;
  std::deque<intptr_t> handles_;
};

}  // namespace tk410::layouts
