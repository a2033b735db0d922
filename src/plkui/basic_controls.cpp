#include "plkui/basic_controls.h"

namespace PLKUI {

void MText::SetSelectable(bool selectable) { SetField(selectable_, selectable); }
bool MText::IsSelectable() const { return GetField(selectable_); }

void CIconButton::SetIcon(const std::wstring& icon) { SetField(icon_, icon); }
std::wstring CIconButton::GetIcon() const { return GetField(icon_); }

void CGifPicture::Play() { SetField(playing_, true); }
void CGifPicture::Stop() { SetField(playing_, false); }
bool CGifPicture::IsPlaying() const { return GetField(playing_); }

void CArea::SetTransparent(bool transparent) { SetField(transparent_, transparent); }
bool CArea::IsTransparent() const { return GetField(transparent_); }
void CArea::SetBkColor(uint32_t color) { SetField(bk_color_, color); }
uint32_t CArea::GetBkColor() const { return GetField(bk_color_); }

void CRoundArea::SetRadius(int radius) { SetField(radius_, radius); }
int CRoundArea::GetRadius() const { return GetField(radius_); }

void CDeviceState::SetState(int state) { SetField(state_, state); }
int CDeviceState::GetState() const { return GetField(state_); }

void BatteryCtrl::SetBatteryInfo(int level, int state) {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    if (level_ == level && state_ == state) return;
    level_ = level;
    state_ = state;
  }
  Changed();
}

int BatteryCtrl::GetBatteryLevel() const { return GetField(level_); }
int BatteryCtrl::GetBatteryState() const { return GetField(state_); }

void BatteryCtrl::SetImages(const std::wstring& background, const std::wstring& value,
                            const std::wstring& charge) {
  SetImage(background);
  SetField(value_image_, value);
  SetField(charge_image_, charge);
}

}  // namespace PLKUI
