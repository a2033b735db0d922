#pragma once
// Seam for typing text into whatever window has the keyboard focus, one
// UTF-16 code unit at a time (a press and a release per unit). The X11
// implementation lives beside this file; tests use FakeTextInjector.

namespace tk410 {

class TextInjector {
 public:
  virtual ~TextInjector() = default;
  // One Unicode key event for a UTF-16 code unit: key_up false = press.
  virtual void SendUnicodeUnit(char16_t unit, bool key_up) = 0;
};

}  // namespace tk410
