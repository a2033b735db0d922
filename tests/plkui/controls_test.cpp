// Control behaviour of the UI library model: creation by class name, named
// check groups, combo box data, edits, sliders, tabs and the small lists, and
// the notifications each user action reports to the dialog.

#include <gtest/gtest.h>

#include "plkui/headless_runtime.h"
#include "plkui/recording_dialog.h"

namespace tk410::test {
namespace {

using namespace PLKUI;

class ControlsTest : public ::testing::Test {
 protected:
  HeadlessRuntime runtime;
  RecordingDialog dlg;
  void SetUp() override { dlg.SetRuntime(&runtime); }
  void Create() { ASSERT_TRUE(dlg.Create(nullptr, L"Test", 0x96000000u, 0, MRect{0, 0, 400, 300})); }
};

TEST_F(ControlsTest, EveryClassNameCreatesItsClassAndUnknownNamesNone) {
  const wchar_t* names[] = {
      L"MText",        L"MButton",      L"CImageButton", L"CIconButton",   L"CTextButton",
      L"CHelpButton",  L"MComboBox",    L"MEdit",        L"NumberEdit",    L"NumberEdit2",
      L"MSlider",      L"DPISlider",    L"DPIControl",   L"ColorButtonEx", L"CRadioButton",
      L"CCheckButton", L"CSwitchButton", L"MTabCtrl",    L"MTabLayout",    L"MouseCtrl",
      L"MacroList",    L"CRecordList",  L"EmojiControl", L"BatteryCtrl",   L"CDeviceState",
      L"MPicture",     L"CGifPicture",  L"CArea",        L"CRoundArea"};
  Create();
  int id = 100;
  for (const wchar_t* name : names) {
    MControl* c = dlg.CreateControl(name, id, MRect{1, 2, 30, 40}, L"标题", 1, 1);
    ASSERT_NE(c, nullptr) << name;
    EXPECT_EQ(c->GetClassName(), name);
    EXPECT_EQ(dlg.GetControl(id), c);
    EXPECT_EQ(c->GetRect(), (MRect{1, 2, 30, 40}));
    EXPECT_EQ(dynamic_cast<MControlFont*>(c)->GetTitle(), L"标题");
    ++id;
  }
  EXPECT_EQ(dlg.CreateArea(L"NoSuchControl", 999, MRect{}, L"", 1, 1), nullptr);
  EXPECT_EQ(dlg.GetControl(999), nullptr);
  EXPECT_EQ(dlg.GetControls().size(), std::size(names));
}

TEST_F(ControlsTest, CreateBuildsPlacesThenInitialisesAndStartsTheTimerSetDuringInit) {
  dlg.build = [](RecordingDialog& d) { d.SetMTimer(10); };
  Create();
  EXPECT_EQ(dlg.init_dialog_calls, 1);
  EXPECT_EQ(dlg.ui_size_calls, 1);
  EXPECT_EQ(runtime.TimerInterval(dlg, MDialog::kTimerId), 10);
  EXPECT_EQ(runtime.FireTimers(), 1);
  EXPECT_EQ(dlg.timer_ticks, std::vector<int>{1});
  dlg.SetMTimer(0);
  EXPECT_EQ(runtime.FireTimers(), 0);
  EXPECT_FALSE(dlg.Create(nullptr, L"again", 0, 0, MRect{}));
}

// Members of one named group: checking one unchecks the others whatever
// their class; other groups and ungrouped controls are left alone.
TEST_F(ControlsTest, NamedGroupsKeepOneMemberChecked) {
  Create();
  auto* a = dlg.Make<CRadioButton>(L"CRadioButton", 130, L"1.0mm");
  auto* b = dlg.Make<CRadioButton>(L"CRadioButton", 131, L"2.0mm");
  auto* other = dlg.Make<CRadioButton>(L"CRadioButton", 141);
  auto* box = dlg.Make<CCheckButton>(L"CCheckButton", 135);
  std::vector<DPIControl*> stages;
  for (int i = 0; i < 6; ++i) {
    stages.push_back(dlg.Make<DPIControl>(L"DPIControl", 101 + i));
    stages.back()->SetGroupName(L"MOUSE_DPICTRL");
  }
  a->SetGroupName(L"IDC_PER_STC_LOD");
  b->SetGroupName(L"IDC_PER_STC_LOD");
  other->SetGroupName(L"IDC_SYS_STC_SROLL");
  other->SetCheck(1);
  box->SetCheck(1);

  a->SetCheck(1);
  b->SetCheck(1);
  EXPECT_EQ(a->GetCheck(), 0);
  EXPECT_EQ(b->GetCheck(), 1);
  EXPECT_EQ(other->GetCheck(), 1);
  EXPECT_EQ(box->GetCheck(), 1);

  // Unchecking does not check anyone else.
  b->SetCheck(0);
  EXPECT_EQ(a->GetCheck() + b->GetCheck(), 0);

  stages[2]->SetCheckState(1);
  stages[5]->SetCheckState(1);
  for (int i = 0; i < 6; ++i) EXPECT_EQ(stages[i]->GetCheckState(), i == 5 ? 1 : 0) << i;

  // Clicks: a group member becomes checked (clicking it again keeps it),
  // an ungrouped check box toggles; every click reports 2.
  a->PerformClick();
  a->PerformClick();
  box->PerformClick();
  EXPECT_EQ(a->GetCheck(), 1);
  EXPECT_EQ(b->GetCheck(), 0);
  EXPECT_EQ(box->GetCheck(), 0);
  EXPECT_EQ(dlg.notifications, (std::vector<Notification>{{130, 2, 0}, {130, 2, 0}, {135, 2, 0}}));

  // A disabled control ignores the user.
  box->SetEnabled(false);
  box->PerformClick();
  EXPECT_EQ(box->GetCheck(), 0);
  EXPECT_EQ(dlg.notifications.size(), 3u);
}

TEST_F(ControlsTest, ComboBoxKeepsDataAndShowsTheChosenText) {
  Create();
  auto* combo = dlg.Make<MComboBox>(L"MComboBox", 126);
  EXPECT_EQ(combo->GetCurSel(), -1);
  EXPECT_EQ(combo->GetCurData(), 0);
  EXPECT_EQ(combo->GetCurText(), L"");
  const int data[] = {1, 3, 5, 10, 20, 30, 60};
  for (int d : data) combo->AddItem(FormatInt(d) + L" 分钟", d);
  EXPECT_EQ(combo->GetItemCount(), 7);

  EXPECT_TRUE(combo->SelectData(20));
  EXPECT_EQ(combo->GetCurSel(), 4);
  EXPECT_EQ(combo->GetCurData(), 20);
  EXPECT_EQ(combo->GetTitle(), L"20 分钟");
  EXPECT_FALSE(combo->SelectData(7));  // no such data: selection unchanged
  EXPECT_EQ(combo->GetCurSel(), 4);
  EXPECT_FALSE(combo->SetCurSel(7));
  EXPECT_EQ(combo->GetCurSel(), 4);

  EXPECT_TRUE(combo->SetItemText(4, L"20 min"));
  EXPECT_EQ(combo->GetTitle(), L"20 min");
  combo->SetTitle(L"Ctrl + A");  // the program's own title stays until the next choice
  EXPECT_EQ(combo->GetCurText(), L"20 min");

  combo->PerformSelect(6);
  EXPECT_EQ(combo->GetCurData(), 60);
  EXPECT_EQ(dlg.notifications.back(), (Notification{126, 2, 6}));

  combo->DelAllItems();
  EXPECT_EQ(combo->GetItemCount(), 0);
  EXPECT_EQ(combo->GetCurSel(), -1);
  EXPECT_EQ(combo->GetCurData(), 0);
  EXPECT_EQ(combo->GetTitle(), L"");
}

TEST_F(ControlsTest, EditsFilterTypedTextAndReportEnterChangeFinish) {
  Create();
  auto* edit = dlg.Make<MEdit>(L"MEdit", 176, L"10");
  edit->SetNumberOnly(true);
  edit->SetLimitText(5);
  edit->PerformEditEntered();
  edit->PerformEditText(L"12a34567");
  edit->PerformEditFinished();
  EXPECT_EQ(edit->GetEditText(), L"12345");
  EXPECT_EQ(dlg.notifications,
            (std::vector<Notification>{{176, 30, 0}, {176, 26, 0}, {176, 29, 0}}));

  auto* number = dlg.Make<NumberEdit>(L"NumberEdit", 85, L"19");
  number->SetRange(0, 20);
  number->PerformSpin(+1);
  number->PerformSpin(+1);
  EXPECT_EQ(number->GetEditText(), L"20");
  number->SetEditText(L"x");  // letters read as 0
  number->PerformSpin(-1);
  EXPECT_EQ(number->GetEditText(), L"0");
  EXPECT_EQ(dlg.notifications.back(), (Notification{85, 2, 0}));
}

// The response-time edit shows what the profile stores, and an imported
// profile may store any number: a spin from the ends of int stays in range.
TEST_F(ControlsTest, NumberEditSpinFromTheEndsOfIntStaysInRange) {
  Create();
  auto* number = dlg.Make<NumberEdit>(L"NumberEdit", 85, L"0");
  number->SetRange(0, 20);
  number->SetEditText(L"2147483647");
  number->PerformSpin(+1);
  EXPECT_EQ(number->GetEditText(), L"20");
  number->SetEditText(L"-2147483648");
  number->PerformSpin(-1);
  EXPECT_EQ(number->GetEditText(), L"0");
  number->SetEditText(L"99999999999");  // read as the largest int
  number->PerformSpin(+1);
  EXPECT_EQ(number->GetEditText(), L"20");
}

TEST_F(ControlsTest, SliderClampsAndReportsDragThenRelease) {
  Create();
  auto* slider = dlg.Make<DPISlider>(L"DPISlider", 107);
  slider->SetRange(1, 260);
  slider->SetProgress(500);
  EXPECT_EQ(slider->GetProgress(), 260);
  slider->SetProgress(-3);
  EXPECT_EQ(slider->GetProgress(), 1);
  slider->PerformSetProgress(121);
  EXPECT_EQ(slider->GetProgress(), 121);
  EXPECT_EQ(dlg.notifications, (std::vector<Notification>{{107, 26, 0}, {107, 2, 0}}));
  slider->SetRange(0, 19);  // narrowing pulls the position in
  EXPECT_EQ(slider->GetProgress(), 19);
}

TEST_F(ControlsTest, TabStripShowsTheChosenLayoutAndReportsTheItemIndex) {
  Create();
  auto* tab = dlg.Make<MTabCtrl>(L"MTabCtrl", 45);
  const int pages[] = {1, 2, 3, 4, 6};
  std::vector<MTabLayout*> layouts;
  std::vector<MText*> texts;
  for (int i = 0; i < 5; ++i) {
    layouts.push_back(dlg.Make<MTabLayout>(L"MTabLayout", 46 + i));
    texts.push_back(dlg.Make<MText>(L"MText", 300 + i));
    layouts[i]->AddControl(texts[i]);
    tab->AddItem(L"页" + FormatInt(i), L"icon\\tab_home.png", pages[i], layouts[i]);
  }
  EXPECT_EQ(tab->GetSelectItem(), 0);
  EXPECT_TRUE(texts[0]->IsShown());
  EXPECT_FALSE(texts[1]->IsShown());
  EXPECT_TRUE(texts[1]->IsVisible());  // its own flag is untouched

  tab->PerformSelect(2);
  tab->PerformSelect(2);  // no change, no report
  EXPECT_EQ(tab->GetItemData(tab->GetSelectItem()), 3);
  EXPECT_FALSE(texts[0]->IsShown());
  EXPECT_TRUE(texts[2]->IsShown());
  EXPECT_EQ(dlg.notifications, (std::vector<Notification>{{45, 2, 2}}));

  tab->SetEnabled(false);
  tab->PerformSelect(4);
  EXPECT_EQ(tab->GetSelectItem(), 2);
  tab->SetSelectItem(0);  // the program may still switch it
  EXPECT_TRUE(texts[0]->IsShown());
  EXPECT_FALSE(tab->SetSelectItem(9));
  EXPECT_TRUE(tab->SetItemText(4, L"设置"));
  EXPECT_EQ(tab->GetItemText(4), L"设置");
}

TEST_F(ControlsTest, MarkersEmojiAndMacroListReportTheirItems) {
  Create();
  auto* mouse = dlg.Make<MouseCtrl>(L"MouseCtrl", 87);
  for (int i = 1; i <= 8; ++i) mouse->AddItem(L"按键 " + FormatInt(i));
  EXPECT_EQ(mouse->GetSelectItem(), 0);
  EXPECT_TRUE(mouse->SetItemText(3, L"Ctrl + A"));
  mouse->PerformSelect(3);
  EXPECT_EQ(mouse->GetSelectItem(), 3);
  EXPECT_EQ(mouse->GetItemText(3), L"Ctrl + A");
  EXPECT_FALSE(mouse->SetSelectItem(8));

  auto* emoji = dlg.Make<EmojiControl>(L"EmojiControl", 40);
  std::wstring text = L"stale";
  EXPECT_EQ(emoji->GetSelectData(text), 0);
  EXPECT_EQ(text, L"");
  for (int n = 1; n <= 109; ++n) emoji->AddEmoji(n, L"表情" + FormatInt(n), L"emoji\\" + FormatInt(n - 1) + L".png");
  emoji->SetSelectItem(4);
  EXPECT_EQ(emoji->GetSelectData(text), 5);
  EXPECT_EQ(text, L"表情5");
  emoji->PerformSelect(108);
  EXPECT_EQ(emoji->GetSelectData(text), 109);

  auto* macros = dlg.Make<MacroList>(L"MacroList", 155);
  EXPECT_EQ(macros->AddString(L"宏 1", 11, -1), 0);
  EXPECT_EQ(macros->AddString(L"宏 2", 12, -1), 1);
  EXPECT_EQ(macros->AddString(L"宏 0", 10, 0), 0);
  EXPECT_EQ(macros->GetItemData(2), 12);
  macros->SetCurSel(2);
  EXPECT_TRUE(macros->DeleteItem(0));
  EXPECT_EQ(macros->GetCurSel(), 1);  // the selection stays on its item
  EXPECT_TRUE(macros->DeleteItem(1));
  EXPECT_EQ(macros->GetCurSel(), -1);
  macros->PerformRename(0, L"新名字");
  macros->PerformRightClickItem(0);
  EXPECT_EQ(macros->GetItemText(0), L"新名字");
  EXPECT_EQ(macros->GetItemText(5), L"");
  EXPECT_EQ(macros->GetItemData(5), 0);

  const std::vector<Notification> expected = {{87, 2, 3},  {40, 2, 108}, {155, 29, 0},
                                              {155, 9, 0}};
  EXPECT_EQ(dlg.notifications, expected);
}

TEST_F(ControlsTest, BatteryAndPictureStateFollowTheirSetters) {
  Create();
  auto* battery = dlg.Make<BatteryCtrl>(L"BatteryCtrl", 40);
  int changes = 0;
  battery->SetChangeListener([&] { ++changes; });
  battery->SetBatteryInfo(80, 1);
  battery->SetBatteryInfo(80, 1);  // no change, no signal
  EXPECT_EQ(battery->GetBatteryLevel(), 80);
  EXPECT_EQ(battery->GetBatteryState(), 1);
  EXPECT_EQ(changes, 1);
  battery->SetChangeListener({});
  battery->SetBatteryInfo(5, 0);
  EXPECT_EQ(changes, 1);

  auto* gif = dlg.Make<CGifPicture>(L"CGifPicture", 30);
  gif->SetImage(L"loading.gif");
  gif->Play();
  EXPECT_TRUE(gif->IsPlaying());
  gif->Stop();
  EXPECT_FALSE(gif->IsPlaying());
}

}  // namespace
}  // namespace tk410::test
