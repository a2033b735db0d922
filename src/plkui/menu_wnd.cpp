#include "plkui/menu_wnd.h"

#include <algorithm>

#include "plkui/dialog.h"
#include "plkui/runtime.h"

namespace PLKUI {

MenuWnd::MenuWnd(MDialog* parent_object) {
  if (parent_object) parent_object->AdoptMenu(this);
}

bool MenuWnd::Create(MWindow* parent, MPoint point, unsigned message, int n) {
  if (!parent) return false;
  parent_ = parent;
  point_ = point;
  message_ = message;
  width_ = n;
  return true;
}

void MenuWnd::AddMenu(const std::wstring& text, int id, const std::wstring& icon, int flags,
                      int index) {
  Item item{text, id, icon, flags};
  if (index < 0 || index > static_cast<int>(items_.size())) {
    items_.push_back(std::move(item));
  } else {
    items_.insert(items_.begin() + index, std::move(item));
  }
}

void MenuWnd::ShowWindow(int show) {
  if (!show || !parent_ || shown_ || closed_) return;
  shown_ = true;
  parent_->GetRuntime().ShowMenu(*this);
}

void MenuWnd::Choose(int id) {
  if (closed_) return;
  const bool known = std::any_of(items_.begin(), items_.end(),
                                 [id](const Item& item) { return item.id == id; });
  Close();
  if (known && parent_) parent_->PostMessage(message_, 0, id);
}

void MenuWnd::Close() {
  const bool was_shown = shown_;
  shown_ = false;
  closed_ = true;
  if (was_shown && parent_) parent_->GetRuntime().MenuClosed(*this);
}

}  // namespace PLKUI
