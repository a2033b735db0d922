#include "plkui/mouse_ctrl.h"

namespace PLKUI {

MouseCtrl::MouseCtrl() : MControlFont(L"MouseCtrl") {}

int MouseCtrl::AddItem(const std::wstring& text) {
  int at;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    at = items_.Insert(-1, text);
    if (items_.Selected() < 0) items_.Select(0);
  }
  Changed();
  return at;
}

int MouseCtrl::GetItemCount() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return items_.Count();
}

bool MouseCtrl::SetItemText(int index, const std::wstring& text) {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    std::wstring* item = items_.At(index);
    if (!item) return false;
    if (*item == text) return true;
    *item = text;
  }
  Changed();
  return true;
}

std::wstring MouseCtrl::GetItemText(int index) const {
  std::lock_guard<std::mutex> lock(mutex_);
  const std::wstring* item = items_.At(index);
  return item ? *item : std::wstring();
}

std::vector<std::wstring> MouseCtrl::GetItemTexts() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return items_.Items();
}

bool MouseCtrl::SetSelectItem(int index) {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    if (!items_.Valid(index) || !items_.Select(index)) return false;
  }
  Changed();
  return true;
}

int MouseCtrl::GetSelectItem() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return items_.Selected();
}

void MouseCtrl::PerformSelect(int index) {
  if (IsEnabled() && SetSelectItem(index)) Notify(kNotifyClick, index);
}

}  // namespace PLKUI
