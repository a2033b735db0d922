#include "plkui/tab.h"

namespace PLKUI {

void MTabLayout::AddControl(MControl* control) {
  if (control) control->SetParent(this);
}

int MTabCtrl::AddItem(const std::wstring& text, const std::wstring& icon, int data,
                      MTabLayout* layout) {
  int at;
  bool first;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    at = items_.Insert(-1, Item{text, icon, data, layout});
    first = items_.Selected() < 0;
  }
  if (first) {
    SetSelectItem(at);
  } else if (layout) {
    layout->SetVisible(false);
  }
  Changed();
  return at;
}

int MTabCtrl::GetItemCount() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return items_.Count();
}

bool MTabCtrl::SetItemText(int index, const std::wstring& text) {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    Item* item = items_.At(index);
    if (!item) return false;
    item->text = text;
  }
  Changed();
  return true;
}

std::wstring MTabCtrl::GetItemText(int index) const {
  std::lock_guard<std::mutex> lock(mutex_);
  const Item* item = items_.At(index);
  return item ? item->text : std::wstring();
}

int MTabCtrl::GetItemData(int index) const {
  std::lock_guard<std::mutex> lock(mutex_);
  const Item* item = items_.At(index);
  return item ? item->data : 0;
}

std::vector<MTabCtrl::Item> MTabCtrl::GetItems() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return items_.Items();
}

void MTabCtrl::SetItemSize(int width, int height) {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    item_width_ = width;
    item_height_ = height;
  }
  Changed();
}

std::pair<int, int> MTabCtrl::GetItemSize() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return {item_width_, item_height_};
}

bool MTabCtrl::SetSelectItem(int index) {
  std::vector<Item> items;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    if (!items_.Valid(index) || !items_.Select(index)) return false;
    items = items_.Items();
  }
  // Layouts are other controls: switched outside this control's lock.
  for (int i = 0; i < static_cast<int>(items.size()); ++i) {
    if (items[i].layout && i != index) items[i].layout->SetVisible(false);
  }
  if (items[index].layout) items[index].layout->SetVisible(true);
  Changed();
  return true;
}

int MTabCtrl::GetSelectItem() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return items_.Selected();
}

void MTabCtrl::RefreshItemData() { Changed(); }

void MTabCtrl::PerformSelect(int index) {
  if (!IsEnabled() || index == GetSelectItem()) return;
  if (SetSelectItem(index)) Notify(kNotifyClick, index);
}

}  // namespace PLKUI
