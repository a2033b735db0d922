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

constexpr int kTextExport = 114;      // "Export": the box's title
constexpr int kTextNotWritten = 940;  // "The file could not be written: %s"

}  // namespace

void ShowNotWritten(DeviceMainDlg& window, const std::wstring& path) {
  ShowUIMessageBox(&window, window.Services().texts, window.LangText(kTextExport),
                   FillLangText(window.LangText(kTextNotWritten), path), kBoxOneButton);
}

void ImportProfileFile(DeviceMainDlg& window, FileDialogs& dialogs) {
  const std::optional<int> task = ImportProfile(window.Db(), dialogs, window.current_profile.load(),
                                                window.current_device_type.load());
  if (task) window.Enqueue(*task);
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
  if (result.Added()) {
    if (auto* list = window.Control<PLKUI::MacroList>(ctl::kMacroList)) {
      list->AddString(result.name, result.macro_id, -1);
    }
  }
  return true;
}

}  // namespace tk410
