#pragma once
// CUIMessageBox: the notice and confirmation box of the program, and WaitDlg:
// the small animated box shown while the worker talks to the mouse.

#include <functional>
#include <string>

#include "plkui/dialog.h"

namespace tk410 {

class Clock;
class LanguageTexts;
struct MacroShortfall;

// Box styles.
constexpr int kBoxOneButton = 0;
constexpr int kBoxTwoButtons = 4;

class CUIMessageBox : public PLKUI::MDialog {
 public:
  static constexpr int kTitle = 31;
  static constexpr int kMessage = 32;
  static constexpr int kLeftButton = 33;
  static constexpr int kRightButton = 34;

  // `texts` gives the button captions (texts 20, 23, 25); may be null.
  CUIMessageBox(const LanguageTexts* texts, std::wstring title, std::wstring message, int style);

  intptr_t OnInitDialog() override;
  void InitUI() override;
  void UISize(const PLKUI::MRect&) override {}
  intptr_t OnMessage(int id, int code, intptr_t param) override;
  intptr_t OnDestroy() override { return 0; }

 private:
  std::wstring Text(int id) const;

  const LanguageTexts* texts_;
  std::wstring title_;
  std::wstring message_;
  int style_;
};

// Shows a box over `owner` modally and returns the result: 2 when the right
// button (or a cancel) ended it; callers asking a question treat 2 as a refusal.
int ShowUIMessageBox(PLKUI::MWindow* owner, const LanguageTexts* texts, const std::wstring& title,
                     const std::wstring& message, int style);

// The notice after a write: `written`, and when macros did not fit into the
// mouse a second line, `shortfall_text` with its first two "%d" replaced by
// the macros written and the macros in the database.
std::wstring WrittenNotice(const std::wstring& written, const std::wstring& shortfall_text,
                           const MacroShortfall& shortfall);

// The wait dialog. The worker ends it with DoOK. So that the window is never
// locked for good, the dialog also ends itself (with 2) when the device is
// gone, and after kCancelAfterMs offers a cancel button.
class WaitDlg : public PLKUI::MDialog {
 public:
  static constexpr int kAnimation = 30;
  static constexpr int kCancel = 31;
  static constexpr int kSize = 102;
  static constexpr uint64_t kCancelAfterMs = 10000;

  // `device_present` is asked on every timer tick; `texts` gives the cancel caption.
  WaitDlg(Clock& clock, std::function<bool()> device_present, const LanguageTexts* texts);

  intptr_t OnInitDialog() override;
  void InitUI() override;
  void UISize(const PLKUI::MRect&) override {}
  intptr_t OnMessage(int id, int code, intptr_t param) override;
  intptr_t OnTimer(int id) override;

 private:
  Clock& clock_;
  std::function<bool()> device_present_;
  const LanguageTexts* texts_;
  uint64_t shown_at_ = 0;
};

}  // namespace tk410
