#pragma once
// MouseKeyConfigDlg: the modal dialog that asks for the parameter of a
// button function — a key combination (kind 22), a macro (23), a multimedia
// key (25), a system shortcut (26) or an emoji (27) — shows the button's
// current assignment of that kind, and stores the new assignment when the
// user confirms. Cancelling stores nothing.
//
// A key is captured from raw input while the key field is being edited;
// modifier keys never become the key (the check boxes give the modifiers).
// Confirming a loaded keyboard assignment without capturing a new key keeps
// the stored key.

#include <memory>
#include <string>

#include "assign/key_capture.h"
#include "plkui/dialog.h"

namespace tk410 {

class ConfigDatabase;
class LanguageTexts;
class RawInputHub;

struct KeyConfigServices {
  ConfigDatabase* db = nullptr;
  const LanguageTexts* texts = nullptr;  // null: empty texts
  RawInputHub* raw_input = nullptr;      // null: no key capture
};

class MouseKeyConfigDlg : public PLKUI::MDialog {
 public:
  // Control ids.
  enum : int {
    kTitleArea = 30,
    kTitle = 31,
    kClose = 32,
    kKindList = 33,
    kParamList = 34,
    kKeyField = 35,
    kShift = 36,
    kCtrl = 37,
    kWin = 38,
    kAlt = 39,
    kEmoji = 40,
    kOk = 41,
  };
  static constexpr int kWidth = 400;
  static constexpr int kHeight = 260;
  static constexpr int kEmojiWidth = 600;
  static constexpr int kEmojiHeight = 650;

  MouseKeyConfigDlg(int key_code, int profile, int kind, KeyConfigServices services);
  ~MouseKeyConfigDlg() override;

  // Creates the window centred over `parent` and runs it modally; returns
  // the modal result (1 OK, 2 cancelled).
  int RunModal(PLKUI::MWindow* parent);

  intptr_t OnWindowMessage(unsigned message, uintptr_t wparam, intptr_t lparam) override;
  intptr_t OnInitDialog() override;
  void InitUI() override;
  void UISize(const PLKUI::MRect& client) override;
  intptr_t OnMessage(int id, int code, intptr_t param) override;

  int KeyCode() const { return key_code_value_; }
  bool Capturing() const { return capture_ != nullptr; }

 private:
  std::wstring Text(int text_id) const;
  void ChangeKind();
  void FillParameterList(int kind);
  void LoadAssignment();
  void OnKeyField(int code);
  void OnRawInput(intptr_t handle);
  void Confirm();

  const int key_code_;
  const int profile_;
  const int kind_;
  KeyConfigServices services_;
  int modifier_bits_ = 0;
  int key_code_value_ = 0;     // virtual-key code once captured, else the stored usage
  bool key_is_usage_ = false;  // the key code still holds a loaded assignment's usage
  std::wstring key_text_;
  std::unique_ptr<KeyCapture> capture_;
};

// The buttons page's choice: function `kind` was chosen for button
// `key_code`. Kinds without a parameter are stored at once, kinds 22, 23, 25,
// 26, 27 open the dialog over `page_window`, other kinds store nothing.
// Returns true when the page must show the stored state again (every case
// but the last; a cancelled dialog included).
bool AssignFromKeyPage(PLKUI::MWindow& page_window, int key_code, int kind, int profile,
                       KeyConfigServices services);

}  // namespace tk410
