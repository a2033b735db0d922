#include "plkui/macro_list.h"

namespace PLKUI {

int MacroList::AddString(const std::wstring& text, int data, int index) {
  return InsertItem(index, Item{text, data});
}

bool MacroList::DeleteItem(int index) {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    if (!items_.Erase(index)) return false;
  }
  Changed();
  return true;
}

int MacroList::GetItemData(int index) const {
  std::lock_guard<std::mutex> lock(mutex_);
  const Item* item = items_.At(index);
  return item ? item->data : 0;
}

std::wstring MacroList::GetItemText(int index) const {
  std::lock_guard<std::mutex> lock(mutex_);
  const Item* item = items_.At(index);
  return item ? item->text : std::wstring();
}

bool MacroList::ModifyItemString(int index, const std::wstring& text) {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    Item* item = items_.At(index);
    if (!item) return false;
    item->text = text;
  }
  Changed();
  return true;
}

std::vector<MacroList::Item> MacroList::GetItems() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return items_.Items();
}

void MacroList::SetMoreImage(const std::wstring& image, int) { SetField(more_image_, image); }
std::wstring MacroList::GetMoreImage() const { return GetField(more_image_); }

void MacroList::PerformRename(int index, const std::wstring& text) {
  if (!IsEnabled() || !SetCurSel(index) || index < 0) return;
  ModifyItemString(index, text);
  Notify(kNotifyEditFinished, index);
}

}  // namespace PLKUI
