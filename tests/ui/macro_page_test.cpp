// The macro page over a real database: macro list operations, recording from
// scripted raw input on the manual clock, the step editors, the menus and
// the play and delay settings.

#include <fstream>

#include "platform/fake_file_dialogs.h"
#include "platform/raw_input.h"
#include "plkui/menu_wnd.h"
#include "ui/macro_page.h"
#include "ui/message_box.h"
#include "ui/pages_fixture.h"

namespace tk410 {
namespace {

constexpr unsigned kMacroMenu = 1709;
constexpr unsigned kInsertMenu = 1710;
constexpr unsigned kStepMenu = 1711;

class MacroPageTest : public WindowTest {
 protected:
  void NewMacro() { Click(ctl::kMacroNew); }
  PLKUI::CRecordList* Steps() { return C<PLKUI::CRecordList>(ctl::kStepList); }
  PLKUI::MacroList* Macros() { return C<PLKUI::MacroList>(ctl::kMacroList); }
  std::vector<PLKUI::RecordItem> Items() { return Steps()->GetRecordItems(); }
  int SelectedMacro() { return Macros()->GetItemData(Macros()->GetCurSel()); }
  // What the database holds for the selected macro: (type, value, text).
  std::vector<std::tuple<int, int, std::wstring>> Stored() {
    RecordList<MacroEvent> events;
    db.LoadMacroEvents(SelectedMacro(), events);
    std::vector<std::tuple<int, int, std::wstring>> out;
    for (const auto& e : events) out.emplace_back(e->type, e->value, e->desc);
    return out;
  }
  // The window receives the raw input message of a scripted event.
  void Feed(intptr_t handle) { window->SendMessage(kMsgRawInput, 0, handle); }
  void Press(int vk) { Feed(keys.KeyDown(vk)); }
  void Release(int vk) { Feed(keys.KeyUp(vk)); }
  void Menu(unsigned message, int item) { window->SendMessage(message, 0, item); }
  void Type(int edit_id, const std::wstring& text) {
    auto* edit = C<PLKUI::MEdit>(edit_id);
    edit->PerformEditText(text);
    edit->PerformEditFinished();
  }
  void AddSteps(int count) {
    for (int i = 0; i < count; ++i) Steps()->AddString(L" -   5 ms", 1, 5, 100000 + i);
    window->MacroEditor().SaveSteps();
  }
};

// Recorded steps, delay mode 1: "↓  A" type 2 value 65, " -   N ms" type 1 value N.
TEST_F(MacroPageTest, RecordsKeysWithMeasuredDelaysAndAppendsToExistingSteps) {
  NewMacro();
  AddSteps(1);
  Click(ctl::kRecord);
  ASSERT_TRUE(window->MacroEditor().Recording());
  EXPECT_FALSE(C<PLKUI::MControl>(ctl::kMacroList)->IsEnabled());
  EXPECT_FALSE(C<PLKUI::MControl>(ctl::kTabs)->IsEnabled());
  EXPECT_FALSE(C<PLKUI::MControl>(ctl::kStepInsert)->IsEnabled());
  EXPECT_TRUE(C<PLKUI::MControl>(ctl::kRecord)->IsEnabled());
  EXPECT_EQ(C<PLKUI::MControlFont>(ctl::kRecord)->GetTitle(), L"T359");

  Press('A');
  clock.AdvanceUs(1234600);  // 1234.6 ms
  Press('A');                // auto-repeat: dropped
  Release('A');
  clock.AdvanceMs(20000);
  Press(16);  // generic Shift
  Release(16);
  Click(ctl::kRecord);  // stops; the click itself comes through raw input later
  Feed(keys.Mouse(kRawLeftUp));
  EXPECT_FALSE(window->MacroEditor().Recording());
  EXPECT_TRUE(C<PLKUI::MControl>(ctl::kMacroList)->IsEnabled());
  EXPECT_TRUE(C<PLKUI::MControl>(ctl::kDelayEdit)->IsEnabled());
  EXPECT_EQ(C<PLKUI::MControlFont>(ctl::kRecord)->GetTitle(), L"T358");

  using Step = std::tuple<int, int, std::wstring>;
  const std::vector<Step> expected = {
      {1, 5, L" -   5 ms"},      {2, 65, L"↓  A"},   {1, 1235, L" -   1235 ms"}, {3, 65, L"↑  A"},
      {1, 15000, L" -   15000 ms"}, {2, 160, L"↓  Shift"}, {3, 160, L"↑  Shift"},
  };
  EXPECT_EQ(Stored(), expected);
  // Recorded steps have timestamps of their own.
  auto items = Items();
  for (size_t i = 1; i < items.size(); ++i) EXPECT_NE(items[i].timestamp, items[i - 1].timestamp);
}

TEST_F(MacroPageTest, FixedDelayModeWithEmptyEditUsesTenBeforeEveryEvent) {
  NewMacro();
  C<PLKUI::MCheckControl>(ctl::kDelayFixed)->PerformClick();
  C<PLKUI::MEdit>(ctl::kDelayEdit)->SetEditText(L"");
  Click(ctl::kRecord);
  EXPECT_EQ(C<PLKUI::MEdit>(ctl::kDelayEdit)->GetEditText(), L"10");
  Feed(keys.Mouse(kRawRightDown));
  Feed(keys.Wheel(120));  // no name: not recorded
  Feed(keys.Mouse(kRawRightUp));
  Click(ctl::kRecord);
  using Step = std::tuple<int, int, std::wstring>;
  const std::vector<Step> expected = {
      {1, 10, L" -   10 ms"}, {4, 2, L"↓  RB"}, {1, 10, L" -   10 ms"}, {5, 2, L"↑  RB"}};
  EXPECT_EQ(Stored(), expected);
}

TEST_F(MacroPageTest, StepLimitStopsRecording) {
  NewMacro();
  AddSteps(199);
  Click(ctl::kRecord);
  Press('C');  // first event, no delay yet: the 200th item
  EXPECT_FALSE(window->MacroEditor().Recording());
  EXPECT_EQ(Stored().size(), 200u);

  // 198 items, then an event and a second one with a delay in front: the
  // delay becomes the 200th item and the second event is dropped.
  Steps()->DeleteTimeStamp(Items().back().timestamp);
  Steps()->DeleteTimeStamp(Items().back().timestamp);
  window->MacroEditor().SaveSteps();
  ASSERT_EQ(Items().size(), 198u);
  Click(ctl::kRecord);
  Press('H');
  clock.AdvanceMs(30);
  Release('H');
  EXPECT_FALSE(window->MacroEditor().Recording());
  const auto stored = Stored();
  ASSERT_EQ(stored.size(), 200u);
  EXPECT_EQ(stored[198], std::make_tuple(2, int{'H'}, std::wstring(L"↓  H")));
  EXPECT_EQ(stored[199], std::make_tuple(1, 30, std::wstring(L" -   30 ms")));
}

TEST_F(MacroPageTest, RecordButtonClickIsNotRecorded) {
  NewMacro();
  C<PLKUI::MCheckControl>(ctl::kDelayNone)->PerformClick();
  window->MoveWindow(PLKUI::MRect{100, 50, 1221, 830});
  Click(ctl::kRecord);
  const PLKUI::MRect button = C<PLKUI::MControl>(ctl::kRecord)->GetRect();
  Feed(keys.MouseAt(kRawLeftDown, 100 + button.left + 5, 50 + button.top + 5));
  Feed(keys.MouseAt(kRawLeftDown, 100 + button.right + 5, 50 + button.top + 5));
  Click(ctl::kRecord);
  ASSERT_EQ(Stored().size(), 1u);
  EXPECT_EQ(std::get<2>(Stored()[0]), L"↓  LB");
}

TEST_F(MacroPageTest, PageRefreshWaitsWhileRecording) {
  NewMacro();
  C<PLKUI::MCheckControl>(ctl::kDelayNone)->PerformClick();
  Click(ctl::kRecord);
  Press('A');
  // The worker refreshes the page (after a read, a profile change ...).
  window->ShowMacroPage();
  EXPECT_EQ(Items().size(), 1u);
  Release('A');
  Click(ctl::kRecord);
  // The held-back refresh ran after the stop, from the saved steps.
  EXPECT_EQ(Items().size(), 2u);
  EXPECT_EQ(Stored().size(), 2u);
  EXPECT_EQ(Macros()->GetCurSel(), 0);
}

TEST_F(MacroPageTest, RecordingNeedsASelectedMacro) {
  runtime.AnswerNextModal(1);
  Click(ctl::kRecord);
  EXPECT_FALSE(window->MacroEditor().Recording());
  ASSERT_EQ(runtime.ModalLog().size(), 1u);
  EXPECT_EQ(runtime.ModalLog()[0].title, L"MessageBox");
}

// Import button: a file the page could never have made is refused with a
// box that says why (texts 930..933, and 415 at 32 macros, as "new" says
// it); the list and the database stay as they were.
TEST_F(MacroPageTest, ImportPastTheLimitsShowsWhyAndAddsNothing) {
  FakeFileDialogs dialogs;
  window->SetFileDialogs(&dialogs);
  int files = 0;
  auto file = [&](const std::string& info, const std::string& items) {
    const auto path = dir.path() / ("import" + std::to_string(++files) + ".xml");
    std::ofstream(path, std::ios::binary) << "<macro><macroinfo macro_name=\"m\" " << info
                                          << "/><macroitems>" << items << "</macroitems></macro>";
    return FromUtf8(path.string());
  };
  std::string too_many;
  for (int i = 0; i < 201; ++i) too_many += "<item type=\"1\" value=\"5\"/>";
  struct Case {
    std::wstring path;
    std::wstring text;
  };
  const Case cases[] = {
      {file("", too_many), L"T930"},
      {file("", "<item type=\"13\"/>"), L"T931"},
      {file("", "<item type=\"2\" value=\"256\"/>"), L"T932"},
      {file("macro_type=\"3\"", ""), L"T933"},
  };
  for (const Case& c : cases) {
    std::wstring title, body;
    runtime.AnswerNextModal(1, [&](PLKUI::MWindow& w) {
      auto& box = dynamic_cast<PLKUI::MDialog&>(w);
      title = box.GetControlAs<PLKUI::MText>(CUIMessageBox::kTitle)->GetTitle();
      body = box.GetControlAs<PLKUI::MText>(CUIMessageBox::kMessage)->GetTitle();
    });
    dialogs.Answer(c.path);
    Click(ctl::kMacroImport);
    EXPECT_EQ(title, L"T26");
    EXPECT_EQ(body, c.text);
  }
  EXPECT_EQ(Macros()->GetItemCount(), 0);
  RecordList<MacroRecord> stored;
  EXPECT_EQ(db.LoadMacros(stored), 0);

  // 200 steps are taken; at 32 macros the next import is refused.
  for (int i = 0; i < 31; ++i) NewMacro();
  dialogs.Answer(file("", too_many.substr(too_many.find("/>") + 2)));
  Click(ctl::kMacroImport);
  EXPECT_EQ(Macros()->GetItemCount(), 32);
  EXPECT_EQ(runtime.ModalLog().size(), 4u);
  std::wstring body;
  runtime.AnswerNextModal(1, [&](PLKUI::MWindow& w) {
    body = dynamic_cast<PLKUI::MDialog&>(w).GetControlAs<PLKUI::MText>(CUIMessageBox::kMessage)->GetTitle();
  });
  dialogs.Answer(file("", ""));
  Click(ctl::kMacroImport);
  EXPECT_EQ(body, L"T415");
  EXPECT_EQ(Macros()->GetItemCount(), 32);
  EXPECT_EQ(db.LoadMacros(stored), 32);
}

// Inserted items: key pair "↓  A"/"↑  A" (2/3, 65), button pair (4/5, 1),
// delay " -   10 ms" (1, 10), move "→  1, ↓  1" (12, 257).
TEST_F(MacroPageTest, InsertPositionsDeleteByTimestampAndMoves) {
  NewMacro();
  Menu(kInsertMenu, 101);  // nothing selected: appended
  ASSERT_EQ(Items().size(), 2u);
  EXPECT_EQ(Items()[0].text, L"↓  A");
  EXPECT_EQ(Items()[1].text, L"↑  A");
  clock.AdvanceMs(1);
  Menu(kInsertMenu, 103);
  clock.AdvanceMs(1);
  Menu(kInsertMenu, 110);
  ASSERT_EQ(Items().size(), 4u);
  EXPECT_EQ(Items()[3].value, 257);

  Steps()->SetCurSel(2);  // step 3
  clock.AdvanceMs(1);
  Menu(kInsertMenu, 102);
  auto items = Items();
  ASSERT_EQ(items.size(), 6u);
  EXPECT_EQ(items[3].text, L"↓  LB");  // steps 4 and 5
  EXPECT_EQ(items[4].text, L"↑  LB");
  Steps()->SetCurSel(2);
  clock.AdvanceMs(1);
  Menu(kInsertMenu, 103);  // ahead of the selected step: the new step 3
  EXPECT_EQ(Items()[2].type, 1);
  EXPECT_EQ(Items()[3].text, L" -   10 ms");
  EXPECT_EQ(Stored().size(), 7u);

  // Two inserts in the same millisecond still pair only their own halves.
  Steps()->SetCurSel(-1);
  Menu(kInsertMenu, 101);
  Menu(kInsertMenu, 101);
  items = Items();
  ASSERT_EQ(items.size(), 11u);
  EXPECT_EQ(items[7].timestamp, items[8].timestamp);
  EXPECT_EQ(items[9].timestamp, items[10].timestamp);
  EXPECT_NE(items[7].timestamp, items[9].timestamp);
  Steps()->SetCurSel(9);
  Click(ctl::kStepDelete);
  EXPECT_EQ(Items().size(), 9u);
  // Deleting the down half of the first pair takes the up half too; a
  // single step goes alone.
  Steps()->SetCurSel(0);
  Click(ctl::kStepDelete);
  EXPECT_EQ(Items().size(), 7u);
  Steps()->SetCurSel(0);
  Click(ctl::kStepDelete);
  ASSERT_EQ(Items().size(), 6u);
  EXPECT_EQ(Stored().size(), 6u);

  // Step moves: to the bottom, up, top, down.
  const auto before = Items();
  Steps()->SetCurSel(0);
  Menu(kStepMenu, 103);
  EXPECT_EQ(Items().back(), before[0]);
  EXPECT_EQ(Steps()->GetCurSel(), 5);
  Click(ctl::kStepUp);
  EXPECT_EQ(Items()[4], before[0]);
  EXPECT_EQ(Steps()->GetCurSel(), 4);
  Menu(kStepMenu, 100);
  EXPECT_EQ(Items()[0], before[0]);
  Click(ctl::kStepDown);
  EXPECT_EQ(Items()[1], before[0]);
  EXPECT_EQ(std::get<2>(Stored()[1]), before[0].text);
  // Up from the top does nothing.
  Steps()->SetCurSel(0);
  const auto top = Items();
  Menu(kStepMenu, 101);
  EXPECT_EQ(Items(), top);
}

TEST_F(MacroPageTest, InsertMenuRefusedAtTheStepLimit) {
  NewMacro();
  AddSteps(199);
  Click(ctl::kStepInsert);
  ASSERT_NE(runtime.OpenMenu(), nullptr);
  EXPECT_EQ(runtime.OpenMenu()->GetMessage(), kInsertMenu);
  EXPECT_EQ(runtime.OpenMenu()->GetItems().size(), 4u);
  runtime.AnswerNextModal(1);
  Menu(kInsertMenu, 101);  // a pair would make 201
  EXPECT_EQ(Items().size(), 199u);
  Menu(kInsertMenu, 103);
  EXPECT_EQ(Items().size(), 200u);
  runtime.AnswerNextModal(1);
  Click(ctl::kStepInsert);
  EXPECT_EQ(runtime.ModalLog().size(), 2u);
}

TEST_F(MacroPageTest, SettingsEditsClampAndStore) {
  NewMacro();
  C<PLKUI::MCheckControl>(ctl::kDelayFixed)->PerformClick();
  EXPECT_TRUE(C<PLKUI::MControl>(ctl::kDelayEdit)->IsEnabled());
  Type(ctl::kDelayEdit, L"20000");
  EXPECT_EQ(C<PLKUI::MEdit>(ctl::kDelayEdit)->GetEditText(), L"15000");
  EXPECT_EQ(C<PLKUI::MEdit>(ctl::kDelayEdit)->GetTooltip(), L"15000");
  Type(ctl::kRepeatEdit, L"0");
  EXPECT_EQ(C<PLKUI::MEdit>(ctl::kRepeatEdit)->GetEditText(), L"1");
  Type(ctl::kRepeatEdit, L"7");
  MacroRecord m;
  ASSERT_TRUE(db.GetMacro(SelectedMacro(), m));
  EXPECT_EQ(m.delay_type, 2);
  EXPECT_EQ(m.delay_time, 15000);
  EXPECT_EQ(m.play_type, 0);
  EXPECT_EQ(m.play_times, 7);
  C<PLKUI::MCheckControl>(ctl::kPlayMode2)->PerformClick();
  C<PLKUI::MCheckControl>(ctl::kDelayNone)->PerformClick();
  EXPECT_FALSE(C<PLKUI::MControl>(ctl::kRepeatEdit)->IsEnabled());
  ASSERT_TRUE(db.GetMacro(SelectedMacro(), m));
  EXPECT_EQ(m.delay_type, 0);
  EXPECT_EQ(m.delay_time, 0);
  EXPECT_EQ(m.play_type, 2);
  EXPECT_EQ(m.play_times, 1);
}

TEST_F(MacroPageTest, MacroListNewCopyRenameDelete) {
  NewMacro();
  NewMacro();
  NewMacro();
  ASSERT_EQ(Macros()->GetItemCount(), 3);
  EXPECT_EQ(Macros()->GetCurSel(), 2);

  // Clearing a name restores the stored one; a real name is stored.
  Macros()->PerformRename(1, L"");
  EXPECT_EQ(Macros()->GetItemText(1), L"T351 2");
  Macros()->PerformRename(1, L"Reload");
  MacroRecord m;
  ASSERT_TRUE(db.GetMacro(Macros()->GetItemData(1), m));
  EXPECT_EQ(m.name, L"Reload");

  Menu(kMacroMenu, 101);  // copy of the selected (second) macro
  EXPECT_EQ(Macros()->GetItemCount(), 4);
  EXPECT_EQ(Macros()->GetItemText(3), L"Reload T31");
  EXPECT_EQ(Macros()->GetCurSel(), 1);

  Menu(kInsertMenu, 101);
  EXPECT_EQ(Items().size(), 2u);
  Menu(kMacroMenu, 102);  // delete the second
  EXPECT_EQ(Macros()->GetItemCount(), 3);
  EXPECT_EQ(Macros()->GetCurSel(), 0);
  EXPECT_EQ(Items().size(), 0u);
  RecordList<MacroRecord> macros;
  EXPECT_EQ(db.LoadMacros(macros), 3);

  // Right click opens the macro menu with copy and delete.
  Macros()->PerformRightClickItem(0);
  ASSERT_NE(runtime.OpenMenu(), nullptr);
  EXPECT_EQ(runtime.OpenMenu()->GetMessage(), kMacroMenu);
  EXPECT_EQ(runtime.OpenMenu()->GetItems()[0].id, 101);

  // 32 macros: new and copy refuse with a message box.
  while (Macros()->GetItemCount() < 32) NewMacro();
  runtime.AnswerNextModal(1);
  runtime.AnswerNextModal(1);
  NewMacro();
  Menu(kMacroMenu, 101);
  EXPECT_EQ(Macros()->GetItemCount(), 32);
  EXPECT_EQ(runtime.ModalLog().size(), 2u);
}

TEST_F(MacroPageTest, StepEditorKeyCaptureDelayAndButtons) {
  NewMacro();
  Menu(kInsertMenu, 101);  // key pair
  Steps()->PerformSelect(1);
  EXPECT_TRUE(C<PLKUI::MControl>(ctl::kStepKind)->IsVisible());
  EXPECT_EQ(C<PLKUI::MComboBox>(ctl::kStepKind)->GetCurData(), 2);
  auto* value = C<PLKUI::MEdit>(ctl::kStepValue);
  value->PerformEditEntered();
  EXPECT_EQ(window->MacroEditor().Mode(), MacroPage::kCaptureStepKey);
  Press(161);
  Press(161);  // repeat: ignored
  Feed(keys.Mouse(kRawLeftDown));  // mouse: ignored
  EXPECT_EQ(value->GetEditText(), L"RShift");
  value->PerformEditFinished();
  EXPECT_EQ(window->MacroEditor().Mode(), MacroPage::kCaptureNone);
  using Step = std::tuple<int, int, std::wstring>;
  EXPECT_EQ(Stored(), (std::vector<Step>{{2, 161, L"↓  RShift"}, {3, 161, L"↑  RShift"}}));
  // Leaving without a key names both halves with the empty name and code 0.
  value->PerformEditEntered();
  value->PerformEditFinished();
  EXPECT_EQ(Stored(), (std::vector<Step>{{2, 0, L"↓  "}, {3, 0, L"↑  "}}));

  // A delay step: clamped to 1..15000.
  clock.AdvanceMs(1);
  Steps()->SetCurSel(-1);
  Menu(kInsertMenu, 103);
  Steps()->PerformSelect(2);
  EXPECT_EQ(value->GetEditText(), L"10");
  Type(ctl::kStepValue, L"0");
  EXPECT_EQ(value->GetEditText(), L"1");
  EXPECT_EQ(Items()[2].text, L" -   1 ms");
  Type(ctl::kStepValue, L"99999");
  EXPECT_EQ(Items()[2].value, 15000);

  // A button pair: the combo renames both halves; the wheel words make a wheel step.
  clock.AdvanceMs(1);
  Steps()->SetCurSel(-1);
  Menu(kInsertMenu, 102);
  Steps()->PerformSelect(4);
  EXPECT_FALSE(C<PLKUI::MControl>(ctl::kStepValue)->IsVisible());
  auto* buttons = C<PLKUI::MComboBox>(ctl::kStepButton);
  EXPECT_TRUE(buttons->IsVisible());
  buttons->PerformSelect(4);  // "Backward"
  EXPECT_EQ(Items()[3].text, L"↓  Backward");
  EXPECT_EQ(Items()[4].value, 8);
  buttons->PerformSelect(5);  // scroll up
  EXPECT_EQ(Items()[3].text, L"↑  Scroll Up");
  EXPECT_EQ(Items()[4].text, L"↑  Scroll Up");
  EXPECT_EQ(Items()[3].value, 1);
  EXPECT_EQ(Items()[4].value, 2);
  buttons->PerformSelect(6);  // scroll down
  EXPECT_EQ(Items()[4].text, L"↓  Scroll Down");
  EXPECT_EQ(std::get<2>(Stored()[4]), L"↓  Scroll Down");
}

// Keys whose code has no HID usage (media keys on the keyboard) play nothing:
// the recorder leaves them out and says so once when it stops (text 971);
// the step editor refuses them (text 970).
TEST_F(MacroPageTest, KeysWithoutUsageAreLeftOutOfRecordingsAndStepsWithAMessage) {
  constexpr int kMute = 173;
  std::vector<std::wstring> messages;
  NewMacro();
  Click(ctl::kRecord);
  Press(kMute);
  Release(kMute);
  Press('A');
  Release('A');
  Press(kMute);
  Release(kMute);
  EXPECT_TRUE(messages.empty());
  ExpectMessageBox(messages);
  Click(ctl::kRecord);
  using Step = std::tuple<int, int, std::wstring>;
  EXPECT_EQ(Stored(), (std::vector<Step>{{2, 65, L"↓  A"}, {3, 65, L"↑  A"}}));
  EXPECT_EQ(messages, std::vector<std::wstring>{L"T971"});

  // A recording without such keys says nothing.
  Click(ctl::kRecord);
  Press('B');
  Release('B');
  Click(ctl::kRecord);
  EXPECT_EQ(messages.size(), 1u);

  Steps()->PerformSelect(0);
  auto* value = C<PLKUI::MEdit>(ctl::kStepValue);
  value->PerformEditEntered();
  ExpectMessageBox(messages);
  Press(kMute);
  EXPECT_EQ(value->GetEditText(), L"");
  Press('C');
  value->PerformEditFinished();
  EXPECT_EQ(messages, (std::vector<std::wstring>{L"T971", L"T970"}));
  EXPECT_EQ(std::get<1>(Stored()[0]), 67);
}

// Move value: bits 0-6 horizontal, bit 7 left, bits 8-14 vertical, bit 15 up.
TEST_F(MacroPageTest, MoveEditorClampsByTheControlThatChanged) {
  NewMacro();
  Menu(kInsertMenu, 110);
  Steps()->PerformSelect(0);
  EXPECT_TRUE(C<PLKUI::MControl>(ctl::kMoveX)->IsVisible());
  EXPECT_FALSE(C<PLKUI::MControl>(ctl::kStepKind)->IsVisible());
  EXPECT_EQ(C<PLKUI::MEdit>(ctl::kMoveX)->GetEditText(), L"1");
  EXPECT_EQ(C<PLKUI::MCheckControl>(ctl::kMoveRight)->GetCheck(), 1);

  C<PLKUI::MEdit>(ctl::kMoveX)->SetEditText(L"100");
  C<PLKUI::MEdit>(ctl::kMoveY)->SetEditText(L"20");
  C<PLKUI::MCheckControl>(ctl::kMoveLeft)->PerformClick();
  EXPECT_EQ(C<PLKUI::MEdit>(ctl::kMoveX)->GetEditText(), L"100");
  EXPECT_EQ(C<PLKUI::MEdit>(ctl::kMoveY)->GetEditText(), L"15");
  EXPECT_EQ(Items()[0].value, 100 | 0x80 | 15 << 8);
  EXPECT_EQ(Items()[0].text, L"←  100,↓  15");

  C<PLKUI::MCheckControl>(ctl::kMoveUp)->PerformClick();
  Type(ctl::kMoveY, L"20");
  EXPECT_EQ(C<PLKUI::MEdit>(ctl::kMoveX)->GetEditText(), L"15");
  EXPECT_EQ(C<PLKUI::MEdit>(ctl::kMoveY)->GetEditText(), L"15");
  EXPECT_EQ(std::get<1>(Stored()[0]), 15 | 0x80 | 15 << 8 | 0x8000);
}

}  // namespace
}  // namespace tk410
