// Page 2, button assignments: the profile choice, one function combo per
// mouse button, the response time, the mouse picture and the action buttons.

#include <algorithm>

#include "app/lang_text.h"
#include "assign/button_function.h"
#include "assign/function_text.h"
#include "assign/mouse_key_config_dlg.h"
#include "base/text.h"
#include "store/config_database.h"
#include "sync/sync_task.h"
#include "ui/page_builder.h"
#include "ui/page_handlers.h"
#include "ui/profile_files.h"

namespace tk410 {

namespace {

// Eight markers on the mouse picture: text 103 + " 1".." 7", text 80 + " 8".
void AddMouseMarkers(PageBuilder& b, PLKUI::MouseCtrl* mouse) {
  if (!mouse) return;
  for (int n = 1; n <= 7; ++n) mouse->AddItem(b.Lang(103) + L" " + FormatInt(n));
  mouse->AddItem(b.Lang(80) + L" 8");
  mouse->SetSelectItem(0);
}

}  // namespace

void BuildKeyPage(DeviceMainDlg& w, PLKUI::MTabLayout* layout) {
  PageBuilder b(w, layout);
  b.Card(Box(124, 76, 300, 652));
  b.Heading(ctl::kProfileHeading, Box(140, 88, 268, 24), 101);
  if (auto* profiles = b.Control<PLKUI::MComboBox>(L"MComboBox", ctl::kProfileCombo, Box(140, 116, 268, 34)))
    profiles->SetImage(L"img_combobox.png");

  // Eleven rows in key_code order; the rows of buttons the page does not
  // offer are built (their ids are fixed) but stay hidden. A row is numbered
  // as its button's marker on the mouse picture (1 to 8), not by key_code.
  int row = 0;
  for (int key_code = 1; key_code <= 11; ++key_code) {
    const int combo_id = ctl::KeyComboId(key_code);
    const ButtonInfo* button = FindPageButton(key_code);
    const bool offered = button != nullptr;
    const int top = 172 + row * 50;
    auto* label = b.Area<PLKUI::MText>(L"MText", combo_id - 1, Box(140, top, 28, 34),
                                       FormatInt(offered ? button->mouse_item + 1 : key_code));
    auto* combo = b.Control<PLKUI::MComboBox>(L"MComboBox", combo_id, Box(172, top, 236, 34));
    if (label) label->SetTextColor(theme::kMuted);
    if (!offered) {
      if (label) label->SetVisible(false);
      if (combo) combo->SetVisible(false);
      continue;
    }
    ++row;
  }

  b.Text(ctl::kResponseHeading, Box(140, 644, 180, 34), 111);
  if (auto* response = b.Control<PLKUI::NumberEdit>(L"NumberEdit", ctl::kResponseTime, Box(328, 644, 80, 34))) {
    response->SetRange(0, 20);
    response->SetLimitText(2);
    response->SetEditText(L"0");
  }

  b.Card(Box(436, 76, 420, 652));
  b.Area<PLKUI::MPicture>(L"MPicture", ctl::kMousePicture, Box(456, 96, 380, 612));
  AddMouseMarkers(b, b.Control<PLKUI::MouseCtrl>(L"MouseCtrl", ctl::kMouseCtrl, Box(456, 96, 380, 612)));

  b.Card(Box(868, 76, 225, 652));
  const int action_ids[] = {ctl::kWriteButton, ctl::kReadButton, ctl::kRestoreButton,
                            ctl::kImportProfile, ctl::kExportProfile};
  const int action_texts[] = {22, 21, 112, 113, 114};
  for (int i = 0; i < 5; ++i) b.Button(action_ids[i], Box(884, 100 + i * 58, 193, 42), action_texts[i]);
}

}  // namespace tk410

// ---------------------------------------------------------------- handlers

namespace tk410 {

namespace {

// A function chosen in a button's combo: stored at once, or through the
// assignment dialog for the kinds that need a parameter.
void StoreChosenFunction(DeviceMainDlg& w, int combo_id) {
  auto* combo = w.Control<PLKUI::MComboBox>(combo_id);
  const int key_code = ctl::KeyCodeOfCombo(combo_id);
  if (!combo || key_code == 0) return;
  w.selected_button.store(key_code);
  KeyConfigServices services;
  services.db = &w.Db();
  services.texts = w.Services().texts;
  services.raw_input = w.Services().raw_input;
  AssignFromKeyPage(w, key_code, combo->GetCurData(), w.current_profile.load(), services);
  // The page always shows what is stored (a cancelled dialog included).
  w.RefreshKeyPage();
}

void StoreResponseTime(DeviceMainDlg& w, int code) {
  auto* edit = w.Control<PLKUI::NumberEdit>(ctl::kResponseTime);
  if (!edit) return;
  std::wstring text = edit->GetEditText();
  if (code == PLKUI::kNotifyEditFinished) {
    int value = std::clamp(WToI(text), 0, 20);
    std::wstring clamped = FormatInt(value);
    if (clamped != text) edit->SetEditText(clamped);
    text = clamped;
  } else if (code != PLKUI::kNotifyClick) {
    return;
  }
  w.Db().SetConfigValue(w.current_profile.load(), L"button_respondtime", text);
}

}  // namespace

intptr_t OnKeyPageMessage(DeviceMainDlg& w, int id, int code) {
  switch (id) {
    case ctl::kProfileCombo:
      if (auto* combo = w.Control<PLKUI::MComboBox>(id)) SelectProfile(w, combo->GetCurData());
      return 0;
    case ctl::kResponseTime:
      StoreResponseTime(w, code);
      return 0;
    case ctl::kWriteButton:
      w.ShowWaitDialog(kTaskWriteAll);
      return 0;
    case ctl::kReadButton:
      w.ShowWaitDialog(kTaskReadAll);
      return 0;
    case ctl::kRestoreButton:
      RestoreProfileDefaults(w);
      return 0;
    case ctl::kImportProfile:
      if (FileDialogs* dialogs = w.GetFileDialogs()) ImportProfileFile(w, *dialogs);
      return 0;
    case ctl::kExportProfile:
      if (FileDialogs* dialogs = w.GetFileDialogs()) ExportProfileFile(w, *dialogs, w.current_profile.load());
      return 0;
    default:
      break;
  }
  if (ctl::KeyCodeOfCombo(id) != 0) StoreChosenFunction(w, id);
  return 0;
}

}  // namespace tk410
