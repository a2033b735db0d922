#pragma once
// MenuWnd: a pop-up menu. Create it with `new` and the dialog as parent
// object: the dialog owns it and frees it after it closed. Choosing an item
// posts the menu's message to the parent window with the item id as lparam
// (wparam 0) and closes the menu. Window thread only.

#include <string>
#include <vector>

#include "plkui/types.h"

namespace PLKUI {

class MDialog;
class MWindow;

class MenuWnd {
 public:
  struct Item {
    std::wstring text;
    int id = 0;
    std::wstring icon;
    int flags = 0;
  };

  explicit MenuWnd(MDialog* parent_object);
  MenuWnd(const MenuWnd&) = delete;
  MenuWnd& operator=(const MenuWnd&) = delete;

  // `n` is the menu's width in pixels.
  bool Create(MWindow* parent, MPoint point, unsigned message, int n);
  // Inserts at index (-1 appends).
  void AddMenu(const std::wstring& text, int id, const std::wstring& icon = L"", int flags = 0,
               int index = -1);
  void ShowWindow(int show);

  const std::vector<Item>& GetItems() const { return items_; }
  MPoint GetPoint() const { return point_; }
  unsigned GetMessage() const { return message_; }
  int GetWidth() const { return width_; }
  MWindow* GetParentWindow() const { return parent_; }
  bool IsShown() const { return shown_; }
  bool IsClosed() const { return closed_; }

  // The user chose item `id` (an id not in the menu closes it without a message).
  void Choose(int id);
  // Dismissed without a choice.
  void Close();

 private:
  MWindow* parent_ = nullptr;
  MPoint point_;
  unsigned message_ = 0;
  int width_ = 0;
  std::vector<Item> items_;
  bool shown_ = false;
  bool closed_ = false;
};

}  // namespace PLKUI
