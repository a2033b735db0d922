#include "plkui/dialog.h"

#include "plkui/control_factory.h"
#include "plkui/menu_wnd.h"
#include "plkui/runtime.h"

namespace PLKUI {

MDialog::MDialog() = default;

MDialog::~MDialog() {
  // Menus still on screen close first, then the host and its views go;
  // they listen to the controls below.
  for (auto& menu : menus_) menu->Close();
  ReleaseWindow();
}

intptr_t MDialog::OnInitDialog() { return 1; }
void MDialog::InitUI() {}
void MDialog::UISize(const MRect&) {}
intptr_t MDialog::OnMessage(int, int, intptr_t) { return 0; }

void MDialog::DoOK() { EndModal(kResultOK); }
void MDialog::DoCancel() { EndModal(kResultCancel); }

void MDialog::OnCreateWindow() {
  InitUI();
  UISize(GetClientRect());
  OnInitDialog();
}

void MDialog::OnWindowRegistered() {
  // A timer set while the dialog built itself starts now.
  const int ms = GetMTimer();
  if (ms > 0) GetRuntime().SetTimer(*this, kTimerId, ms);
}

MRect MDialog::GetClientRect() const {
  const MRect r = GetWindowRect();
  return MRect{0, 0, r.Width(), r.Height()};
}

MControl* MDialog::CreateControl(const std::wstring& class_name, int id, const MRect& rect,
                                 const std::wstring& caption, int, int) {
  return AddControl(class_name, id, rect, caption);
}

MControl* MDialog::CreateArea(const std::wstring& class_name, int id, const MRect& rect,
                              const std::wstring& caption, int, int) {
  return AddControl(class_name, id, rect, caption);
}

MControl* MDialog::AddControl(const std::wstring& class_name, int id, const MRect& rect,
                              const std::wstring& caption) {
  std::unique_ptr<MControl> control = CreateControlByClassName(class_name);
  if (!control) return nullptr;
  control->Attach(this, id);
  control->SetRect(rect);
  if (auto* font = dynamic_cast<MControlFont*>(control.get())) font->SetTitle(caption);
  MControl* raw = control.get();
  {
    std::lock_guard<std::mutex> lock(controls_mutex_);
    controls_.push_back(std::move(control));
  }
  if (IsCreated()) GetRuntime().ControlCreated(*this, *raw);
  return raw;
}

MControl* MDialog::GetControl(int id) const {
  std::lock_guard<std::mutex> lock(controls_mutex_);
  for (const auto& c : controls_) {
    if (c->GetId() == id) return c.get();
  }
  return nullptr;
}

std::vector<MControl*> MDialog::GetControls() const {
  std::lock_guard<std::mutex> lock(controls_mutex_);
  std::vector<MControl*> out;
  out.reserve(controls_.size());
  for (const auto& c : controls_) out.push_back(c.get());
  return out;
}

void MDialog::SetMTimer(int ms) {
  {
    std::lock_guard<std::mutex> lock(window_mutex_);
    timer_ms_ = ms;
  }
  if (IsCreated()) GetRuntime().SetTimer(*this, kTimerId, ms);
}

int MDialog::GetMTimer() const {
  std::lock_guard<std::mutex> lock(window_mutex_);
  return timer_ms_;
}

void MDialog::SetMessage(const std::wstring& text, const MRect& box) {
  {
    std::lock_guard<std::mutex> lock(window_mutex_);
    message_text_ = text;
    message_rect_ = box;
  }
  Changed();
}

std::wstring MDialog::GetMessageText() const {
  std::lock_guard<std::mutex> lock(window_mutex_);
  return message_text_;
}

MRect MDialog::GetMessageRect() const {
  std::lock_guard<std::mutex> lock(window_mutex_);
  return message_rect_;
}

intptr_t MDialog::DispatchNotify(MControl& control, int code, intptr_t param) {
  return OnMessage(control.GetId(), code, param);
}

void MDialog::AdoptMenu(MenuWnd* menu) {
  std::lock_guard<std::mutex> lock(controls_mutex_);
  // Menus closed earlier are no longer on screen; free them now.
  std::erase_if(menus_, [](const std::unique_ptr<MenuWnd>& m) { return m->IsClosed(); });
  menus_.emplace_back(menu);
}

}  // namespace PLKUI
