#include "plkui/combo_box.h"

namespace PLKUI {

int MComboBox::AddItem(const std::wstring& text, int data, int index) {
  int at;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    at = items_.Insert(index, Item{text, data});
  }
  Changed();
  return at;
}

void MComboBox::DelAllItems() {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    items_.Clear();
  }
  SetTitle(L"");
  Changed();
}

int MComboBox::GetItemCount() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return items_.Count();
}

std::wstring MComboBox::GetItemText(int index) const {
  std::lock_guard<std::mutex> lock(mutex_);
  const Item* item = items_.At(index);
  return item ? item->text : std::wstring();
}

int MComboBox::GetItemData(int index) const {
  std::lock_guard<std::mutex> lock(mutex_);
  const Item* item = items_.At(index);
  return item ? item->data : 0;
}

bool MComboBox::SetItemText(int index, const std::wstring& text) {
  bool selected;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    Item* item = items_.At(index);
    if (!item) return false;
    item->text = text;
    selected = items_.Selected() == index;
  }
  if (selected) SetTitle(text);
  Changed();
  return true;
}

std::vector<MComboBox::Item> MComboBox::GetItems() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return items_.Items();
}

bool MComboBox::SelectLocked(int index) { return items_.Select(index); }

bool MComboBox::SetCurSel(int index) {
  std::wstring title;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    if (!SelectLocked(index)) return false;
    if (const Item* item = items_.At(index)) title = item->text;
  }
  SetTitle(title);
  Changed();
  return true;
}

int MComboBox::GetCurSel() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return items_.Selected();
}

int MComboBox::GetCurData() const {
  std::lock_guard<std::mutex> lock(mutex_);
  const Item* item = items_.At(items_.Selected());
  return item ? item->data : 0;
}

std::wstring MComboBox::GetCurText() const {
  std::lock_guard<std::mutex> lock(mutex_);
  const Item* item = items_.At(items_.Selected());
  return item ? item->text : std::wstring();
}

bool MComboBox::SelectData(int data) {
  int found = -1;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    for (int i = 0; i < items_.Count(); ++i) {
      if (items_.At(i)->data == data) {
        found = i;
        break;
      }
    }
  }
  return found >= 0 && SetCurSel(found);
}

void MComboBox::PerformSelect(int index) {
  if (!IsEnabled() || !SetCurSel(index)) return;
  Notify(kNotifyClick, index);
}

}  // namespace PLKUI
