#pragma once
// Controls with a checked state: check boxes, switches, radio buttons, the
// report-rate buttons and the DPI stages. A control with a group name is a
// member of that named group in its dialog: checking it unchecks every other
// member of the group (of any class), so at most one member is checked.

#include <string>

#include "plkui/control.h"

namespace PLKUI {

class MCheckControl : public MControlFont {
 public:
  explicit MCheckControl(std::wstring class_name);

  // Checks (1) or unchecks (0); checking unchecks the rest of the group.
  void SetCheck(int check);
  int GetCheck() const;
  void SetGroupName(const std::wstring& group);
  std::wstring GetGroupName() const;

  // A click: members of a group become checked, others toggle. Reports 2.
  void PerformClick() override;

 private:
  int check_ = 0;
  std::wstring group_;
};

class CCheckButton : public MCheckControl {
 public:
  CCheckButton() : MCheckControl(L"CCheckButton") {}
};

class CRadioButton : public MCheckControl {
 public:
  CRadioButton() : MCheckControl(L"CRadioButton") {}
};

// An on/off switch; images for the off and on states.
class CSwitchButton : public MCheckControl {
 public:
  CSwitchButton() : MCheckControl(L"CSwitchButton") {}
  void SetImages(const std::wstring& off, const std::wstring& on);
  std::wstring GetOnImage() const;

 private:
  std::wstring on_image_;
};

// A caption button with a colour accent that stays pressed while checked.
class ColorButtonEx : public MCheckControl {
 public:
  ColorButtonEx() : MCheckControl(L"ColorButtonEx") {}
  // 0x00BBGGRR accent colour; 0 means the theme accent.
  void SetColor(uint32_t color);
  uint32_t GetColor() const;

 private:
  uint32_t color_ = 0;
};

// One DPI stage: caption, stage colour, DPI value shown in an editable box,
// checked while it is the active stage. Typing reports 26, finishing the edit 29.
class DPIControl : public MCheckControl {
 public:
  DPIControl() : MCheckControl(L"DPIControl") {}
  void SetCheckState(int check) { SetCheck(check); }
  int GetCheckState() const { return GetCheck(); }
  void SetColor(uint32_t color);  // 0x00BBGGRR
  uint32_t GetColor() const;
  void SetDPIValue(int dpi);
  int GetDPIValue() const;
  void SetEditEnabled(bool enabled);
  bool IsEditEnabled() const;

  // User input: the DPI text typed so far (digits only, read as _wtoi), and the end of editing.
  void PerformEditText(const std::wstring& text);
  void PerformEditFinished();

 private:
  uint32_t color_ = 0x0000FF;
  int dpi_ = 0;
  bool edit_enabled_ = true;
};

}  // namespace PLKUI
