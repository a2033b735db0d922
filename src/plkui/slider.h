#pragma once
// MSlider: a horizontal slider with positions low..high. Dragging reports 26
// at each new position, letting go reports 2 (the program stores on 2).

#include <string>

#include "plkui/control.h"

namespace PLKUI {

class MSlider : public MControlFont {
 public:
  MSlider() : MControlFont(L"MSlider") {}

  void SetRange(int low, int high);
  int GetLow() const;
  int GetHigh() const;
  // Clamped to the range.
  void SetProgress(int position);
  int GetProgress() const;
  void SetThumbImage(const std::wstring& image);
  std::wstring GetThumbImage() const;

  void PerformDrag(int position);
  void PerformRelease();
  // A drag to `position` followed by letting go.
  void PerformSetProgress(int position);

 protected:
  explicit MSlider(std::wstring class_name) : MControlFont(std::move(class_name)) {}

 private:
  int low_ = 0;
  int high_ = 100;
  int position_ = 0;
  std::wstring thumb_;
};

class DPISlider : public MSlider {
 public:
  DPISlider() : MSlider(L"DPISlider") {}
};

}  // namespace PLKUI
