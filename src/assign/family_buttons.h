#pragma once
// Which button numbers (key_code of a button row) a mouse family has: those
// its key table carries. A row for any other number can never reach the
// mouse, so imports refuse it.

namespace tk410 {

// The button numbers of the interface: 1 to 11 (left, right, middle, forward,
// backward, 6, wheel up, wheel down, 9, the eighth button, 11).
inline constexpr int kFirstButtonKeyCode = 1;
inline constexpr int kLastButtonKeyCode = 11;

// True when a mouse of `device_type` has button `key_code`: the wired family
// (types up to 200) has the 11 slots of its key table, one per button 1 to
// 11; the Nordic family's table maps buttons 1 to 11 onto its slots (its
// remaining slots carry no button).
bool IsFamilyButton(int device_type, int key_code);

}  // namespace tk410
