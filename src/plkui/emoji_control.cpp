#include "plkui/emoji_control.h"

namespace PLKUI {

int EmojiControl::AddEmoji(int number, const std::wstring& tooltip, const std::wstring& picture) {
  int at;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    at = items_.Insert(-1, EmojiItem{number, tooltip, picture});
  }
  Changed();
  return at;
}

int EmojiControl::GetItemCount() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return items_.Count();
}

std::vector<EmojiItem> EmojiControl::GetItems() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return items_.Items();
}

bool EmojiControl::SetSelectItem(int index) {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    if (!items_.Select(index)) return false;
  }
  Changed();
  return true;
}

int EmojiControl::GetSelectItem() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return items_.Selected();
}

int EmojiControl::GetSelectData(std::wstring& text) const {
  std::lock_guard<std::mutex> lock(mutex_);
  const EmojiItem* item = items_.At(items_.Selected());
  text = item ? item->tooltip : std::wstring();
  return item ? item->number : 0;
}

void EmojiControl::PerformSelect(int index) {
  if (IsEnabled() && index >= 0 && SetSelectItem(index)) Notify(kNotifyClick, index);
}

}  // namespace PLKUI
