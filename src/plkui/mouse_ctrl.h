#pragma once
// MouseCtrl: a picture of the mouse seen from above with one marker per
// button (eight on the buttons page). Each marker carries a text; one marker
// is selected. Clicking a marker selects it and reports 2 with its index.

#include <string>
#include <vector>

#include "plkui/control.h"
#include "plkui/item_list.h"

namespace PLKUI {

class MouseCtrl : public MControlFont {
 public:
  static constexpr int kMarkerCount = 8;

  MouseCtrl();
  // Adds a marker after the last one; returns its index.
  int AddItem(const std::wstring& text);
  int GetItemCount() const;
  bool SetItemText(int index, const std::wstring& text);
  std::wstring GetItemText(int index) const;
  std::vector<std::wstring> GetItemTexts() const;
  bool SetSelectItem(int index);
  int GetSelectItem() const;

  void PerformSelect(int index);

 private:
  ItemList<std::wstring> items_;
};

}  // namespace PLKUI
