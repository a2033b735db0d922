#pragma once
// The item vector and selection shared by the list-like controls (combo box,
// tab strip, macro list, step list, marker picture, emoji picker). Not locked
// itself: the owning control calls it under its own mutex.

#include <cstddef>
#include <vector>

namespace PLKUI {

template <class Item>
class ItemList {
 public:
  int Count() const { return static_cast<int>(items_.size()); }
  bool Valid(int index) const { return index >= 0 && index < Count(); }
  const Item* At(int index) const { return Valid(index) ? &items_[index] : nullptr; }
  Item* At(int index) { return Valid(index) ? &items_[index] : nullptr; }
  const std::vector<Item>& Items() const { return items_; }

  // Inserts at index (-1 or past the end appends); returns the new index.
  // The selection stays on the item it was on.
  int Insert(int index, Item item) {
    if (index < 0 || index > Count()) index = Count();
    items_.insert(items_.begin() + index, std::move(item));
    if (selected_ >= index) ++selected_;
    return index;
  }
  bool Erase(int index) {
    if (!Valid(index)) return false;
    items_.erase(items_.begin() + index);
    if (selected_ == index) selected_ = -1;
    else if (selected_ > index) --selected_;
    return true;
  }
  void Clear() {
    items_.clear();
    selected_ = -1;
  }
  // Selects index, or nothing for -1; an index out of range changes nothing.
  bool Select(int index) {
    if (index != -1 && !Valid(index)) return false;
    selected_ = index;
    return true;
  }
  int Selected() const { return selected_; }

 private:
  std::vector<Item> items_;
  int selected_ = -1;
};

}  // namespace PLKUI
