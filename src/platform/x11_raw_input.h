#pragma once
// X11RawInput: keyboard and mouse input of the whole X display through
// XInput2 raw events selected on the root window, so that recording and key
// capture work while another program's window has the focus. Needs no
// special rights. Runs its own display connection on its own thread; not
// available on Wayland (Start returns false) or without the XInput2 extension.
//
// A key is decided by its physical key (the raw event's keycode) with the
// keyboard state: Shift and Num Lock from the XKB state events, which arrive
// in order with the raw events; its name by what the current layout (XKB
// group) types with it unshifted.

#include <atomic>
#include <thread>

#include "assign/physical_keys.h"
#include "platform/raw_input_hub.h"

namespace tk410 {

class X11RawInput : public RawInputSource {
 public:
  X11RawInput() = default;
  ~X11RawInput() override;
  X11RawInput(const X11RawInput&) = delete;
  X11RawInput& operator=(const X11RawInput&) = delete;

  bool Start(RawInputHub& hub) override;
  void Stop() override;
  bool IsGlobal() const override { return true; }

 private:
  void Run();
  RawInputEvent KeyEvent(int keycode, bool pressed);

  RawInputHub* hub_ = nullptr;
  void* display_ = nullptr;  // Display*
  int xi_opcode_ = 0;
  int xkb_event_base_ = -1;
  // The keyboard state as of the last event read (on the thread of Run).
  unsigned modifiers_ = 0;
  int group_ = 0;
  HeldPhysicalKeys held_;
  int wake_fds_[2] = {-1, -1};
  std::atomic<bool> stopping_{false};
  std::thread thread_;
};

}  // namespace tk410
