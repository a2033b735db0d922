#include "plkui/slider.h"

#include <algorithm>

namespace PLKUI {

void MSlider::SetRange(int low, int high) {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    low_ = std::min(low, high);
    high_ = std::max(low, high);
    position_ = std::clamp(position_, low_, high_);
  }
  Changed();
}

int MSlider::GetLow() const { return GetField(low_); }
int MSlider::GetHigh() const { return GetField(high_); }

void MSlider::SetProgress(int position) {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    const int clamped = std::clamp(position, low_, high_);
    if (clamped == position_) return;
    position_ = clamped;
  }
  Changed();
}

int MSlider::GetProgress() const { return GetField(position_); }
void MSlider::SetThumbImage(const std::wstring& image) { SetField(thumb_, image); }
std::wstring MSlider::GetThumbImage() const { return GetField(thumb_); }

void MSlider::PerformDrag(int position) {
  if (!IsEnabled()) return;
  SetProgress(position);
  Notify(kNotifyTextChanging);
}

void MSlider::PerformRelease() {
  if (IsEnabled()) Notify(kNotifyClick);
}

void MSlider::PerformSetProgress(int position) {
  PerformDrag(position);
  PerformRelease();
}

}  // namespace PLKUI
