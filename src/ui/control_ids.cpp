#include "ui/control_ids.h"

namespace tk410::ctl {

namespace {

// Combo ids in key_code order 1..11: 62 → 1, 64 → 2, 66 → 3, 68 → 4, 70 → 5,
// 76 → 6, 72 → 7, 74 → 8, 78 → 9, 80 → 10, 82 → 11.
constexpr int kComboOfKeyCode[12] = {0, 62, 64, 66, 68, 70, 76, 72, 74, 78, 80, 82};

}  // namespace

int KeyComboId(int key_code) {
  if (key_code < 1 || key_code > 11) return 0;
  return kComboOfKeyCode[key_code];
}

int KeyCodeOfCombo(int combo_id) {
  for (int k = 1; k <= 11; ++k)
    if (kComboOfKeyCode[k] == combo_id) return k;
  return 0;
}

}  // namespace tk410::ctl
