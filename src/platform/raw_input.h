#pragma once
// One raw keyboard or mouse event as the platform reports it, in the units
// of the Windows raw input the stored data was made with: keyboard messages
// 256/257/260/261 with a virtual-key code, mouse button transition flags.
// The sources (the events of our own windows, X11 XInput2 raw events, a
// scripted source in tests) convert their native events into these.

#include <string>

namespace tk410 {

enum class RawDevice { Mouse, Keyboard, Other };

// Keyboard messages.
inline constexpr unsigned kWmKeyDown = 256;
inline constexpr unsigned kWmKeyUp = 257;
inline constexpr unsigned kWmSysKeyDown = 260;
inline constexpr unsigned kWmSysKeyUp = 261;

// The window message that announces a raw event; lParam is its handle.
inline constexpr unsigned kMsgRawInput = 255;

// Mouse button transition flags.
enum RawButtonFlag : int {
  kRawLeftDown = 0x0001,
  kRawLeftUp = 0x0002,
  kRawRightDown = 0x0004,
  kRawRightUp = 0x0008,
  kRawMiddleDown = 0x0010,
  kRawMiddleUp = 0x0020,
  kRawButton4Down = 0x0040,  // backward
  kRawButton4Up = 0x0080,
  kRawButton5Down = 0x0100,  // forward
  kRawButton5Up = 0x0200,
  kRawWheel = 0x0400,
  kRawHorizontalWheel = 0x0800,
};

struct RawInputEvent {
  RawDevice device = RawDevice::Other;
  // Keyboard.
  unsigned message = 0;
  int virtual_key = 0;
  std::wstring system_name;  // the desktop's name of the key, when the source knows it
  // What the key types on the user's layout, unshifted ("é", "&", "A"):
  // set for the main block's character keys only.
  std::wstring label;
  // Mouse.
  int button_flags = 0;
  int wheel_delta = 0;
  // Where the pointer was on the screen, when the source knows it.
  bool has_cursor = false;
  int cursor_x = 0;
  int cursor_y = 0;
};

// The flags of an X11/Qt mouse button number (1 left, 2 middle, 3 right,
// 4/5 wheel, 6/7 horizontal wheel, 8 backward, 9 forward); 0 for others.
int RawButtonFlags(int button_number, bool pressed);

}  // namespace tk410
