#pragma once
// The selection and item-count operations the two list controls (macro list,
// step list) share, over an ItemList under the control's mutex. Selecting an
// item reports 2 with its index; a right click selects the item under the
// pointer (or nothing, for -1) and reports 9.

#include "plkui/control.h"
#include "plkui/item_list.h"

namespace PLKUI {

template <class Item>
class MListControl : public MControlFont {
 public:
  using MControlFont::MControlFont;

  int GetCurSel() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return items_.Selected();
  }
  bool SetCurSel(int index) {
    {
      std::lock_guard<std::mutex> lock(mutex_);
      if (!items_.Select(index)) return false;
    }
    Changed();
    return true;
  }
  int GetItemCount() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return items_.Count();
  }
  void DeleteAllItems() {
    {
      std::lock_guard<std::mutex> lock(mutex_);
      items_.Clear();
    }
    Changed();
  }

  void PerformSelect(int index) {
    if (IsEnabled() && index >= 0 && SetCurSel(index)) Notify(kNotifyClick, index);
  }
  void PerformRightClickItem(int index) {
    if (!IsEnabled()) return;
    SetCurSel(index);
    Notify(kNotifyRightClick, index);
  }

 protected:
  int InsertItem(int index, Item item) {
    int at;
    {
      std::lock_guard<std::mutex> lock(mutex_);
      at = items_.Insert(index, std::move(item));
    }
    Changed();
    return at;
  }

  ItemList<Item> items_;
};

}  // namespace PLKUI
