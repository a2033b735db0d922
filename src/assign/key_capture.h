#pragma once
// KeyCapture: listens to the raw keyboard and mouse input for one window and
// turns each raw event into a CapturedInput: which device, pressed or
// released, the key's virtual-key code or the button's mask, and its name.
// Keyboard auto-repeat is told apart by the set of keys held down: a press of
// a key already held is reported as kind 0.
//
// Stopping is deleting the object; the window's registration with the hub
// stays until the window unregisters, so later raw input messages still reach
// the window but are not decoded.

#include <cstdint>
#include <map>
#include <string>

namespace PLKUI {
class MWindow;
}

namespace tk410 {

class RawInputHub;

enum CapturedKind : int {
  kCapturedIgnore = 0,  // keyboard auto-repeat
  kCapturedMouse = 1,
  kCapturedKeyboard = 2,
  kCapturedOther = 3,
};

// Mouse button masks of captured input and of macro button steps.
enum MouseMask : int {
  kMaskLeft = 1,
  kMaskRight = 2,
  kMaskMiddle = 4,
  kMaskBackward = 8,
  kMaskForward = 16,
};

struct CapturedInput {
  int kind = kCapturedIgnore;
  int released = 0;
  int code = 0;       // virtual-key code or button mask
  std::wstring text;  // display name; empty for a mouse move or wheel turn
  // Where the pointer was on the screen, when the source said.
  bool has_cursor = false;
  int cursor_x = 0;
  int cursor_y = 0;
};

class KeyCapture {
 public:
  // `hub` may be null: then nothing is ever captured.
  explicit KeyCapture(RawInputHub* hub) : hub_(hub) {}

  // Empties the held-keys set and registers the window for raw keyboard and
  // mouse input (a failed registration is tried once more, then left silent).
  void StartCapture(PLKUI::MWindow& window);
  // Decodes the raw event of `handle` into `input`; an unknown handle leaves
  // `input` as it was.
  void DecodeRawInput(intptr_t handle, CapturedInput& input);

  size_t HeldKeyCount() const { return held_.size(); }

 private:
  RawInputHub* hub_;
  std::map<int, bool> held_;
};

// The name key capture gives a virtual-key code (after the generic-modifier
// replacement): the capture's own names, then `label` (what the key types on
// the user's layout), then our key table's, then `system_name`, then "Key <code>".
std::wstring CapturedKeyName(int virtual_key, const std::wstring& label, const std::wstring& system_name);
// The left-hand code of a generic Shift/Ctrl/Alt (16/17/18); others unchanged.
int LeftHandVirtualKey(int virtual_key);
// "LB", "RB", "MB", "Backward", "Forward"; empty for other masks.
std::wstring MouseMaskName(int mask);

}  // namespace tk410
