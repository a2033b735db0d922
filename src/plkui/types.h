#pragma once
// Plain value types and numbers shared by the whole UI library: rectangles,
// points, notification codes and the window messages the library itself sends.

#include <cstdint>

namespace PLKUI {

// Left, top, right, bottom in pixels of the owning window's client area.
struct MRect {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;
  int Width() const { return right - left; }
  int Height() const { return bottom - top; }
  bool Contains(int x, int y) const { return x >= left && x < right && y >= top && y < bottom; }
  bool operator==(const MRect&) const = default;
};

struct MPoint {
  int x = 0;
  int y = 0;
  bool operator==(const MPoint&) const = default;
};

// Codes a control reports to its dialog's OnMessage(id, code, param).
enum NotifyCode : int {
  kNotifyClick = 2,         // click or selection change
  kNotifyRightClick = 9,    // right click
  kNotifyTextChanging = 26, // edit text (or slider position) changing
  kNotifyEditFinished = 29, // in-place edit finished
  kNotifyEditEntered = 30,  // in-place edit entered
};

// Window messages the library itself produces.
enum WindowMessage : unsigned {
  kWmClose = 16,
  kWmTimer = 275,
};

// Results of a modal run ended by DoOK / DoCancel.
constexpr int kResultOK = 1;
constexpr int kResultCancel = 2;

}  // namespace PLKUI
