#include "plkui/control.h"

#include "plkui/dialog.h"

namespace PLKUI {

MControl::MControl(std::wstring class_name) : class_name_(std::move(class_name)) {}

MControl::~MControl() = default;

void MControl::Attach(MDialog* owner, int id) {
  owner_ = owner;
  id_ = id;
}

void MControl::SetRect(const MRect& rect) { SetField(rect_, rect); }
MRect MControl::GetRect() const { return GetField(rect_); }
void MControl::SetVisible(bool visible) { SetField(visible_, visible); }
bool MControl::IsVisible() const { return GetField(visible_); }
void MControl::SetEnabled(bool enabled) { SetField(enabled_, enabled); }
bool MControl::IsEnabled() const { return GetField(enabled_); }
void MControl::SetTooltip(const std::wstring& text) { SetField(tooltip_, text); }
std::wstring MControl::GetTooltip() const { return GetField(tooltip_); }
void MControl::SetImage(const std::wstring& name) { SetField(image_, name); }
std::wstring MControl::GetImage() const { return GetField(image_); }

void MControl::SetParent(MControl* parent) {
  // A control may not contain itself, directly or further up.
  for (MControl* p = parent; p; p = p->GetParent()) {
    if (p == this) return;
  }
  SetField(parent_, parent);
}

MControl* MControl::GetParent() const { return GetField(parent_); }

bool MControl::IsShown() const {
  // Each link is read under its own control's lock, one at a time.
  for (const MControl* c = this; c; c = c->GetParent()) {
    if (!c->IsVisible()) return false;
  }
  return true;
}

void MControl::UpdateControl(int, int) { Changed(); }

void MControl::SetChangeListener(std::function<void()> listener) {
  std::lock_guard<std::mutex> lock(listener_mutex_);
  listener_ = std::move(listener);
}

void MControl::Changed() {
  std::lock_guard<std::mutex> lock(listener_mutex_);
  if (listener_) listener_();
}

intptr_t MControl::Notify(int code, intptr_t param) {
  if (!owner_) return 0;
  return owner_->DispatchNotify(*this, code, param);
}

void MControl::PerformClick() {
  if (IsEnabled()) Notify(kNotifyClick);
}

void MControl::PerformRightClick() {
  if (IsEnabled()) Notify(kNotifyRightClick);
}

MControlFont::MControlFont(std::wstring class_name) : MControl(std::move(class_name)) {}

void MControlFont::SetTitle(const std::wstring& title) { SetField(title_, title); }
std::wstring MControlFont::GetTitle() const { return GetField(title_); }
void MControlFont::SetAlignment(int alignment) { SetField(alignment_, alignment); }
int MControlFont::GetAlignment() const { return GetField(alignment_); }
void MControlFont::SetFontWidth(int size) { SetField(font_size_, size); }
int MControlFont::GetFontWidth() const { return GetField(font_size_); }
void MControlFont::SetFontName(const std::wstring& name) { SetField(font_name_, name); }
std::wstring MControlFont::GetFontName() const { return GetField(font_name_); }
void MControlFont::SetTextColor(uint32_t color) { SetField(text_color_, color); }
uint32_t MControlFont::GetTextColor() const { return GetField(text_color_); }

}  // namespace PLKUI
