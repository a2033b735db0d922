#include "plkui/check_controls.h"

#include <vector>

#include "base/text.h"
#include "plkui/dialog.h"

namespace PLKUI {

MCheckControl::MCheckControl(std::wstring class_name) : MControlFont(std::move(class_name)) {}

void MCheckControl::SetCheck(int check) {
  const int value = check ? 1 : 0;
  const std::wstring group = GetGroupName();
  MDialog* owner = GetOwner();
  if (!value || group.empty() || !owner) {
    SetField(check_, value);
    return;
  }
  // The group lock makes check-and-uncheck-the-others one step, so two
  // threads checking two members leave exactly one checked.
  std::vector<MCheckControl*> changed;
  {
    std::lock_guard<std::mutex> group_lock(owner->GroupMutex());
    for (MControl* c : owner->GetControls()) {
      auto* member = dynamic_cast<MCheckControl*>(c);
      if (!member || member->GetGroupName() != group) continue;
      const int want = member == this ? 1 : 0;
      std::lock_guard<std::mutex> lock(member->mutex_);
      if (member->check_ != want) {
        member->check_ = want;
        changed.push_back(member);
      }
    }
  }
  for (MCheckControl* member : changed) member->Changed();
}

int MCheckControl::GetCheck() const { return GetField(check_); }
void MCheckControl::SetGroupName(const std::wstring& group) { SetField(group_, group); }
std::wstring MCheckControl::GetGroupName() const { return GetField(group_); }

void MCheckControl::PerformClick() {
  if (!IsEnabled()) return;
  if (GetGroupName().empty() && GetClassName() != L"CRadioButton") {
    SetCheck(GetCheck() ? 0 : 1);
  } else {
    SetCheck(1);
  }
  Notify(kNotifyClick);
}

void CSwitchButton::SetImages(const std::wstring& off, const std::wstring& on) {
  SetImage(off);
  SetField(on_image_, on);
}

std::wstring CSwitchButton::GetOnImage() const { return GetField(on_image_); }

void ColorButtonEx::SetColor(uint32_t color) { SetField(color_, color); }
uint32_t ColorButtonEx::GetColor() const { return GetField(color_); }

void DPIControl::SetColor(uint32_t color) { SetField(color_, color); }
uint32_t DPIControl::GetColor() const { return GetField(color_); }
void DPIControl::SetDPIValue(int dpi) { SetField(dpi_, dpi); }
int DPIControl::GetDPIValue() const { return GetField(dpi_); }
void DPIControl::SetEditEnabled(bool enabled) { SetField(edit_enabled_, enabled); }
bool DPIControl::IsEditEnabled() const { return GetField(edit_enabled_); }

void DPIControl::PerformEditText(const std::wstring& text) {
  if (!IsEnabled() || !IsEditEnabled()) return;
  SetDPIValue(tk410::WToI(text));
  Notify(kNotifyTextChanging);
}

void DPIControl::PerformEditFinished() {
  if (!IsEnabled() || !IsEditEnabled()) return;
  Notify(kNotifyEditFinished);
}

}  // namespace PLKUI
