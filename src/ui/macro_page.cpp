// The macro page: dispatch of its notifications and menus, the macro list
// operations and the play and delay settings.

#include "ui/macro_page.h"

#include "app/lang_text.h"
#include "assign/function_text.h"
#include "base/text.h"
#include "macro/macro_model.h"
#include "macro/macro_steps.h"
#include "platform/raw_input_hub.h"
#include "plkui/controls.h"
#include "plkui/menu_wnd.h"
#include "plkui/runtime.h"
#include "store/config_database.h"
#include "ui/device_main_dlg.h"
#include "ui/macro_page_builder.h"
#include "ui/macro_page_controls.h"
#include "ui/message_box.h"

namespace tk410 {

namespace {

constexpr unsigned kMsgMacroMenu = 1709;
constexpr unsigned kMsgInsertMenu = 1710;
constexpr unsigned kMsgStepMenu = 1711;
constexpr int kMenuCopy = 101;
constexpr int kMenuDelete = 102;

void Enable(DeviceMainDlg& w, int id, bool enabled) {
  if (auto* c = w.GetControl(id)) c->SetEnabled(enabled);
}

// The number in a setting edit; an empty edit gets `fallback` written into it.
int EditNumberOr(DeviceMainDlg& w, int id, int fallback) {
  auto* edit = w.Control<PLKUI::MEdit>(id);
  if (!edit) return fallback;
  const std::wstring text = edit->GetEditText();
  if (text.empty()) {
    edit->SetEditText(FormatInt(fallback));
    return fallback;
  }
  return WToI(text);
}

}  // namespace

MacroPage& DeviceMainDlg::MacroEditor() {
  std::call_once(macro_page_once_, [this] { macro_page_ = std::make_shared<MacroPage>(*this); });
  return *macro_page_;
}

MacroPage::MacroPage(DeviceMainDlg& window) : w_(window) {}

MacroPage::~MacroPage() {
  capture_.reset();
  if (RawInputHub* hub = w_.Services().raw_input) hub->Unregister(static_cast<PLKUI::MWindow*>(&w_));
}

std::unique_lock<std::mutex> MacroPage::HoldRefresh(bool& deferred) {
  std::unique_lock<std::mutex> lock(refresh_mutex_);
  deferred = recording_.load();
  if (deferred) refresh_deferred_.store(true);
  return lock;
}

PLKUI::MacroList* MacroPage::Macros() const { return w_.Control<PLKUI::MacroList>(ctl::kMacroList); }
PLKUI::CRecordList* MacroPage::Steps() const { return w_.Control<PLKUI::CRecordList>(ctl::kStepList); }

int MacroPage::SelectedMacroId() const {
  auto* list = Macros();
  if (!list) return 0;
  const int sel = list->GetCurSel();
  return sel < 0 ? 0 : list->GetItemData(sel);
}

int MacroPage::StepCount() const {
  auto* steps = Steps();
  if (!steps) return 0;
  return w_.IsNordicFamily() ? steps->GetEventCount() : steps->GetItemCount();
}

int MacroPage::FreeTimestamp(int candidate) const {
  // A timestamp pairs the halves of a step pair, and deleting a step deletes
  // every item of its timestamp: a new step must not share one by chance.
  auto* steps = Steps();
  if (!steps) return candidate;
  const auto items = steps->GetRecordItems();
  for (bool taken = true; taken; ) {
    taken = false;
    for (const auto& item : items) {
      if (item.timestamp == candidate) {
        ++candidate;
        taken = true;
        break;
      }
    }
  }
  return candidate;
}

PLKUI::MPoint MacroPage::CursorOver(int control_id) const {
  if (cursor_) return cursor_();
  if (std::optional<PLKUI::MPoint> pointer = w_.GetRuntime().CursorPos()) return *pointer;
  // No pointer to ask: the middle of the control, on the screen.
  const PLKUI::MRect window = w_.GetWindowRect();
  PLKUI::MRect r;
  if (auto* c = w_.GetControl(control_id)) r = c->GetRect();
  return PLKUI::MPoint{window.left + (r.left + r.right) / 2, window.top + (r.top + r.bottom) / 2};
}

intptr_t MacroPage::OnMessage(int id, int code, intptr_t param) {
  const bool click = code == PLKUI::kNotifyClick;
  switch (id) {
    case ctl::kMacroList:
      if (click) ShowSelectedMacro();
      else if (code == PLKUI::kNotifyRightClick) {
        auto* menu = new PLKUI::MenuWnd(&w_);
        PLKUI::MPoint at = CursorOver(id);
        menu->Create(&w_, PLKUI::MPoint{at.x + 2, at.y + 2}, kMsgMacroMenu, 80);
        menu->AddMenu(w_.LangText(405), kMenuCopy, L"", 0, -1);
        menu->AddMenu(w_.LangText(30), kMenuDelete, L"", 0, -1);
        menu->ShowWindow(1);
      } else if (code == PLKUI::kNotifyEditFinished) {
        RenameMacro();
      }
      return 0;
    case ctl::kMacroNew:
      if (click) NewMacro();
      return 0;
    case ctl::kStepList:
      if (click) ShowStep();
      else if (code == PLKUI::kNotifyRightClick) {
        auto* menu = new PLKUI::MenuWnd(&w_);
        PLKUI::MPoint at = CursorOver(id);
        menu->Create(&w_, PLKUI::MPoint{at.x - 125, at.y + 2}, kMsgStepMenu, 120);
        for (int i = 0; i < 4; ++i) menu->AddMenu(w_.LangText(400 + i), 100 + i, L"", 0, -1);
        menu->ShowWindow(1);
      }
      return 0;
    case ctl::kStepInsert:
      if (click) OpenInsertMenu();
      return 0;
    case ctl::kStepDelete:
      if (click) DeleteStep();
      return 0;
    case ctl::kRecord:
      if (click) ToggleRecording();
      return 0;
    case ctl::kDelayNone:
    case ctl::kDelayRecorded:
    case ctl::kDelayFixed:
      if (!click) return 0;
      Enable(w_, ctl::kDelayEdit, id == ctl::kDelayFixed);
      SaveSettings();
      return 0;
    case ctl::kDelayEdit:
      if (code == PLKUI::kNotifyEditFinished) ClampDelayEdit();
      return 0;
    case ctl::kPlayMode1:
    case ctl::kPlayMode2:
    case ctl::kPlayRepeat:
      if (!click) return 0;
      Enable(w_, ctl::kRepeatEdit, id == ctl::kPlayRepeat);
      SaveSettings();
      return 0;
    case ctl::kRepeatEdit:
      if (code == PLKUI::kNotifyEditFinished) ClampRepeatEdit();
      return 0;
    case ctl::kStepKind:
      if (click) ChangeStepKind();
      return 0;
    case ctl::kStepValue:
      OnStepValue(code);
      return 0;
    case ctl::kStepButton:
      if (click) ApplyStepButton();
      return 0;
    case ctl::kStepUp:
      if (click) MoveStep(101);
      return 0;
    case ctl::kStepDown:
      if (click) MoveStep(102);
      return 0;
    case ctl::kMoveLeft:
    case ctl::kMoveRight:
    case ctl::kMoveUp:
    case ctl::kMoveDown:
      if (click) ApplyMove(kMaxMoveDistanceWide);
      return 0;
    case ctl::kMoveX:
    case ctl::kMoveY:
      if (code == PLKUI::kNotifyEditFinished) ApplyMove(kMaxMoveDistance);
      return 0;
    default:
      return 0;
  }
}

void MacroPage::OnMenu(unsigned message, int item) {
  if (message == kMsgMacroMenu) {
    if (item == kMenuCopy) CopyMacro();
    if (item == kMenuDelete) DeleteMacro();
  } else if (message == kMsgInsertMenu) {
    InsertStep(item);
  } else if (message == kMsgStepMenu) {
    MoveStep(item);
  }
}

void MacroPage::ShowSelectedMacro() {
  const int id = SelectedMacroId();
  if (id > 0) ShowMacro(w_, id);
}

void MacroPage::NewMacro() {
  auto* list = Macros();
  if (!list) return;
  if (list->GetItemCount() >= kMaxMacros) {
    w_.ShowMessageBox(353, 415, kBoxOneButton);
    return;
  }
  if (!w_.Services().texts) return;
  const MacroAddResult added = CreateMacro(w_.Db(), *w_.Services().texts);
  if (added.status != MacroChange::Done) return;
  const int index = list->AddString(added.name, added.macro_id, -1);
  list->SetCurSel(index);
  ShowMacro(w_, added.macro_id);
}

void MacroPage::CopyMacro() {
  auto* list = Macros();
  if (!list) return;
  if (list->GetItemCount() >= kMaxMacros) {
    w_.ShowMessageBox(31, 415, kBoxOneButton);
    return;
  }
  const int source = SelectedMacroId();
  if (source <= 0 || !w_.Services().texts) return;
  const MacroAddResult copy = tk410::CopyMacro(w_.Db(), *w_.Services().texts, source);
  if (copy.status == MacroChange::Done) list->AddString(copy.name, copy.macro_id, -1);
}

void MacroPage::DeleteMacro() {
  auto* list = Macros();
  if (!list) return;
  const int sel = list->GetCurSel();
  const int id = SelectedMacroId();
  if (sel < 0 || id <= 0) return;
  if (RemoveMacro(w_.Db(), id) != MacroChange::Done) return;
  list->DeleteItem(sel);
  list->SetCurSel(sel - 1);
  if (auto* steps = Steps()) steps->DeleteAllItems();
}

void MacroPage::RenameMacro() {
  auto* list = Macros();
  if (!list) return;
  const int sel = list->GetCurSel();
  const int id = SelectedMacroId();
  if (sel < 0 || id <= 0) return;
  const std::wstring name = list->GetItemText(sel);
  if (name.empty()) {
    MacroRecord stored;
    if (!w_.Db().GetMacro(id, stored)) return;
    const LanguageTexts* texts = w_.Services().texts;
    list->ModifyItemString(sel, texts ? TranslateMacroName(stored.name, *texts) : stored.name);
    return;
  }
  RenameMacroAndButtons(w_.Db(), w_.current_profile.load(), id, name);
}

void MacroPage::SaveSteps() {
  const int id = SelectedMacroId();
  auto* steps = Steps();
  if (id <= 0 || !steps) return;
  w_.Db().DeleteMacroEvents(id);
  const auto items = steps->GetRecordItems();
  if (items.empty()) return;
  std::vector<MacroEvent> events;
  events.reserve(items.size());
  for (size_t i = 0; i < items.size(); ++i) {
    MacroEvent e;
    e.macro_id = id;
    e.record_index = static_cast<int>(i);
    e.type = items[i].type;
    e.value = items[i].value;
    e.desc = items[i].text;
    e.delay_time = items[i].timestamp;
    events.push_back(std::move(e));
  }
  w_.Db().AddMacroEvents(events);
}

void MacroPage::SaveSettings() {
  const int id = SelectedMacroId();
  if (id <= 0) return;
  MacroRecord macro;
  if (!w_.Db().GetMacro(id, macro)) return;
  macro.delay_time = 0;
  if (IsChecked(w_, ctl::kDelayNone)) {
    macro.delay_type = kDelayNone;
  } else if (IsChecked(w_, ctl::kDelayFixed)) {
    macro.delay_type = kDelayFixed;
    macro.delay_time = EditNumberOr(w_, ctl::kDelayEdit, kDefaultFixedDelayMs);
  } else {
    macro.delay_type = kDelayRecorded;
  }
  macro.play_times = 1;
  if (IsChecked(w_, ctl::kPlayMode1)) {
    macro.play_type = kPlayMode1;
  } else if (IsChecked(w_, ctl::kPlayMode2)) {
    macro.play_type = kPlayMode2;
  } else {
    macro.play_type = kPlayRepeat;
    macro.play_times = EditNumberOr(w_, ctl::kRepeatEdit, kMinPlayTimes);
  }
  w_.Db().UpdateMacro(id, macro);
}

bool IsChecked(DeviceMainDlg& w, int id) {
  auto* c = w.Control<PLKUI::MCheckControl>(id);
  return c && c->GetCheck() != 0;
}

int ClampEditNumber(DeviceMainDlg& w, int id, const std::function<int(int)>& clamp, bool tooltip) {
  auto* edit = w.Control<PLKUI::MEdit>(id);
  if (!edit) return 0;
  const std::wstring typed = edit->GetEditText();
  const int value = clamp(WToI(typed));
  const std::wstring shown = FormatInt(value);
  if (shown != typed) {
    edit->SetEditText(shown);
    if (tooltip) edit->SetTooltip(shown);
  }
  return value;
}

void MacroPage::ClampDelayEdit() {
  ClampEditNumber(w_, ctl::kDelayEdit, ClampFixedDelay, true);
  SaveSettings();
}

void MacroPage::ClampRepeatEdit() {
  ClampEditNumber(w_, ctl::kRepeatEdit, ClampPlayTimes);
  SaveSettings();
}

}  // namespace tk410
