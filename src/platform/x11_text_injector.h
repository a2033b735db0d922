#pragma once
// Types Unicode text into the focused X11 window through the XTest
// extension. X11 has no "type this character" event, so each character is
// bound for a moment to a spare keycode (one with no keysym in the current
// keyboard mapping): the mapping is changed, the server is synced and given a
// short pause to tell the clients, the key is pressed and released, and the
// keycode is unbound again. Without the pauses clients that read the
// mapping late type the previous character or nothing.
//
// Surrogate pairs arrive as two code units; the character is typed on the
// press of the second.

#include <memory>

#include "platform/text_injector.h"

namespace tk410 {

class Clock;

// The keysym of a Unicode code point: Latin-1 keysyms equal the code point,
// every other character is 0x01000000 + code point. 0 for code points that
// cannot be typed (surrogates, beyond U+10FFFF, control characters other than
// tab and line feed).
unsigned long KeysymOfCodePoint(char32_t code_point);

class X11TextInjector final : public TextInjector {
 public:
  // Opens the display named by DISPLAY; see Available().
  explicit X11TextInjector(Clock& clock);
  ~X11TextInjector() override;

  // True when a display is open, XTest is present and a spare keycode exists.
  bool Available() const { return spare_keycode_ != 0; }

  void SendUnicodeUnit(char16_t unit, bool key_up) override;

 private:
  void Bind(unsigned long keysym);
  void Press(bool down);

  Clock& clock_;
  void* display_ = nullptr;  // Display*
  int spare_keycode_ = 0;
  char16_t pending_high_ = 0;
  bool bound_ = false;
};

// The text injector of this session: the X11 one when an X display with
// XTest is reachable (also XWayland), else null — typing is then unavailable
// (Wayland offers no way for a program to type into other windows).
std::unique_ptr<TextInjector> CreateSystemTextInjector(Clock& clock);

}  // namespace tk410
