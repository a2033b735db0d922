#include "ui/message_box.h"

#include "app/lang_text.h"
#include "base/clock.h"
#include "plkui/controls.h"

namespace tk410 {

using PLKUI::MRect;

namespace {
constexpr uint32_t kPopupStyle = 0x96000000u;
constexpr uint32_t kToolWindow = 0x80u;
constexpr int kBoxWidth = 430;
constexpr int kBoxHeight = 230;
}  // namespace

CUIMessageBox::CUIMessageBox(const LanguageTexts* texts, std::wstring title, std::wstring message,
                             int style)
    : texts_(texts), title_(std::move(title)), message_(std::move(message)), style_(style) {}

std::wstring CUIMessageBox::Text(int id) const { return texts_ ? texts_->GetLangText(id) : std::wstring(); }

intptr_t CUIMessageBox::OnInitDialog() {
  MDialog::OnInitDialog();
  SetTopMost(true);
  return 1;
}

void CUIMessageBox::InitUI() {
  SetLayered(true);
  if (auto* title = dynamic_cast<PLKUI::MText*>(
          CreateArea(L"MText", kTitle, MRect{16, 8, kBoxWidth - 16, 48}, title_))) {
    title->SetFontWidth(16);
    title->SetAlignment(PLKUI::kAlignCenter | PLKUI::kAlignVCenter);
  }
  if (auto* body = dynamic_cast<PLKUI::MText*>(
          CreateArea(L"MText", kMessage, MRect{24, 52, kBoxWidth - 24, 164}, message_))) {
    body->SetFontWidth(16);
    body->SetAlignment(PLKUI::kAlignCenter | PLKUI::kAlignVCenter);
  }
  const int top = 176, height = 36, width = 110;
  auto add_button = [&](int id, int left, int text_id) {
    if (auto* b = dynamic_cast<PLKUI::MButton*>(
            CreateControl(L"MButton", id, MRect{left, top, left + width, top + height}, Text(text_id)))) {
      b->SetImage(L"img_button.png");
      b->SetAlignment(PLKUI::kAlignCenter | PLKUI::kAlignVCenter);
    }
  };
  const int centre = kBoxWidth / 2;
  if (style_ == kBoxOneButton) {
    add_button(kLeftButton, centre - width / 2, 20);
  } else if (style_ == kBoxTwoButtons) {
    add_button(kLeftButton, centre - width - 10, 23);
    add_button(kRightButton, centre + 10, 25);
  }
}

intptr_t CUIMessageBox::OnMessage(int id, int code, intptr_t) {
  if (code != PLKUI::kNotifyClick) return 0;
  if (id == kLeftButton) DoOK();
  if (id == kRightButton) DoCancel();
  return 0;
}

int ShowUIMessageBox(PLKUI::MWindow* owner, const LanguageTexts* texts, const std::wstring& title,
                     const std::wstring& message, int style) {
  CUIMessageBox box(texts, title, message, style);
  box.SetBkImage(L"bk_prompt.png", 1, 30);
  box.Create(owner, L"MessageBox", kPopupStyle, kToolWindow, MRect{0, 0, kBoxWidth, kBoxHeight});
  box.CenterWindow();
  return box.ShowModal(1);
}

// ---------------------------------------------------------------- WaitDlg

WaitDlg::WaitDlg(Clock& clock, std::function<bool()> device_present, const LanguageTexts* texts)
    : clock_(clock), device_present_(std::move(device_present)), texts_(texts) {}

intptr_t WaitDlg::OnInitDialog() {
  MDialog::OnInitDialog();
  SetBkColor(0x333333, 0x333333);
  SetTopMost(true);
  shown_at_ = clock_.TickMs();
  SetMTimer(10);
  SetDragEnabled(true);
  return 1;
}

void WaitDlg::InitUI() {
  SetLayered(true);
  if (auto* gif = dynamic_cast<PLKUI::CGifPicture*>(
          CreateControl(L"CGifPicture", kAnimation, MRect{1, 1, 101, 101}, L""))) {
    gif->SetImage(L"loading.gif");
    gif->Play();
  }
  // The way out when the worker never answers; shown after kCancelAfterMs.
  if (auto* cancel = CreateControl(L"MButton", kCancel, MRect{11, 70, 91, 96},
                                   texts_ ? texts_->GetLangText(25) : std::wstring())) {
    cancel->SetVisible(false);
  }
}

intptr_t WaitDlg::OnMessage(int id, int code, intptr_t) {
  if (id == kCancel && code == PLKUI::kNotifyClick) DoCancel();
  return 0;
}

intptr_t WaitDlg::OnTimer(int) {
  if (PendingModalEnd()) return 0;
  if (device_present_ && !device_present_()) {
    DoCancel();  // the device left: nobody will end this dialog
    return 0;
  }
  if (clock_.TickMs() - shown_at_ >= kCancelAfterMs) {
    if (auto* cancel = GetControl(kCancel); cancel && !cancel->IsVisible()) cancel->SetVisible(true);
  }
  return 0;
}

}  // namespace tk410
