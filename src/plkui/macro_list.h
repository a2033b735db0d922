#pragma once
// MacroList: the list of macro names (item text = name, item data = macro
// number) with an in-place rename. Selecting an item reports 2, a right click
// selects the item under the pointer and reports 9, finishing a rename writes
// the new text into the item and reports 29.

#include <string>
#include <vector>

#include "plkui/list_control.h"

namespace PLKUI {

struct MacroListItem {
  std::wstring text;
  int data = 0;
};

class MacroList : public MListControl<MacroListItem> {
 public:
  using Item = MacroListItem;

  MacroList() : MListControl(L"MacroList") {}

  // Inserts at index (-1 appends); returns the new index.
  int AddString(const std::wstring& text, int data, int index = -1);
  bool DeleteItem(int index);
  int GetItemData(int index) const;
  std::wstring GetItemText(int index) const;
  bool ModifyItemString(int index, const std::wstring& text);
  std::vector<Item> GetItems() const;
  void SetMoreImage(const std::wstring& image, int state = 0);
  std::wstring GetMoreImage() const;

  void PerformRename(int index, const std::wstring& text);

 private:
  std::wstring more_image_;
};

}  // namespace PLKUI
