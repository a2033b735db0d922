#include "assign/mouse_key_config_dlg.h"

#include "app/lang_text.h"
#include "assign/button_function.h"
#include "assign/emoji_table.h"
#include "assign/function_text.h"
#include "assign/key_tables.h"
#include "base/text.h"
#include "platform/raw_input_hub.h"
#include "plkui/controls.h"
#include "store/config_database.h"
#include "ui/message_box.h"

namespace tk410 {

namespace {

constexpr uint32_t kPopupStyle = 0x96000000u;
constexpr int kNotifyEditEntered = 30;
constexpr int kNotifyEditFinished = 29;
constexpr wchar_t kEmojiKindName[] = L"表情符号";
constexpr wchar_t kEmojiTitle[] = L"微信表情";
constexpr int kTextKeyboardKey = 160;
constexpr int kTextNoUsage = 970;  // the mouse cannot send this key

int KindTextId(int kind) {
  switch (kind) {
    case kKindKeyboard: return 160;
    case kKindMacro: return 161;
    case kKindMultimedia: return 163;
    case kKindShortcut: return 164;
    default: return 0;
  }
}

bool StoresAtOnce(int kind) {
  return (kind >= 1 && kind <= 3) || (kind >= 5 && kind <= 12) || (kind >= 15 && kind <= 21) ||
         kind == kKindZeroCode;
}

bool OpensDialog(int kind) {
  return kind == kKindKeyboard || kind == kKindMacro || kind == kKindMultimedia ||
         kind == kKindShortcut || kind == kKindEmoji;
}

bool IsSidedModifier(int vk) { return vk >= 160 && vk <= 165; }

}  // namespace

MouseKeyConfigDlg::MouseKeyConfigDlg(int key_code, int profile, int kind, KeyConfigServices services)
    : key_code_(key_code), profile_(profile), kind_(kind), services_(services) {}

MouseKeyConfigDlg::~MouseKeyConfigDlg() {
  capture_.reset();
  if (services_.raw_input) services_.raw_input->Unregister(static_cast<PLKUI::MWindow*>(this));
}

std::wstring MouseKeyConfigDlg::Text(int text_id) const {
  return services_.texts ? services_.texts->GetLangText(text_id) : std::wstring();
}

int MouseKeyConfigDlg::RunModal(PLKUI::MWindow* parent) {
  const bool emoji = kind_ == kKindEmoji;
  const PLKUI::MRect rect{0, 0, emoji ? kEmojiWidth : kWidth, emoji ? kEmojiHeight : kHeight};
  if (!Create(parent, L"MouseKeyConfigDlg", kPopupStyle, 0, rect)) return 2;
  CenterWindow();
  return ShowModal(1);
}

void MouseKeyConfigDlg::InitUI() {
  const PLKUI::MRect none{};
  if (auto* area = dynamic_cast<PLKUI::CArea*>(CreateArea(L"CArea", kTitleArea, none, L"")))
    area->SetTransparent(true);
  if (auto* title = dynamic_cast<PLKUI::MControlFont*>(CreateArea(L"MText", kTitle, none, Text(170)))) {
    title->SetAlignment(PLKUI::kAlignCenter | PLKUI::kAlignVCenter);
    title->SetFontWidth(18);
  }
  if (auto* close = CreateControl(L"CImageButton", kClose, none, L"")) {
    close->SetImage(L"sysbtn_close.png");
    close->SetTooltip(Text(5));
  }
  if (auto* kinds = CreateControl(L"MComboBox", kKindList, none, L"")) {
    kinds->SetImage(L"img_combobox.png");
    kinds->SetVisible(false);  // one item, never placed on screen
  }
  if (auto* params = CreateControl(L"MComboBox", kParamList, none, L"")) params->SetImage(L"img_combobox.png");
  if (auto* field = CreateControl(L"MEdit", kKeyField, none, L"")) field->SetImage(L"img_edit.png");
  const std::pair<int, const wchar_t*> boxes[] = {{kShift, L"Shift"}, {kCtrl, L"Ctrl"}, {kWin, L"Win"}, {kAlt, L"Alt"}};
  for (const auto& [id, caption] : boxes)
    if (auto* box = CreateControl(L"CCheckButton", id, none, caption)) box->SetImage(L"btn_checkbox.png");
  if (auto* picker = dynamic_cast<PLKUI::EmojiControl*>(CreateControl(L"EmojiControl", kEmoji, none, L""))) {
    for (int n = 1; n <= kEmojiCount; ++n) picker->AddEmoji(n, EmojiTip(n), EmojiPictureName(n));
  }
  if (auto* ok = CreateControl(L"MButton", kOk, none, Text(22))) ok->SetImage(L"img_button.png");
}

void MouseKeyConfigDlg::UISize(const PLKUI::MRect& client) {
  const int w = client.Width();
  const int h = client.Height();
  auto place = [this](int id, const PLKUI::MRect& r) {
    if (auto* c = GetControl(id)) c->SetRect(r);
  };
  place(kTitleArea, {1, 1, w - 1, 41});
  place(kTitle, {(w - 200) / 2, 5, (w - 200) / 2 + 200, 35});
  place(kClose, {w - 40, 10, w - 20, 30});
  place(kParamList, {30, 80, w - 30, 120});
  place(kKeyField, {30, 80, w - 30, 110});
  place(kShift, {30, 116, 180, 152});
  place(kCtrl, {180, 116, 330, 152});
  place(kWin, {30, 152, 180, 188});
  place(kAlt, {180, 152, 330, 188});
  place(kEmoji, {50, 50, 550, 600});
  place(kOk, {w - 130, h - 50, w - 30, h - 12});
}

intptr_t MouseKeyConfigDlg::OnInitDialog() {
  MDialog::OnInitDialog();
  if (auto* kinds = GetControlAs<PLKUI::MComboBox>(kKindList)) {
    kinds->DelAllItems();
    kinds->AddItem(kind_ == kKindEmoji ? std::wstring(kEmojiKindName) : Text(KindTextId(kind_)), kind_);
    kinds->SetCurSel(0);
  }
  ChangeKind();
  LoadAssignment();
  // Input methods are a Windows concern here: the key field takes raw input,
  // so on this platform nothing composes what is typed into it.
  return 1;
}

void MouseKeyConfigDlg::FillParameterList(int kind) {
  auto* params = GetControlAs<PLKUI::MComboBox>(kParamList);
  if (!params) return;
  params->DelAllItems();
  if (kind == kKindMacro) {
    RecordList<MacroRecord> macros;
    if (services_.db) services_.db->LoadMacros(macros);
    for (const auto& m : macros) params->AddItem(m->name, m->macro_id);
    if (params->GetItemCount() > 0) params->SetCurSel(0);
    return;
  }
  if (kind == kKindMultimedia) {
    for (const FunctionValueText& v : MultimediaValues())
      if (v.offered) params->AddItem(Text(v.text_id), v.value);
  } else {
    for (int value : ShortcutDialogOrder()) params->AddItem(Text(FunctionTextId(kKindShortcut, value)), value);
  }
  params->SetCurSel(0);
}

void MouseKeyConfigDlg::ChangeKind() {
  auto* kinds = GetControlAs<PLKUI::MComboBox>(kKindList);
  const int kind = kinds ? kinds->GetCurData() : kind_;
  auto show = [this](int id, bool visible) {
    if (auto* c = GetControl(id)) c->SetVisible(visible);
  };
  auto* title = GetControlAs<PLKUI::MControlFont>(kTitle);
  const bool keyboard = kind == kKindKeyboard;
  const bool list = kind == kKindMacro || kind == kKindMultimedia || kind == kKindShortcut;
  const bool emoji = kind == kKindEmoji;
  show(kEmoji, emoji);
  show(kParamList, list);
  show(kKeyField, keyboard);
  for (int id : {kShift, kCtrl, kWin, kAlt}) show(id, keyboard);
  if (title) title->SetTitle(emoji ? std::wstring(kEmojiTitle) : Text(KindTextId(kind)));
  if (keyboard) {
    if (auto* field = GetControlAs<PLKUI::MEdit>(kKeyField)) field->SetEditText(L"");
  }
  if (list) FillParameterList(kind);
}

void MouseKeyConfigDlg::LoadAssignment() {
  if (!services_.db) return;
  KeyMacroRecord row;
  if (!services_.db->GetKeyRecord(profile_, 0, key_code_, row) || row.macro_type != kind_) return;
  switch (kind_) {
    case kKindKeyboard: {
      // The key's stored name (what it typed on the user's layout), else the usage's.
      std::wstring shown = KeyTextOf(row.macro_desc, row.macro_value2);
      if (shown.empty()) shown = UsageName(row.macro_value);
      if (auto* field = GetControlAs<PLKUI::MEdit>(kKeyField)) field->SetEditText(shown);
      modifier_bits_ = row.macro_value2;
      key_text_ = row.macro_desc;
      key_code_value_ = row.macro_value;
      key_is_usage_ = true;
      const std::pair<int, int> boxes[] = {{kCtrl, kModCtrl}, {kShift, kModShift}, {kAlt, kModAlt}, {kWin, kModWin}};
      for (const auto& [id, bit] : boxes)
        if (auto* box = GetControlAs<PLKUI::MCheckControl>(id)) box->SetCheck((modifier_bits_ & bit) ? 1 : 0);
      break;
    }
    case kKindMacro:
    case kKindMultimedia:
    case kKindShortcut:
      if (auto* params = GetControlAs<PLKUI::MComboBox>(kParamList)) params->SelectData(row.macro_value);
      break;
    case kKindEmoji:
      // Pictures are numbered from 1; a row may hold any number.
      if (auto* picker = GetControlAs<PLKUI::EmojiControl>(kEmoji)) {
        picker->SetSelectItem(row.macro_value >= 1 ? row.macro_value - 1 : -1);
      }
      break;
    default:
      break;
  }
}

void MouseKeyConfigDlg::OnKeyField(int code) {
  if (code == kNotifyEditEntered) {
    auto* kinds = GetControlAs<PLKUI::MComboBox>(kKindList);
    if (!kinds || kinds->GetCurData() != kKindKeyboard) return;
    key_code_value_ = 0;
    key_is_usage_ = false;
    key_text_.clear();
    if (auto* field = GetControlAs<PLKUI::MEdit>(kKeyField)) field->SetEditText(L"");
    capture_ = std::make_unique<KeyCapture>(services_.raw_input);
    capture_->StartCapture(*this);
  } else if (code == kNotifyEditFinished) {
    capture_.reset();
  }
}

void MouseKeyConfigDlg::OnRawInput(intptr_t handle) {
  if (!capture_) return;
  CapturedInput input;
  capture_->DecodeRawInput(handle, input);
  if (input.kind != kCapturedKeyboard || input.text.empty() || IsSidedModifier(input.code)) return;
  if (VirtualKeyToUsage(input.code) == 0) {
    // The mouse could not send it: say so on the press, keep the key as it was.
    if (!input.released) ShowUIMessageBox(this, services_.texts, Text(kTextKeyboardKey), Text(kTextNoUsage), kBoxOneButton);
    return;
  }
  key_code_value_ = input.code;
  key_is_usage_ = false;
  key_text_ = input.text;
  if (auto* field = GetControlAs<PLKUI::MEdit>(kKeyField)) field->SetEditText(input.text);
}

intptr_t MouseKeyConfigDlg::OnWindowMessage(unsigned message, uintptr_t wparam, intptr_t lparam) {
  if (message == kMsgRawInput) OnRawInput(lparam);
  return MDialog::OnWindowMessage(message, wparam, lparam);
}

intptr_t MouseKeyConfigDlg::OnMessage(int id, int code, intptr_t param) {
  if (id == kKeyField) {
    OnKeyField(code);
    return 0;
  }
  if (code != PLKUI::kNotifyClick) return 0;
  switch (id) {
    case kClose: DoCancel(); break;
    case kKindList: ChangeKind(); break;
    case kOk: Confirm(); break;
    default: break;
  }
  return 0;
}

void MouseKeyConfigDlg::Confirm() {
  KeyMacroRecord row;
  auto* kinds = GetControlAs<PLKUI::MComboBox>(kKindList);
  row.macro_type = kinds ? kinds->GetCurData() : kind_;
  switch (row.macro_type) {
    case kKindKeyboard: {
      auto* field = GetControlAs<PLKUI::MEdit>(kKeyField);
      const std::wstring field_text = field ? field->GetEditText() : std::wstring();
      auto checked = [this](int id) {
        auto* box = GetControlAs<PLKUI::MCheckControl>(id);
        return box && box->GetCheck() != 0;
      };
      int bits = 0;
      if (checked(kShift)) bits += kModShift;
      if (checked(kCtrl)) bits += kModCtrl;
      if (checked(kWin)) bits += kModWin;
      if (checked(kAlt)) bits += kModAlt;
      // A loaded assignment confirmed without a new key keeps its stored usage.
      row.macro_value = key_is_usage_ ? key_code_value_ : VirtualKeyToUsage(key_code_value_);
      row.macro_value2 = bits;
      row.macro_desc = ModifierText(bits, field_text);
      break;
    }
    case kKindMacro:
    case kKindMultimedia:
    case kKindShortcut:
      if (auto* params = GetControlAs<PLKUI::MComboBox>(kParamList)) {
        row.macro_value = params->GetCurData();
        row.macro_desc = params->GetCurText();
      }
      break;
    case kKindEmoji:
      if (auto* picker = GetControlAs<PLKUI::EmojiControl>(kEmoji)) row.macro_value = picker->GetSelectData(row.macro_desc);
      break;
    default:
      break;
  }
  if (services_.texts) row.macro_desc = BuildFunctionText(row, *services_.texts);
  row.profile = profile_;
  row.key_code = key_code_;
  row.fn_layer = 0;
  if (services_.db) services_.db->SaveKeyRecord(row);
  capture_.reset();
  DoOK();
}

bool AssignFromKeyPage(PLKUI::MWindow& page_window, int key_code, int kind, int profile,
                       KeyConfigServices services) {
  if (StoresAtOnce(kind)) {
    KeyMacroRecord row;
    row.profile = profile;
    row.fn_layer = 0;
    row.key_code = key_code;
    row.macro_type = kind;
    row.macro_value = 1;
    if (services.texts) row.macro_desc = BuildFunctionText(row, *services.texts);
    else row.macro_desc = FormatInt(FunctionTextId(kind, 1));
    if (services.db) services.db->SaveKeyRecord(row);
    return true;
  }
  if (OpensDialog(kind)) {
    MouseKeyConfigDlg dialog(key_code, profile, kind, services);
    dialog.RunModal(&page_window);
    return true;
  }
  return false;
}

}  // namespace tk410
