// The main window's own behaviour: initialisation, routing of control
// notifications by id, custom window messages, the title-bar buttons, page
// switching, message boxes, the wait dialog and the exits.

#include "base/clock.h"
#include "base/text.h"
#include "device/product.h"
#include "store/config_database.h"
#include "sync/sync_task.h"
#include "ui/device_main_dlg.h"
#include "platform/raw_input.h"
#include "ui/macro_page.h"
#include "ui/message_box.h"
#include "ui/page_handlers.h"
#include "ui/background_presence.h"
#include "ui/profile_files.h"
#include "ui/profile_follower.h"
#include "ui/rules_dialog.h"
#include "ui/system_settings_page.h"

namespace tk410 {

namespace {

constexpr unsigned kMsgExit = 1691;
constexpr intptr_t kExitParam = 610;
constexpr unsigned kMsgMacroMenu = 1709;
constexpr unsigned kMsgInsertMenu = 1710;
constexpr unsigned kMsgStepMenu = 1711;
constexpr unsigned kMsgRefreshTexts = 2022;
constexpr uint32_t kPopupStyle = 0x96000000u;
constexpr uint32_t kToolWindow = 0x80u;
// "Only %d of %d macros fit ..." — the second line of the written notice.
constexpr int kTextMacrosNotWritten = 909;
// The notices after a write or a restore the mouse did not answer whole.
constexpr int kTextNotWrittenTitle = 950;
constexpr int kTextNotWritten = 951;
constexpr int kTextNotRestoredTitle = 952;
constexpr int kTextNotRestored = 953;

// Controls whose handlers see every code; all others are handled on code 2 only.
bool TakesEveryCode(int id) {
  switch (id) {
    case ctl::kTabs:
    case ctl::kResponseTime:
    case ctl::kDpiSlider:
    case ctl::kMacroList:
    case ctl::kStepList:
    case ctl::kDelayEdit:
    case ctl::kRepeatEdit:
    case ctl::kStepValue:
    case ctl::kMoveX:
    case ctl::kMoveY:
    case ctl::kPointerSpeed:
    case ctl::kWheelLines:
    case ctl::kWheelLinesSlider:
    case ctl::kDoubleClick:
    case ctl::kLanguage:
      return true;
    default:
      return id >= ctl::kFirstDpiStage && id <= ctl::kLastDpiStage;
  }
}

}  // namespace

std::wstring WrittenNotice(const std::wstring& written, const std::wstring& shortfall_text,
                           const MacroShortfall& shortfall) {
  if (!shortfall.Any()) return written;
  // The language file's text is not trusted as a format: only its first two
  // "%d" are replaced, in order.
  std::wstring line = shortfall_text;
  for (int value : {shortfall.written, shortfall.given}) {
    const size_t at = line.find(L"%d");
    if (at == std::wstring::npos) break;
    line.replace(at, 2, FormatInt(value));
  }
  return written + L"\n" + line;
}

intptr_t DeviceMainDlg::OnInitDialog() {
  MDialog::OnInitDialog();
  SetProp(kProductName, 1);
  SetIcon(107);
  StartUp();
  // The pointer values follow when the settings page is shown.
  FillProgramSettings(*this);
  Follower().RulesChanged();
  return 1;
}

// No timer is started for the window (StartUp); the entry point stays for
// timer messages, which need no work.
intptr_t DeviceMainDlg::OnTimer(int) { return 0; }

void DeviceMainDlg::OnShowStateChanged() {
  // The maximise button offers what a click does now.
  if (auto* button = GetControl(ctl::kMaximize))
    button->SetImage(IsZoomed() ? L"sysbtn_restore.png" : L"sysbtn_maximize.png");
}

void DeviceMainDlg::SelectTab(int item) {
  auto* tabs = Control<PLKUI::MTabCtrl>(ctl::kTabs);
  if (!tabs || tabs->GetSelectItem() == item || !tabs->SetSelectItem(item)) return;
  EnterPage(tabs->GetItemData(item));
}

void DeviceMainDlg::EnterPage(int page) {
  if (page <= 0) return;
  if (auto* background2 = GetControl(ctl::kBackground2)) {
    if (current_page.load() == 1) background2->SetVisible(true);
    if (page == 1) background2->SetVisible(false);
  }
  current_page.store(page);
  if (page == 6) FillSystemSettings(*this);
}

intptr_t DeviceMainDlg::OnMessage(int id, int code, intptr_t param) {
  if (!TakesEveryCode(id) && code != PLKUI::kNotifyClick) return 0;

  if (id == ctl::kTabs) {
    auto* tabs = Control<PLKUI::MTabCtrl>(ctl::kTabs);
    if (!tabs) return 0;
    EnterPage(tabs->GetItemData(static_cast<int>(param)));
    return 0;
  }

  switch (id) {
    case ctl::kClose:
      if (!CloseToBackground(*this)) EndProgram();
      return 0;
    case ctl::kMinimize:
      OnMinimize();
      return 0;
    case ctl::kMaximize:
      OnMaximize();
      OnShowStateChanged();
      return 0;
    case ctl::kLogoLink:
    case ctl::kDpiCount:
      return 0;
    default:
      break;
  }
  if (id == ctl::kProfileCombo || (id >= ctl::kFirstKeyCombo && id <= ctl::kExportProfile))
    return OnKeyPageMessage(*this, id, code);
  if (id == ctl::kDpiReset || (id >= ctl::kFirstDpiStage && id <= ctl::kGameOff))
    return OnPerformanceMessage(*this, id, code);
  if (id == ctl::kFactoryReset) return OnSettingsMessage(*this, id, code);
  if (id >= ctl::kMacroList && id <= ctl::kMoveY && id != ctl::kMacroImport && id != ctl::kMacroExport)
    return MacroEditor().OnMessage(id, code, param);
  if (id == ctl::kRulesButton) {
    ShowRulesDialog(*this);
    return 0;
  }
  if (IsSystemSettingsControl(id)) return OnSystemSettingsMessage(*this, id, code);
  if (FileDialogs* dialogs = GetFileDialogs()) {
    if (id == ctl::kMacroImport) ImportMacroToList(*this, *dialogs);
    if (id == ctl::kMacroExport) ExportSelectedMacro(*this, *dialogs);
  }
  return 0;
}

intptr_t DeviceMainDlg::OnWindowMessage(unsigned message, uintptr_t wparam, intptr_t lparam) {
  switch (message) {
    case kMsgDeviceChange:
      return HandleDeviceChangeMessage(wparam, lparam);
    case PLKUI::kWmClose:
      // With rules the program stays, so that profiles go on following.
      if (CloseToBackground(*this)) return 0;
      break;
    case kMsgWindowInFront:
      Follower().OnWindowInFront();
      return 0;
    case kMsgFollowState:
      Follower().OnStateChanged();
      return 0;
    case kMsgExit:
      if (lparam == kExitParam) EndProgram();
      return 0;
    case kMsgDeviceResult: {
      const bool answered = (lparam & kResultNotAnswered) == 0;
      if ((lparam & ~kResultNotAnswered) == kResultWritten) {
        ShowUIMessageBox(this, services_.texts, LangText(answered ? 115 : kTextNotWrittenTitle),
                         WrittenNotice(LangText(answered ? 210 : kTextNotWritten),
                                       LangText(kTextMacrosNotWritten), MacroShortfall::FromParam(wparam)),
                         kBoxOneButton);
      } else if (answered) {
        ShowMessageBox(112, 212, kBoxOneButton);
      } else {
        ShowMessageBox(kTextNotRestoredTitle, kTextNotRestored, kBoxOneButton);
      }
      return 0;
    }
    case kMsgRefreshTexts:
      // Texts of this window follow the language; the pages reload from the database.
      RefreshTexts();
      return 0;
    case kMsgProfileFile:
      if (FileDialogs* dialogs = GetFileDialogs()) OnProfileFileMessage(*this, *dialogs, wparam, lparam);
      return 0;
    case kMsgMacroMenu:
    case kMsgInsertMenu:
    case kMsgStepMenu:
      MacroEditor().OnMenu(message, static_cast<int>(lparam));
      return 0;
    case kMsgRawInput:
      // Raw input feeds the recorder and the step editor's key capture.
      MacroEditor().OnRawInput(lparam);
      return 0;
    default:
      break;
  }
  return MDialog::OnWindowMessage(message, wparam, lparam);
}

int DeviceMainDlg::ShowMessageBox(int title_id, int text_id, int style) {
  return ShowUIMessageBox(this, services_.texts, LangText(title_id), LangText(text_id), style);
}

int DeviceMainDlg::ShowWaitDialog(int task_kind) {
  // The dialog of an earlier operation goes first; the worker must not end it meanwhile.
  SetWaitDialog(nullptr);
  wait_holder_.reset();

  auto dialog = std::make_unique<WaitDlg>(GetClock(), [this] { return online.load(); }, services_.texts);
  const PLKUI::MRect owner = GetWindowRect();
  const int left = owner.left + (owner.Width() - WaitDlg::kSize) / 2;
  const int top = owner.top + (owner.Height() - WaitDlg::kSize) / 2;
  dialog->Create(this, L"WaitDlg", kPopupStyle, kToolWindow,
                 PLKUI::MRect{left, top, left + WaitDlg::kSize, top + WaitDlg::kSize});
  WaitDlg* shown = dialog.get();
  wait_holder_ = std::move(dialog);
  // Known to the worker before the task is queued, so its CloseWait cannot miss it.
  SetWaitDialog(shown);
  if (task_kind > 0) Enqueue(task_kind);
  const int result = shown->ShowModal(5);
  SetWaitDialog(nullptr);
  return result;
}

void DeviceMainDlg::EndProgram() {
  if (program_ended_.exchange(true)) return;
  Follower().Stop();
  // Worker first, so no write is cut half way; then the database.
  StopWorker();
  Db().Close();
  EndModal(0);
}

}  // namespace tk410
