// The macro page's step editing: the step editor and move editor of the
// selected step, step moves, the insert menu, deleting a step, and the key
// captured for a key step.

#include "assign/key_tables.h"
#include "base/clock.h"
#include "base/text.h"
#include "macro/macro_steps.h"
#include "plkui/controls.h"
#include "plkui/menu_wnd.h"
#include "ui/device_main_dlg.h"
#include "ui/macro_page.h"
#include "ui/macro_page_builder.h"
#include "ui/macro_page_controls.h"
#include "ui/message_box.h"

namespace tk410 {

namespace {

constexpr unsigned kMsgInsertMenu = 1710;
constexpr int kTextStepKey = 385;  // "Press a key"
constexpr int kTextNoUsage = 970;  // the mouse cannot send this key

// Kind combo data of the step editor.
constexpr int kKindButton = 1;
constexpr int kKindKey = 2;
constexpr int kKindDelay = 3;

// Insert menu and step menu items.
constexpr int kInsertKeyPair = 101;
constexpr int kInsertButtonPair = 102;
constexpr int kInsertDelay = 103;
constexpr int kInsertMove = 110;
constexpr int kMoveTop = 100;
constexpr int kMoveUp = 101;
constexpr int kMoveDown = 102;
constexpr int kMoveBottom = 103;

constexpr int T(MacroEventType type) { return static_cast<int>(type); }

void Show(DeviceMainDlg& w, int id, bool visible) {
  if (auto* c = w.GetControl(id)) c->SetVisible(visible);
}

int StepKindData(DeviceMainDlg& w) {
  auto* kind = w.Control<PLKUI::MComboBox>(ctl::kStepKind);
  return kind ? kind->GetCurData() : 0;
}

void SetCheck(DeviceMainDlg& w, int id, bool checked) {
  if (auto* c = w.Control<PLKUI::MCheckControl>(id)) c->SetCheck(checked ? 1 : 0);
}

}  // namespace

void MacroPage::ShowStep() {
  auto* steps = Steps();
  if (!steps) return;
  const int sel = steps->GetCurSel();
  std::wstring text;
  int type = 0, value = 0, timestamp = 0;
  if (sel < 0 || !steps->GetRecordInfo(sel, text, type, value, timestamp)) return;
  ShowStepEditor(w_, true, false);
  Show(w_, ctl::kStepButton, false);
  auto* edit = w_.Control<PLKUI::MEdit>(ctl::kStepValue);
  auto* kind = w_.Control<PLKUI::MComboBox>(ctl::kStepKind);
  if (edit) edit->SetEditText(L"");
  auto set_kind = [&](int text_id, int data) {
    if (!kind) return;
    kind->DelAllItems();
    kind->AddItem(w_.LangText(text_id), data);
    kind->SetCurSel(0);
  };
  auto number_value = [&] {
    if (!edit) return;
    edit->SetLimitText(5);
    edit->SetNumberOnly(true);
    edit->SetEditText(FormatInt(value));
  };
  switch (static_cast<MacroEventType>(type)) {
    case MacroEventType::Delay:
      set_kind(395, kKindDelay);
      number_value();
      break;
    case MacroEventType::KeyDown:
    case MacroEventType::KeyUp:
      set_kind(394, kKindKey);
      if (edit) {
        edit->SetNumberOnly(false);
        edit->SetLimitText(10);
        edit->SetTipInfo(w_.LangText(385));
        edit->SetEditText(text.size() > 2 ? text.substr(2) : std::wstring());
      }
      break;
    case MacroEventType::ButtonDown:
    case MacroEventType::ButtonUp:
      set_kind(393, kKindButton);
      Show(w_, ctl::kStepValue, false);
      Show(w_, ctl::kStepButton, true);
      break;
    case MacroEventType::MoveUp: set_kind(408, 8); number_value(); break;
    case MacroEventType::MoveDown: set_kind(409, 9); number_value(); break;
    case MacroEventType::MoveLeft: set_kind(406, 10); number_value(); break;
    case MacroEventType::MoveRight: set_kind(407, 11); number_value(); break;
    case MacroEventType::MoveXY: {
      ShowStepEditor(w_, false, true);
      const MoveXYValue move = UnpackMoveXY(value);
      SetCheck(w_, move.left ? ctl::kMoveLeft : ctl::kMoveRight, true);
      SetCheck(w_, move.up ? ctl::kMoveUp : ctl::kMoveDown, true);
      if (auto* x = w_.Control<PLKUI::MEdit>(ctl::kMoveX)) x->SetEditText(FormatInt(move.horizontal));
      if (auto* y = w_.Control<PLKUI::MEdit>(ctl::kMoveY)) y->SetEditText(FormatInt(move.vertical));
      break;
    }
    default:
      break;
  }
}

void MacroPage::ChangeStepKind() {
  auto* edit = w_.Control<PLKUI::MEdit>(ctl::kStepValue);
  Show(w_, ctl::kStepValue, true);
  Show(w_, ctl::kStepButton, false);
  if (edit) edit->SetEditText(L"");
  switch (StepKindData(w_)) {
    case kKindDelay:
      if (edit) {
        edit->SetLimitText(5);
        edit->SetNumberOnly(true);
        edit->SetEditText(FormatInt(kDefaultFixedDelayMs));
      }
      break;
    case kKindKey:
      if (edit) {
        edit->SetLimitText(10);
        edit->SetNumberOnly(false);
        edit->SetTipInfo(w_.LangText(385));
      }
      break;
    case kKindButton:
      Show(w_, ctl::kStepValue, false);
      Show(w_, ctl::kStepButton, true);
      break;
    default:
      break;
  }
}

void MacroPage::CaptureStepKey(const CapturedInput& input) {
  if (input.kind != kCapturedKeyboard) return;
  if (VirtualKeyToUsage(input.code) == 0) {
    // The mouse could not send it: say so on the press, keep the key as it was.
    if (!input.released) w_.ShowMessageBox(kTextStepKey, kTextNoUsage, kBoxOneButton);
    return;
  }
  captured_code_ = input.code;
  captured_name_ = input.text;
  if (auto* edit = w_.Control<PLKUI::MEdit>(ctl::kStepValue)) edit->SetEditText(input.text);
}

void MacroPage::OnStepValue(int code) {
  const int kind = StepKindData(w_);
  auto* edit = w_.Control<PLKUI::MEdit>(ctl::kStepValue);
  auto* steps = Steps();
  if (code == PLKUI::kNotifyEditEntered && kind == kKindKey) {
    captured_code_ = 0;
    captured_name_.clear();
    capture_mode_ = kCaptureStepKey;
    if (edit) edit->SetEditText(L"");
    capture_.reset();
    capture_ = std::make_unique<KeyCapture>(w_.Services().raw_input);
    capture_->StartCapture(w_);
    return;
  }
  if (code != PLKUI::kNotifyEditFinished) return;
  if (kind == kKindKey) {
    capture_.reset();
    capture_mode_ = kCaptureNone;
    const int sel = steps ? steps->GetCurSel() : -1;
    if (sel < 0) return;
    const int timestamp = steps->GetRecrodTimeStamp(sel);
    steps->SetRecordInfo(timestamp, T(MacroEventType::KeyDown), PressStepText(true, captured_name_), captured_code_);
    steps->SetRecordInfo(timestamp, T(MacroEventType::KeyUp), PressStepText(false, captured_name_), captured_code_);
    SaveSteps();
  } else if (kind == kKindDelay) {
    if (!edit) return;
    const int delay = ClampEditNumber(w_, ctl::kStepValue, ClampStepDelay);
    const int sel = steps ? steps->GetCurSel() : -1;
    std::wstring text;
    int type = 0, value = 0, timestamp = 0;
    if (sel < 0 || !steps->GetRecordInfo(sel, text, type, value, timestamp)) return;
    steps->SetRecordInfo(sel, DelayStepText(delay), type, delay, timestamp);
    SaveSteps();
  }
}

void MacroPage::ApplyStepButton() {
  auto* combo = w_.Control<PLKUI::MComboBox>(ctl::kStepButton);
  auto* steps = Steps();
  if (!combo || !steps) return;
  const StepButton button = StepButtonOf(combo->GetCurData());
  const int sel = steps->GetCurSel();
  if (sel < 0) return;
  const int timestamp = steps->GetRecrodTimeStamp(sel);
  const std::wstring name = button.name;
  const int down = T(MacroEventType::ButtonDown);
  const int up = T(MacroEventType::ButtonUp);
  if (name == kScrollUpWord || name == kScrollDownWord) {
    // A wheel step: both halves carry the same arrow, value 1 on the down half and 2 on the up half.
    const bool wheel_up = name == kScrollUpWord;
    steps->SetRecordInfo(timestamp, down, PressStepText(!wheel_up, name), 1);
    steps->SetRecordInfo(timestamp, up, PressStepText(!wheel_up, name), 2);
  } else {
    steps->SetRecordInfo(timestamp, down, PressStepText(true, name), button.mask);
    steps->SetRecordInfo(timestamp, up, PressStepText(false, name), button.mask);
  }
  SaveSteps();
}

void MacroPage::ApplyMove(int horizontal_limit) {
  MoveXYValue move;
  move.horizontal = ClampEditNumber(w_, ctl::kMoveX, [horizontal_limit](int v) { return ClampMoveDistance(v, horizontal_limit); });
  move.vertical = ClampEditNumber(w_, ctl::kMoveY, [](int v) { return ClampMoveDistance(v, kMaxMoveDistance); });
  move.left = IsChecked(w_, ctl::kMoveLeft);
  move.up = IsChecked(w_, ctl::kMoveUp);
  auto* steps = Steps();
  const int sel = steps ? steps->GetCurSel() : -1;
  std::wstring text;
  int type = 0, value = 0, timestamp = 0;
  if (sel < 0 || !steps->GetRecordInfo(sel, text, type, value, timestamp)) return;
  steps->SetRecordInfo(sel, MoveXYEditText(move), type, PackMoveXY(move), timestamp);
  SaveSteps();
}

void MacroPage::MoveStep(int item) {
  auto* steps = Steps();
  if (!steps) return;
  const int sel = steps->GetCurSel();
  bool moved = false;
  switch (item) {
    case kMoveTop:
      moved = sel > 0 && steps->MoveTop(sel);
      break;
    case kMoveUp:
      moved = sel > 0 && steps->SwapItem(sel, sel - 1);
      if (moved) steps->SetCurSel(sel - 1);
      break;
    case kMoveDown:
      moved = sel >= 0 && steps->SwapItem(sel, sel + 1);
      if (moved) steps->SetCurSel(sel + 1);
      break;
    case kMoveBottom:
      moved = sel >= 0 && steps->MoveBottom(sel);
      break;
    default:
      return;
  }
  if (!moved) return;
  steps->UpdateControl(1, 0);
  SaveSteps();
}

void MacroPage::OpenInsertMenu() {
  auto* steps = Steps();
  if (!steps) return;
  if (steps->GetItemCount() >= kStepLimit) {
    w_.ShowMessageBox(368, 386, kBoxOneButton);
    return;
  }
  PLKUI::MRect r;
  if (auto* button = w_.GetControl(ctl::kStepInsert)) r = button->GetRect();
  const PLKUI::MRect window = w_.GetWindowRect();
  auto* menu = new PLKUI::MenuWnd(&w_);
  menu->Create(&w_, PLKUI::MPoint{window.left + r.left, window.top + r.top - 115}, kMsgInsertMenu, 170);
  const std::pair<int, int> items[] = {{396, kInsertButtonPair}, {397, kInsertKeyPair},
                                       {398, kInsertDelay}, {410, kInsertMove}};
  for (const auto& [text_id, id] : items) menu->AddMenu(w_.LangText(text_id), id, L"", 0, -1);
  menu->ShowWindow(1);
}

void MacroPage::InsertStep(int item) {
  auto* steps = Steps();
  if (!steps) return;
  // The menu was opened under the limit; a pair must not take the list past it either.
  const int needed = (item == kInsertKeyPair || item == kInsertButtonPair) ? 2 : 1;
  if (steps->GetItemCount() + needed > kStepLimit) {
    w_.ShowMessageBox(368, 386, kBoxOneButton);
    return;
  }
  const int timestamp = FreeTimestamp(static_cast<int>(static_cast<uint32_t>(w_.GetClock().TickMs())));
  const int s = steps->GetCurSel();
  const int after = s < 0 ? -1 : s + 1;
  const int after2 = s < 0 ? -1 : s + 2;
  switch (item) {
    case kInsertKeyPair:
      steps->InsertString(after, PressStepText(true, L"A"), T(MacroEventType::KeyDown), 65, timestamp);
      steps->InsertString(after2, PressStepText(false, L"A"), T(MacroEventType::KeyUp), 65, timestamp);
      break;
    case kInsertButtonPair:
      steps->InsertString(after, PressStepText(true, L"LB"), T(MacroEventType::ButtonDown), 1, timestamp);
      steps->InsertString(after2, PressStepText(false, L"LB"), T(MacroEventType::ButtonUp), 1, timestamp);
      break;
    case kInsertDelay:
      steps->InsertString(s, DelayStepText(10), T(MacroEventType::Delay), 10, timestamp);
      break;
    case kInsertMove:
      steps->InsertString(s, MoveXYInsertText(1, 1), T(MacroEventType::MoveXY), 257, timestamp);
      break;
    default:
      return;
  }
  SaveSteps();
}

void MacroPage::DeleteStep() {
  auto* steps = Steps();
  if (!steps) return;
  const int sel = steps->GetCurSel();
  if (sel < 0) return;
  steps->DeleteTimeStamp(steps->GetRecrodTimeStamp(sel));
  SaveSteps();
}

}  // namespace tk410
