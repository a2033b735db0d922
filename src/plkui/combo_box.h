#pragma once
// MComboBox: a drop-down list of (text, data) items. The title is the text in
// the closed box: choosing an item shows its text, and the program may set
// another title afterwards (the button page shows the function's text there).

#include <string>
#include <vector>

#include "plkui/control.h"
#include "plkui/item_list.h"

namespace PLKUI {

class MComboBox : public MControlFont {
 public:
  struct Item {
    std::wstring text;
    int data = 0;
  };

  MComboBox() : MControlFont(L"MComboBox") {}

  int AddItem(const std::wstring& text, int data, int index = -1);
  void DelAllItems();
  int GetItemCount() const;
  std::wstring GetItemText(int index) const;
  int GetItemData(int index) const;
  bool SetItemText(int index, const std::wstring& text);
  std::vector<Item> GetItems() const;

  // -1 selects nothing; an index out of range is refused.
  bool SetCurSel(int index);
  int GetCurSel() const;
  // Data / text of the selected item; 0 / empty with no selection.
  int GetCurData() const;
  std::wstring GetCurText() const;
  // Selects the first item carrying `data`; false (selection unchanged) when none does.
  bool SelectData(int data);

  // The user chose an item: select it and report 2.
  void PerformSelect(int index);

 private:
  bool SelectLocked(int index);  // mutex_ held
  ItemList<Item> items_;
};

}  // namespace PLKUI
