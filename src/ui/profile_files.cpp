#include "ui/profile_files.h"

#include "app/lang_text.h"
#include "platform/file_dialogs.h"
#include "plkui/combo_box.h"
#include "plkui/macro_list.h"
#include "ui/control_ids.h"
#include "ui/device_main_dlg.h"
#include "ui/message_box.h"
#include "xml/macro_file.h"
#include "xml/profile_file.h"

namespace tk410 {

namespace {

constexpr int kTextImportRefusedTitle = 920;
// "... (key codes %s) ...": the buttons the file names that the mouse lacks.
constexpr int kTextForeignKeyCodes = 921;
constexpr int kTextImportNotStored = 922;
constexpr int kTextImport = 26;

// The language text that tells why a macro file was refused.
int MacroRefusalTextId(MacroRefusal refusal) {
  switch (refusal) {
    case MacroRefusal::kTooManyMacros: return 415;  // as the new-macro button says it
    case MacroRefusal::kTooManySteps: return 930;
    case MacroRefusal::kStepType: return 931;
    case MacroRefusal::kStepValue: return 932;
    case MacroRefusal::kPlayType:
    case MacroRefusal::kDelayType:
    case MacroRefusal::kNone: break;
  }
  return 933;
}

constexpr int kTextExport = 114;      // "Export": the box's title
constexpr int kTextNotWritten = 940;  // "The file could not be written: %s"

}  // namespace

void ShowNotWritten(DeviceMainDlg& window, const std::wstring& path) {
  ShowUIMessageBox(&window, window.Services().texts, window.LangText(kTextExport),
                   FillLangText(window.LangText(kTextNotWritten), path), kBoxOneButton);
}

void ImportProfileFile(DeviceMainDlg& window, FileDialogs& dialogs) {
  ProfileImportReport report;
  const std::optional<int> task = ImportProfile(window.Db(), dialogs, window.current_profile.load(),
                                                window.current_device_type.load(), &report);
  if (task) {
    window.Enqueue(*task);
    return;
  }
  // A cancelled dialog and a file that is no profile file end silently.
  if (report.status == ProfileImportStatus::kForeignKeyCodes) {
    const std::wstring text =
        FillLangText(window.LangText(kTextForeignKeyCodes), KeyCodeListText(report.foreign_key_codes));
    ShowUIMessageBox(&window, window.Services().texts, window.LangText(kTextImportRefusedTitle), text,
                     kBoxOneButton);
  } else if (report.status == ProfileImportStatus::kNotStored) {
    window.ShowMessageBox(kTextImportRefusedTitle, kTextImportNotStored, kBoxOneButton);
  }
}

void ExportProfileFile(DeviceMainDlg& window, FileDialogs& dialogs, int key_profile) {
  std::wstring name;
  if (auto* combo = window.Control<PLKUI::MComboBox>(ctl::kProfileCombo)) name = combo->GetCurText();
  std::wstring path;
  if (!ExportProfile(window.Db(), dialogs, key_profile, window.current_profile.load(), name, &path) &&
      !path.empty()) {
    ShowNotWritten(window, path);
  }
}

void OnProfileFileMessage(DeviceMainDlg& window, FileDialogs& dialogs, uintptr_t wparam,
                          intptr_t lparam) {
  if (wparam == 1) {
    ImportProfileFile(window, dialogs);
  } else if (wparam == 2) {
    ExportProfileFile(window, dialogs, static_cast<int>(lparam));
  }
}

bool ExportSelectedMacro(DeviceMainDlg& window, FileDialogs& dialogs) {
  auto* list = window.Control<PLKUI::MacroList>(ctl::kMacroList);
  if (!list) return false;
  const int selected = list->GetCurSel();
  if (selected < 0) return false;
  std::wstring path;
  if (ExportMacro(window.Db(), dialogs, window.GetClock(), list->GetItemData(selected),
                  list->GetItemText(selected), &path)) {
    return true;
  }
  if (!path.empty()) ShowNotWritten(window, path);
  return false;
}

bool ImportMacroToList(DeviceMainDlg& window, FileDialogs& dialogs) {
  const MacroImportResult result = ImportMacro(window.Db(), dialogs);
  if (!result.file_chosen) return false;
  if (result.Refused()) {
    window.ShowMessageBox(kTextImport, MacroRefusalTextId(result.limits.refusal), kBoxOneButton);
    return true;
  }
  if (result.Added()) {
    if (auto* list = window.Control<PLKUI::MacroList>(ctl::kMacroList)) {
      list->AddString(result.name, result.macro_id, -1);
    }
  }
  return true;
}

}  // namespace tk410
