// The buttons page's function choice and the assignment dialog, run through
// the headless runtime with scripted raw key events, over a real database.

#include <limits>

#include "assign/button_function.h"
#include "assign/emoji_table.h"
#include "assign/mouse_key_config_dlg.h"
#include "plkui/emoji_control.h"
#include "ui/pages_fixture.h"

namespace tk410 {
namespace {

using Dlg = MouseKeyConfigDlg;

class KeyDialogTest : public WindowTest {
 protected:
  // Chooses `kind` in the function combo of button `key_code`; `act` runs
  // inside the dialog when one opens.
  void Choose(int key_code, int kind, std::function<void(Dlg&)> act = {}) {
    if (act) {
      runtime.AnswerNextModalByEnd([this, act](PLKUI::MWindow& w) {
        auto* dialog = dynamic_cast<Dlg*>(&w);
        ASSERT_NE(dialog, nullptr);
        act(*dialog);
      });
    }
    auto* combo = C<PLKUI::MComboBox>(ctl::KeyComboId(key_code));
    const auto items = combo->GetItems();
    for (size_t i = 0; i < items.size(); ++i)
      if (items[i].data == kind) return combo->PerformSelect(static_cast<int>(i));
    ADD_FAILURE() << "kind " << kind << " not offered";
  }
  // Raw key events reach the open dialog through posted messages.
  void KeyTap(Dlg& dialog, int vk) {
    keys.KeyDown(vk);
    keys.KeyUp(vk);
    runtime.PumpMessages();
  }
  template <class T>
  T* In(Dlg& dialog, int id) {
    T* control = dialog.GetControlAs<T>(id);
    EXPECT_NE(control, nullptr) << id;
    return control;
  }
  KeyMacroRecord Row(int key_code) {
    KeyMacroRecord row;
    db.GetKeyRecord(window->current_profile.load(), 0, key_code, row);
    return row;
  }
  std::vector<int> ParamData(Dlg& dialog) {
    std::vector<int> data;
    for (const auto& item : In<PLKUI::MComboBox>(dialog, Dlg::kParamList)->GetItems()) data.push_back(item.data);
    return data;
  }
};

// Stored keyboard row: macro_type 22, macro_value HID usage (A = 4),
// macro_value2 modifier bits (Ctrl = 1), macro_desc the combination's text.
TEST_F(KeyDialogTest, CtrlPlusACapturedFromRawInput) {
  window->FillFunctionLists();
  Choose(2, kKindKeyboard, [this](Dlg& d) {
    EXPECT_EQ(d.GetWindowRect().Width(), Dlg::kWidth);
    EXPECT_EQ(d.GetWindowRect().Height(), Dlg::kHeight);
    EXPECT_EQ(In<PLKUI::MControlFont>(d, Dlg::kTitle)->GetTitle(), L"T160");
    EXPECT_FALSE(In<PLKUI::MControl>(d, Dlg::kEmoji)->IsVisible());
    EXPECT_FALSE(In<PLKUI::MControl>(d, Dlg::kParamList)->IsVisible());
    auto* field = In<PLKUI::MEdit>(d, Dlg::kKeyField);
    field->PerformEditEntered();
    EXPECT_TRUE(d.Capturing());
    KeyTap(d, 17);   // generic Ctrl: a modifier never becomes the key
    KeyTap(d, 162);  // Left Ctrl
    EXPECT_EQ(field->GetEditText(), L"");
    In<PLKUI::MCheckControl>(d, Dlg::kCtrl)->PerformClick();
    keys.KeyDown('A');
    keys.KeyDown('A');  // held: the repeats are dropped
    runtime.PumpMessages();
    EXPECT_EQ(field->GetEditText(), L"A");
    field->PerformEditFinished();
    EXPECT_FALSE(d.Capturing());
    KeyTap(d, 'B');  // no capture any more
    EXPECT_EQ(field->GetEditText(), L"A");
    In<PLKUI::MControl>(d, Dlg::kOk)->PerformClick();
  });
  EXPECT_EQ(window->selected_button.load(), 2);
  KeyMacroRecord row = Row(2);
  EXPECT_EQ(row.macro_type, kKindKeyboard);
  EXPECT_EQ(row.macro_value, 4);
  EXPECT_EQ(row.macro_value2, 1);
  EXPECT_EQ(row.macro_desc, L"Ctrl + A");
  EXPECT_EQ(C<PLKUI::MComboBox>(ctl::KeyComboId(2))->GetTitle(), L"Ctrl + A");

  // Reopened: the stored key and modifiers are shown; confirming without a
  // new key keeps the stored key.
  Choose(2, kKindKeyboard, [this](Dlg& d) {
    EXPECT_EQ(In<PLKUI::MEdit>(d, Dlg::kKeyField)->GetEditText(), L"A");
    EXPECT_EQ(In<PLKUI::MCheckControl>(d, Dlg::kCtrl)->GetCheck(), 1);
    EXPECT_EQ(In<PLKUI::MCheckControl>(d, Dlg::kShift)->GetCheck(), 0);
    In<PLKUI::MCheckControl>(d, Dlg::kAlt)->PerformClick();
    In<PLKUI::MControl>(d, Dlg::kOk)->PerformClick();
  });
  row = Row(2);
  EXPECT_EQ(row.macro_value, 4);
  EXPECT_EQ(row.macro_value2, 5);
  EXPECT_EQ(row.macro_desc, L"Ctrl+ Alt + A");
}

// A key whose code has no HID usage (a media key on the keyboard) cannot be
// sent by the mouse: refused with text 970, the field and the key unchanged.
TEST_F(KeyDialogTest, KeyWithoutUsageIsRefusedWithAMessageAndNeverStored) {
  window->FillFunctionLists();
  constexpr int kMute = 173;
  std::vector<std::wstring> messages;
  Choose(4, kKindKeyboard, [&](Dlg& d) {
    auto* field = In<PLKUI::MEdit>(d, Dlg::kKeyField);
    field->PerformEditEntered();
    ExpectMessageBox(messages);
    KeyTap(d, kMute);
    EXPECT_EQ(field->GetEditText(), L"");
    In<PLKUI::MControl>(d, Dlg::kOk)->PerformClick();
  });
  EXPECT_EQ(messages, std::vector<std::wstring>{L"T970"});
  KeyMacroRecord row;
  EXPECT_FALSE(db.GetKeyRecord(window->current_profile.load(), 0, 4, row));

  // After a key was taken, a refused one leaves it in place.
  Choose(4, kKindKeyboard, [&](Dlg& d) {
    auto* field = In<PLKUI::MEdit>(d, Dlg::kKeyField);
    field->PerformEditEntered();
    KeyTap(d, 'B');
    ExpectMessageBox(messages);
    KeyTap(d, kMute);
    EXPECT_EQ(field->GetEditText(), L"B");
    In<PLKUI::MCheckControl>(d, Dlg::kShift)->PerformClick();
    In<PLKUI::MControl>(d, Dlg::kOk)->PerformClick();
  });
  EXPECT_EQ(messages.size(), 2u);
  row = Row(4);
  EXPECT_EQ(row.macro_value, 5);
  EXPECT_EQ(row.macro_value2, 2);
  EXPECT_EQ(row.macro_desc, L"Shift + B");
}

// The field of a stored keyboard assignment shows the key part of its stored
// text (the name the key had on the user's layout), else the usage's name.
TEST_F(KeyDialogTest, StoredKeyIsShownByItsStoredName) {
  window->FillFunctionLists();
  struct Case {
    int value;
    int bits;
    const wchar_t* desc;
    const wchar_t* shown;
  } cases[] = {
      {0x1F, 0, L"é", L"é"},
      {0x1F, 1, L"Ctrl + é", L"é"},
      {0x33, 3, L"Shift+ Ctrl + ö", L"ö"},
      {0x1F, 1, L"Alt + é", L"2"},  // text of other modifiers: not this assignment's
      {0x1F, 1, L"", L"2"},
  };
  for (const Case& c : cases) {
    KeyMacroRecord stored;
    stored.profile = window->current_profile.load();
    stored.key_code = 7;
    stored.macro_type = kKindKeyboard;
    stored.macro_value = c.value;
    stored.macro_value2 = c.bits;
    stored.macro_desc = c.desc;
    ASSERT_TRUE(db.SaveKeyRecord(stored));
    std::wstring shown;
    Choose(7, kKindKeyboard, [&](Dlg& d) {
      shown = In<PLKUI::MEdit>(d, Dlg::kKeyField)->GetEditText();
      In<PLKUI::MControl>(d, Dlg::kClose)->PerformClick();
    });
    EXPECT_EQ(shown, c.shown) << c.desc;
  }
}

TEST_F(KeyDialogTest, CancelStoresNothingAndThePageShowsTheStoredState) {
  window->FillFunctionLists();
  Choose(3, kKindShortcut, [this](Dlg& d) {
    In<PLKUI::MComboBox>(d, Dlg::kParamList)->PerformSelect(3);
    In<PLKUI::MControl>(d, Dlg::kClose)->PerformClick();
  });
  KeyMacroRecord row;
  EXPECT_FALSE(db.GetKeyRecord(window->current_profile.load(), 0, 3, row));
  auto* combo = C<PLKUI::MComboBox>(ctl::KeyComboId(3));
  EXPECT_EQ(combo->GetCurData(), kKindMiddleClick);
  ASSERT_EQ(runtime.EndLog().size(), 1u);
  EXPECT_EQ(runtime.EndLog()[0].result, 2);
}

// Multimedia values 2..8 (1 is not offered), shortcuts 1..13 without 8 in
// the dialog's order; the stored text is the value's TextId.
TEST_F(KeyDialogTest, ParameterListsAndStoredTexts) {
  window->FillFunctionLists();
  Choose(4, kKindMultimedia, [this](Dlg& d) {
    EXPECT_EQ(In<PLKUI::MControlFont>(d, Dlg::kTitle)->GetTitle(), L"T163");
    EXPECT_EQ(ParamData(d), (std::vector<int>{2, 3, 4, 5, 6, 7, 8}));
    EXPECT_EQ(In<PLKUI::MComboBox>(d, Dlg::kParamList)->GetItemText(0), L"T179");
    EXPECT_FALSE(In<PLKUI::MControl>(d, Dlg::kKeyField)->IsVisible());
    In<PLKUI::MComboBox>(d, Dlg::kParamList)->PerformSelect(2);
    In<PLKUI::MControl>(d, Dlg::kOk)->PerformClick();
  });
  EXPECT_EQ(Row(4).macro_value, 4);
  EXPECT_EQ(Row(4).macro_desc, L"180");

  Choose(4, kKindShortcut, [this](Dlg& d) {
    EXPECT_EQ(ParamData(d), (std::vector<int>{1, 2, 3, 5, 4, 7, 6, 9, 10, 11, 12, 13}));
    In<PLKUI::MControl>(d, Dlg::kOk)->PerformClick();
  });
  EXPECT_EQ(Row(4).macro_type, kKindShortcut);
  EXPECT_EQ(Row(4).macro_value, 1);
  EXPECT_EQ(Row(4).macro_desc, L"185");

  // Reopening selects the stored value.
  Choose(4, kKindMultimedia, [this](Dlg& d) {
    EXPECT_EQ(In<PLKUI::MComboBox>(d, Dlg::kParamList)->GetCurData(), 2);
    In<PLKUI::MControl>(d, Dlg::kClose)->PerformClick();
  });
}

TEST_F(KeyDialogTest, MacroAndEmojiChoices) {
  window->FillFunctionLists();
  const int first = db.AddMacro(L"Burst");
  const int second = db.AddMacro(L"Reload");
  Choose(5, kKindMacro, [&](Dlg& d) {
    EXPECT_EQ(ParamData(d), (std::vector<int>{first, second}));
    In<PLKUI::MComboBox>(d, Dlg::kParamList)->PerformSelect(1);
    In<PLKUI::MControl>(d, Dlg::kOk)->PerformClick();
  });
  EXPECT_EQ(Row(5).macro_value, second);
  EXPECT_EQ(Row(5).macro_desc, L"Reload");

  // The emoji form is opened by the page only through an imported list; the
  // dialog itself serves it.
  KeyConfigServices services{&db, &texts, &hub};
  runtime.AnswerNextModalByEnd([](PLKUI::MWindow& w) {
    auto& d = dynamic_cast<Dlg&>(w);
    EXPECT_EQ(d.GetWindowRect().Width(), Dlg::kEmojiWidth);
    EXPECT_EQ(d.GetWindowRect().Height(), Dlg::kEmojiHeight);
    auto* picker = d.GetControlAs<PLKUI::EmojiControl>(Dlg::kEmoji);
    ASSERT_NE(picker, nullptr);
    EXPECT_TRUE(picker->IsVisible());
    EXPECT_EQ(picker->GetItemCount(), kEmojiCount);
    EXPECT_EQ(picker->GetItems()[0].picture, L"Emoji\\wechat_emoji_00.png");
    EXPECT_EQ(d.GetControlAs<PLKUI::MControlFont>(Dlg::kTitle)->GetTitle(), L"微信表情");
    picker->PerformSelect(4);
    d.GetControl(Dlg::kOk)->PerformClick();
  });
  EXPECT_TRUE(AssignFromKeyPage(*window, 7, kKindEmoji, window->current_profile.load(), services));
  EXPECT_EQ(Row(7).macro_type, kKindEmoji);
  EXPECT_EQ(Row(7).macro_value, 5);
  EXPECT_EQ(Row(7).macro_desc, EmojiTip(5));  // the text the picker gives with its number
}

// A profile file may give an emoji row any number: the picker opens on the
// picture of that number, or on none when there is no such picture.
TEST_F(KeyDialogTest, EmojiRowOfAnyNumberOpensThePicker) {
  KeyConfigServices services{&db, &texts, &hub};
  const int profile = window->current_profile.load();
  struct Case {
    int value;
    int selected;
  };
  const Case cases[] = {{3, 2}, {std::numeric_limits<int>::min(), -1}, {0, -1}, {kEmojiCount + 1, -1}};
  for (const Case& c : cases) {
    KeyMacroRecord row;
    row.profile = profile;
    row.key_code = 7;
    row.macro_type = kKindEmoji;
    row.macro_value = c.value;
    db.SaveKeyRecord(row);
    int selected = -2;
    runtime.AnswerNextModalByEnd([&selected](PLKUI::MWindow& w) {
      auto& d = dynamic_cast<Dlg&>(w);
      selected = d.GetControlAs<PLKUI::EmojiControl>(Dlg::kEmoji)->GetSelectItem();
      d.EndModal(0);
    });
    AssignFromKeyPage(*window, 7, kKindEmoji, profile, services);
    EXPECT_EQ(selected, c.selected) << c.value;
  }
}

TEST_F(KeyDialogTest, KindsStoredAtOnceAndKindsThatStoreNothing) {
  KeyConfigServices services{&db, &texts, &hub};
  const int profile = window->current_profile.load();
  EXPECT_TRUE(AssignFromKeyPage(*window, 8, kKindZeroCode, profile, services));
  EXPECT_EQ(Row(8).macro_type, kKindZeroCode);
  EXPECT_EQ(Row(8).macro_value, 1);
  EXPECT_EQ(Row(8).macro_desc, L"162");
  for (int kind : {kKindLeftAlternate, kKindTextOnly13, kKindTextOnly14, kKindNordic101}) {
    EXPECT_FALSE(AssignFromKeyPage(*window, 9, kind, profile, services)) << kind;
    KeyMacroRecord row;
    EXPECT_FALSE(db.GetKeyRecord(profile, 0, 9, row)) << kind;
  }
  EXPECT_TRUE(runtime.ModalLog().empty());
}

}  // namespace
}  // namespace tk410
