#include "plkui/window.h"

#include "plkui/manager.h"
#include "plkui/runtime.h"

namespace PLKUI {

MWindow::MWindow() = default;

MWindow::~MWindow() { ReleaseWindow(); }

bool MWindow::Create(MWindow* parent, const std::wstring& title, uint32_t style, uint32_t,
                     const MRect& rect) {
  {
    std::lock_guard<std::mutex> lock(window_mutex_);
    if (created_) return false;
    parent_ = parent;
    if (!runtime_) runtime_ = parent ? &parent->GetRuntime() : &Manager::GetRuntime();
    title_ = title;
    rect_ = rect;
    // WS_VISIBLE: the window is shown once it runs.
    visible_ = (style & 0x10000000u) != 0;
  }
  OnCreateWindow();
  {
    std::lock_guard<std::mutex> lock(window_mutex_);
    created_ = true;
  }
  GetRuntime().WindowCreated(*this);
  OnWindowRegistered();
  return true;
}

bool MWindow::IsCreated() const {
  std::lock_guard<std::mutex> lock(window_mutex_);
  return created_;
}

void MWindow::CenterWindow() {
  MRect area = parent_ ? parent_->GetWindowRect() : GetRuntime().ScreenRect();
  {
    std::lock_guard<std::mutex> lock(window_mutex_);
    const int w = rect_.Width();
    const int h = rect_.Height();
    const int left = area.left + (area.Width() - w) / 2;
    const int top = area.top + (area.Height() - h) / 2;
    rect_ = MRect{left, top, left + w, top + h};
  }
  Changed();
}

int MWindow::ShowModal(int show) {
  if (!IsCreated()) return -1;
  return GetRuntime().RunModal(*this, show);
}

MWindow* MWindow::GetSafeHwnd() { return IsCreated() ? this : nullptr; }

void MWindow::ShowWindow(int show) {
  {
    std::lock_guard<std::mutex> lock(window_mutex_);
    visible_ = show != 0;
    if (show) iconic_ = false;
  }
  Changed();
}

void MWindow::DestroyWindow() {
  if (!IsCreated()) return;
  OnDestroy();
  {
    std::lock_guard<std::mutex> lock(window_mutex_);
    visible_ = false;
  }
  EndModal(kResultCancel);
  ReleaseWindow();
}

void MWindow::ReleaseWindow() {
  bool was_created = false;
  {
    std::lock_guard<std::mutex> lock(window_mutex_);
    was_created = created_;
    created_ = false;
  }
  if (was_created) GetRuntime().WindowDestroyed(*this);
}

intptr_t MWindow::SendMessage(unsigned message, uintptr_t wparam, intptr_t lparam) {
  return OnWindowMessage(message, wparam, lparam);
}

bool MWindow::PostMessage(unsigned message, uintptr_t wparam, intptr_t lparam) {
  if (!IsCreated()) return false;
  GetRuntime().Post(*this, message, wparam, lparam);
  return true;
}

intptr_t MWindow::OnWindowMessage(unsigned message, uintptr_t wparam, intptr_t lparam) {
  switch (message) {
    case kWmClose:
      return OnClose();
    case kWmTimer:
      return OnTimer(static_cast<int>(wparam));
    default:
      return 0;
  }
}

void MWindow::OnMinimize() {
  {
    std::lock_guard<std::mutex> lock(window_mutex_);
    iconic_ = true;
  }
  Changed();
}

void MWindow::OnMaximize() {
  {
    std::lock_guard<std::mutex> lock(window_mutex_);
    zoomed_ = !zoomed_;
    iconic_ = false;
  }
  Changed();
}

void MWindow::SetShowState(bool iconic, bool zoomed) {
  {
    std::lock_guard<std::mutex> lock(window_mutex_);
    if (iconic_ == iconic && zoomed_ == zoomed) return;
    iconic_ = iconic;
    zoomed_ = zoomed;
  }
  Changed();
  OnShowStateChanged();
}

intptr_t MWindow::OnNcActivate(bool) { return 0; }
intptr_t MWindow::OnTimer(int) { return 0; }

intptr_t MWindow::OnClose() {
  EndModal(kResultCancel);
  return 0;
}

intptr_t MWindow::OnDestroy() { return 0; }

void MWindow::EndModal(int result) {
  {
    std::lock_guard<std::mutex> lock(window_mutex_);
    // The first request wins until the run takes it.
    if (modal_end_) return;
    modal_end_ = result;
    if (!created_) return;
  }
  GetRuntime().ModalEndRequested(*this, result);
}

std::optional<int> MWindow::TakeModalEnd() {
  std::lock_guard<std::mutex> lock(window_mutex_);
  std::optional<int> end = modal_end_;
  modal_end_.reset();
  return end;
}

std::optional<int> MWindow::PendingModalEnd() const {
  std::lock_guard<std::mutex> lock(window_mutex_);
  return modal_end_;
}

bool MWindow::IsModalRunning() const {
  std::lock_guard<std::mutex> lock(window_mutex_);
  return modal_running_;
}

void MWindow::SetModalRunning(bool running) {
  std::lock_guard<std::mutex> lock(window_mutex_);
  modal_running_ = running;
}

std::wstring MWindow::GetTitle() const {
  std::lock_guard<std::mutex> lock(window_mutex_);
  return title_;
}

void MWindow::SetTitle(const std::wstring& title) {
  {
    std::lock_guard<std::mutex> lock(window_mutex_);
    if (title_ == title) return;
    title_ = title;
  }
  Changed();
}

MRect MWindow::GetWindowRect() const {
  std::lock_guard<std::mutex> lock(window_mutex_);
  return rect_;
}

void MWindow::MoveWindow(const MRect& rect) {
  {
    std::lock_guard<std::mutex> lock(window_mutex_);
    if (rect_ == rect) return;
    rect_ = rect;
  }
  Changed();
}

bool MWindow::IsWindowVisible() const {
  std::lock_guard<std::mutex> lock(window_mutex_);
  return visible_;
}

bool MWindow::IsZoomed() const {
  std::lock_guard<std::mutex> lock(window_mutex_);
  return zoomed_;
}

bool MWindow::IsIconic() const {
  std::lock_guard<std::mutex> lock(window_mutex_);
  return iconic_;
}

void MWindow::SetTopMost(bool topmost) {
  {
    std::lock_guard<std::mutex> lock(window_mutex_);
    topmost_ = topmost;
  }
  Changed();
}

bool MWindow::IsTopMost() const {
  std::lock_guard<std::mutex> lock(window_mutex_);
  return topmost_;
}

void MWindow::SetIcon(int resource_id) {
  {
    std::lock_guard<std::mutex> lock(window_mutex_);
    icon_ = resource_id;
  }
  Changed();
}

int MWindow::GetIcon() const {
  std::lock_guard<std::mutex> lock(window_mutex_);
  return icon_;
}

void MWindow::SetLayered(bool layered) {
  std::lock_guard<std::mutex> lock(window_mutex_);
  layered_ = layered;
}

void MWindow::SetDragEnabled(bool enabled) {
  std::lock_guard<std::mutex> lock(window_mutex_);
  drag_ = enabled;
}

bool MWindow::IsDragEnabled() const {
  std::lock_guard<std::mutex> lock(window_mutex_);
  return drag_;
}

void MWindow::SetBkImage(const std::wstring& image, int, int) {
  {
    std::lock_guard<std::mutex> lock(window_mutex_);
    bk_image_ = image;
  }
  Changed();
}

std::wstring MWindow::GetBkImage() const {
  std::lock_guard<std::mutex> lock(window_mutex_);
  return bk_image_;
}

void MWindow::SetBkColor(uint32_t top, uint32_t bottom) {
  {
    std::lock_guard<std::mutex> lock(window_mutex_);
    bk_top_ = top;
    bk_bottom_ = bottom;
  }
  Changed();
}

std::pair<uint32_t, uint32_t> MWindow::GetBkColor() const {
  std::lock_guard<std::mutex> lock(window_mutex_);
  return {bk_top_, bk_bottom_};
}

void MWindow::SetProp(const std::wstring& name, intptr_t value) {
  std::lock_guard<std::mutex> lock(window_mutex_);
  props_[name] = value;
}

intptr_t MWindow::GetProp(const std::wstring& name) const {
  std::lock_guard<std::mutex> lock(window_mutex_);
  auto it = props_.find(name);
  return it == props_.end() ? 0 : it->second;
}

void MWindow::SetRuntime(Runtime* runtime) {
  std::lock_guard<std::mutex> lock(window_mutex_);
  if (!created_) runtime_ = runtime;
}

Runtime& MWindow::GetRuntime() const {
  std::lock_guard<std::mutex> lock(window_mutex_);
  return runtime_ ? *runtime_ : Manager::GetRuntime();
}

void MWindow::SetChangeListener(std::function<void()> listener) {
  std::lock_guard<std::mutex> lock(listener_mutex_);
  listener_ = std::move(listener);
}

void MWindow::Changed() {
  std::lock_guard<std::mutex> lock(listener_mutex_);
  if (listener_) listener_();
}

}  // namespace PLKUI
