#pragma once
// MEdit: a one-line edit whose text is the control's title. Entering the edit
// reports 30, each change of the typed text 26, leaving it 29. NumberEdit adds
// spin buttons within a range (a spin reports 2).

#include <string>

#include "plkui/control.h"

namespace PLKUI {

class MEdit : public MControlFont {
 public:
  MEdit() : MControlFont(L"MEdit") {}

  void SetEditText(const std::wstring& text) { SetTitle(text); }
  std::wstring GetEditText() const { return GetTitle(); }
  // Grey hint shown while the edit is empty.
  void SetTipInfo(const std::wstring& tip);
  std::wstring GetTipInfo() const;
  // Most characters the user may type; 0 for no limit.
  void SetLimitText(int limit);
  int GetLimitText() const;
  void SetNumberOnly(bool digits_only);
  bool IsNumberOnly() const;

  // User input. Typed text keeps only digits when digits-only is on and is
  // cut to the limit; the result becomes the text.
  void PerformEditEntered();
  void PerformEditText(const std::wstring& typed);
  void PerformEditFinished();
  // What typed text becomes under the current digits-only and limit rules.
  std::wstring FilterTyped(const std::wstring& typed) const;

 protected:
  explicit MEdit(std::wstring class_name) : MControlFont(std::move(class_name)) {}

 private:
  std::wstring tip_;
  int limit_ = 0;
  bool digits_only_ = false;
};

class NumberEdit : public MEdit {
 public:
  NumberEdit() : MEdit(L"NumberEdit") { SetNumberOnly(true); }
  void SetRange(int low, int high);
  int GetLow() const;
  int GetHigh() const;
  // A spin button: the number moves by `delta` within the range; reports 2.
  void PerformSpin(int delta);

 protected:
  explicit NumberEdit(std::wstring class_name) : MEdit(std::move(class_name)) {
    SetNumberOnly(true);
  }

 private:
  int low_ = 0;
  int high_ = 100;
};

class NumberEdit2 : public NumberEdit {
 public:
  NumberEdit2() : NumberEdit(L"NumberEdit2") {}
};

}  // namespace PLKUI
