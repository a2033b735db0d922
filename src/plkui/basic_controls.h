#pragma once
// Text, buttons, pictures, areas and the two status indicators.

#include <string>

#include "plkui/control.h"

namespace PLKUI {

// A text. A selectable text can be selected and copied by the user (advice
// that carries a command to type, for example); a plain one lets clicks
// through to what lies beneath it.
class MText : public MControlFont {
 public:
  MText() : MControlFont(L"MText") {}
  void SetSelectable(bool selectable);
  bool IsSelectable() const;

 private:
  bool selectable_ = false;
};

// A push button; a click reports 2. The skin image is SetImage's.
class MButton : public MControlFont {
 public:
  MButton() : MControlFont(L"MButton") {}

 protected:
  explicit MButton(std::wstring class_name) : MControlFont(std::move(class_name)) {}
};

// A button drawn by its image alone (title-bar buttons, step buttons).
class CImageButton : public MButton {
 public:
  CImageButton() : MButton(L"CImageButton") {}
};

// A button with an icon before its caption.
class CIconButton : public MButton {
 public:
  CIconButton() : MButton(L"CIconButton") {}
  void SetIcon(const std::wstring& icon);
  std::wstring GetIcon() const;

 private:
  std::wstring icon_;
};

// A caption drawn as a link.
class CTextButton : public MButton {
 public:
  CTextButton() : MButton(L"CTextButton") {}
};

// A small "?" button; its title is the help text shown while the pointer rests on it.
class CHelpButton : public MButton {
 public:
  CHelpButton() : MButton(L"CHelpButton") {}
};

class MPicture : public MControlFont {
 public:
  MPicture() : MControlFont(L"MPicture") {}

 protected:
  explicit MPicture(std::wstring class_name) : MControlFont(std::move(class_name)) {}
};

// An animated picture ("loading.gif"); runs while playing.
class CGifPicture : public MPicture {
 public:
  CGifPicture() : MPicture(L"CGifPicture") {}
  void Play();
  void Stop();
  bool IsPlaying() const;

 private:
  bool playing_ = false;
};

// A plain area: background colour (0x00BBGGRR) unless transparent.
class CArea : public MControlFont {
 public:
  CArea() : MControlFont(L"CArea") {}
  void SetTransparent(bool transparent);
  bool IsTransparent() const;
  void SetBkColor(uint32_t color);
  uint32_t GetBkColor() const;

 protected:
  explicit CArea(std::wstring class_name) : MControlFont(std::move(class_name)) {}

 private:
  bool transparent_ = false;
  uint32_t bk_color_ = 0;
};

class CRoundArea : public CArea {
 public:
  CRoundArea() : CArea(L"CRoundArea") {}
  void SetRadius(int radius);
  int GetRadius() const;

 private:
  int radius_ = 8;
};

// Connection state: the caption beside a state picture. The state says what
// the picture shows: nothing usable connected, a mouse connected, or a mouse
// present that cannot be configured (access denied, Bluetooth).
class CDeviceState : public MControlFont {
 public:
  enum State : int { kNone = 0, kConnected = 1, kAttention = 2 };
  CDeviceState() : MControlFont(L"CDeviceState") {}
  void SetState(int state);
  int GetState() const;

 private:
  int state_ = kNone;
};

// Battery level (percent, drawn clamped to 0..100) and state. A state other
// than 0 is drawn as charging; the value itself is kept as given. A level of
// 0 is drawn as no reading: the window shows (0, 2) while no battery value
// is known (no mouse, a receiver without its mouse).
class BatteryCtrl : public MControlFont {
 public:
  BatteryCtrl() : MControlFont(L"BatteryCtrl") {}
  void SetBatteryInfo(int level, int state);
  int GetBatteryLevel() const;
  int GetBatteryState() const;
  // Background, level and charging pictures.
  void SetImages(const std::wstring& background, const std::wstring& value,
                 const std::wstring& charge);

 private:
  int level_ = 0;
  int state_ = 0;
  std::wstring value_image_;
  std::wstring charge_image_;
};

}  // namespace PLKUI
