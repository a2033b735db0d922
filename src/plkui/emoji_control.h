#pragma once
// EmojiControl: a grid of emoji pictures, each with a number and a tooltip.
// Clicking a picture selects it and reports 2 with its index.

#include <string>
#include <vector>

#include "plkui/control.h"
#include "plkui/item_list.h"

namespace PLKUI {

struct EmojiItem {
  int number = 0;
  std::wstring tooltip;
  std::wstring picture;
};

class EmojiControl : public MControlFont {
 public:
  EmojiControl() : MControlFont(L"EmojiControl") {}

  int AddEmoji(int number, const std::wstring& tooltip, const std::wstring& picture);
  int GetItemCount() const;
  std::vector<EmojiItem> GetItems() const;
  // -1 selects nothing; an index out of range is refused.
  bool SetSelectItem(int index);
  int GetSelectItem() const;
  // The selected picture's number and tooltip text; 0 and empty with none.
  int GetSelectData(std::wstring& text) const;

  void PerformSelect(int index);

 private:
  ItemList<EmojiItem> items_;
};

}  // namespace PLKUI
