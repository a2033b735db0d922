#pragma once
// The page tab strip and its page containers. Each tab item is bound to one
// MTabLayout; selecting an item shows its layout and hides the layouts of the
// other items. A user's choice of another item reports 2 with the item index.

#include <string>
#include <vector>

#include "plkui/control.h"
#include "plkui/item_list.h"

namespace PLKUI {

// A page container: the controls added to it are shown only while it is.
class MTabLayout : public MControlFont {
 public:
  MTabLayout() : MControlFont(L"MTabLayout") {}
  void AddControl(MControl* control);
};

class MTabCtrl : public MControlFont {
 public:
  struct Item {
    std::wstring text;
    std::wstring icon;
    int data = 0;
    MTabLayout* layout = nullptr;
  };

  MTabCtrl() : MControlFont(L"MTabCtrl") {}

  int AddItem(const std::wstring& text, const std::wstring& icon, int data, MTabLayout* layout);
  int GetItemCount() const;
  bool SetItemText(int index, const std::wstring& text);
  std::wstring GetItemText(int index) const;
  int GetItemData(int index) const;
  std::vector<Item> GetItems() const;
  void SetItemSize(int width, int height);
  std::pair<int, int> GetItemSize() const;

  // Selects the item and shows its layout; false for an index out of range.
  bool SetSelectItem(int index);
  int GetSelectItem() const;
  // Redraws the items (after their texts or enabled state changed).
  void RefreshItemData();

  void PerformSelect(int index);

 private:
  ItemList<Item> items_;
  int item_width_ = 60;
  int item_height_ = 60;
};

}  // namespace PLKUI
