// What InitUI builds and how the window routes notifications.

#include "ui/pages_fixture.h"

namespace tk410 {
namespace {

using PLKUI::MRect;

// Every control a handler or another part of the program reaches, with its
// class and (where the page shows one) the language text of its caption.
struct Expected {
  int id;
  const wchar_t* class_name;
  int text_id;  // 0: not checked
};
const Expected kControls[] = {
    {30, L"MPicture", 0},       {31, L"MPicture", 0},      {35, L"MText", 0},
    {36, L"CImageButton", 0},   {37, L"CImageButton", 0},  {38, L"CImageButton", 0},
    {40, L"BatteryCtrl", 0},    {41, L"CDeviceState", 50}, {44, L"CTextButton", 0},
    {45, L"MTabCtrl", 0},       {49, L"MTabLayout", 0},    {54, L"MText", 57},
    {56, L"MText", 0},          {59, L"MText", 101},       {60, L"MComboBox", 0},
    {62, L"MComboBox", 0},      {82, L"MComboBox", 0},     {85, L"NumberEdit", 0},
    {87, L"MouseCtrl", 0},      {88, L"MButton", 22},      {89, L"MButton", 21},
    {90, L"MButton", 112},      {91, L"MButton", 113},     {92, L"MButton", 114},
    {95, L"MText", 249},        {97, L"CHelpButton", 0},   {98, L"CImageButton", 0},
    {100, L"MComboBox", 0},     {101, L"DPIControl", 0},   {106, L"DPIControl", 0},
    {107, L"DPISlider", 0},     {108, L"CImageButton", 0}, {109, L"CImageButton", 0},
    {111, L"MText", 255},       {113, L"CImageButton", 0}, {114, L"ColorButtonEx", 0},
    {120, L"ColorButtonEx", 0}, {122, L"MText", 500},      {123, L"MComboBox", 0},
    {125, L"MText", 610},       {126, L"MComboBox", 0},    {128, L"MText", 560},
    {130, L"CRadioButton", 0},  {131, L"CRadioButton", 0}, {134, L"CHelpButton", 0},
    {135, L"CCheckButton", 585}, {137, L"CCheckButton", 587}, {141, L"CRadioButton", 601},
    {142, L"CRadioButton", 602}, {146, L"CRadioButton", 606}, {147, L"CRadioButton", 607},
    {151, L"MText", 350},       {155, L"MacroList", 0},    {156, L"MButton", 353},
    {166, L"CRecordList", 0},   {170, L"CIconButton", 358}, {176, L"MEdit", 0},
    {184, L"MComboBox", 0},     {186, L"MComboBox", 0},    {197, L"MEdit", 0},
    {233, L"MText", 650},       {238, L"MSlider", 0},      {242, L"CCheckButton", 634},
    {244, L"MSlider", 0},       {247, L"NumberEdit2", 0},  {251, L"MSlider", 0},
    {260, L"MText", 0},         {265, L"CSwitchButton", 0}, {268, L"MComboBox", 0},
    {271, L"MButton", 659},     {274, L"CSwitchButton", 0}, {276, L"MButton", 641},
};

TEST_F(WindowTest, InitUIBuildsEveryControlWithItsClassAndCaption) {
  for (const Expected& e : kControls) {
    auto* control = window->GetControl(e.id);
    ASSERT_NE(control, nullptr) << e.id;
    EXPECT_EQ(control->GetClassName(), e.class_name) << e.id;
    if (e.text_id) {
      EXPECT_EQ(dynamic_cast<PLKUI::MControlFont*>(control)->GetTitle(), L"T" + FormatInt(e.text_id)) << e.id;
    }
  }
  EXPECT_EQ(C<PLKUI::MText>(35)->GetTitle(), L"TEVO TK410");
  EXPECT_EQ(C<PLKUI::DPIControl>(103)->GetTitle(), L"T2613");
  EXPECT_EQ(C<PLKUI::ColorButtonEx>(117)->GetTitle(), L"1000Hz");
  EXPECT_EQ(C<PLKUI::CImageButton>(36)->GetTooltip(), L"T5");
  EXPECT_EQ(C<PLKUI::CImageButton>(98)->GetTooltip(), L"T253");
}

TEST_F(WindowTest, InitialStatesAndOptionLists) {
  auto* tabs = C<PLKUI::MTabCtrl>(45);
  ASSERT_EQ(tabs->GetItemCount(), 5);
  const int pages[] = {1, 2, 3, 4, 6};
  for (int i = 0; i < 5; ++i) EXPECT_EQ(tabs->GetItemData(i), pages[i]);
  EXPECT_EQ(tabs->GetItemText(4), L"T76");
  EXPECT_EQ(tabs->GetSelectItem(), 0);
  EXPECT_FALSE(C<PLKUI::MControl>(31)->IsVisible());
  EXPECT_FALSE(C<PLKUI::MControl>(49)->IsVisible());

  for (int id : {114, 130, 137, 141, 146, 173, 181, 249})
    EXPECT_EQ(C<PLKUI::MCheckControl>(id)->GetCheck(), 1) << id;
  for (int id : {115, 131, 135, 136, 142, 147})
    EXPECT_EQ(C<PLKUI::MCheckControl>(id)->GetCheck(), 0) << id;
  // The step and move editors wait for a chosen step.
  for (int id : {184, 185, 186, 188, 189, 191, 193, 195, 197}) EXPECT_FALSE(C<PLKUI::MControl>(id)->IsVisible()) << id;
  EXPECT_FALSE(C<PLKUI::MEdit>(176)->IsEnabled());
  EXPECT_EQ(C<PLKUI::MEdit>(176)->GetEditText(), L"10");
  EXPECT_EQ(C<PLKUI::MEdit>(182)->GetEditText(), L"1");

  auto* light = C<PLKUI::MComboBox>(123);
  ASSERT_EQ(light->GetItemCount(), 7);
  EXPECT_EQ(light->GetItemText(6), L"T537");
  EXPECT_EQ(light->GetItemData(6), 6);
  auto* sleep = C<PLKUI::MComboBox>(126);
  ASSERT_EQ(sleep->GetItemCount(), 7);
  EXPECT_EQ(sleep->GetItemText(3), L"10 T611");
  EXPECT_EQ(sleep->GetItemText(6), L"1 T613");
  EXPECT_EQ(sleep->GetItemData(6), 60);
  auto* mouse = C<PLKUI::MouseCtrl>(87);
  ASSERT_EQ(mouse->GetItemCount(), 8);
  EXPECT_EQ(mouse->GetItemText(0), L"T103 1");
  EXPECT_EQ(mouse->GetItemText(7), L"T80 8");
  EXPECT_EQ(C<PLKUI::MComboBox>(268)->GetItemData(0), 2052);
  EXPECT_EQ(C<PLKUI::MSlider>(244)->GetProgress(), 3);
}

TEST_F(WindowTest, ReportRateButtonsShareOneRowAndLayoutScales) {
  int previous_right = 0;
  int top = C<PLKUI::MControl>(114)->GetRect().top;
  for (int id = 114; id <= 120; ++id) {
    MRect r = C<PLKUI::MControl>(id)->GetRect();
    EXPECT_EQ(r.top, top) << id;
    EXPECT_GE(r.left, previous_right) << id;
    previous_right = r.right;
  }
  // Fewer buttons shown: they spread over the same row.
  for (int id = 118; id <= 120; ++id) C<PLKUI::MControl>(id)->SetVisible(false);
  window->ArrangeRateButtons();
  EXPECT_GT(C<PLKUI::MControl>(114)->GetRect().Width(), 200);

  MRect before = C<PLKUI::MControl>(88)->GetRect();
  window->UISize(MRect{0, 0, 2242, 1560});
  MRect after = C<PLKUI::MControl>(88)->GetRect();
  EXPECT_EQ(after.left, before.left * 2);
  EXPECT_EQ(after.Width(), before.Width() * 2);
  EXPECT_TRUE(window->GetMessageText().empty());  // no Bluetooth connection
}

TEST_F(WindowTest, PageChangeShowsTheSecondBackgroundAwayFromHome) {
  auto* tabs = C<PLKUI::MTabCtrl>(45);
  tabs->PerformSelect(2);
  EXPECT_EQ(window->current_page.load(), 3);
  EXPECT_TRUE(C<PLKUI::MControl>(31)->IsVisible());
  EXPECT_TRUE(C<PLKUI::MControl>(101)->IsShown());
  EXPECT_FALSE(C<PLKUI::MControl>(88)->IsShown());
  tabs->PerformSelect(4);
  EXPECT_EQ(window->current_page.load(), 6);
  EXPECT_TRUE(C<PLKUI::MControl>(31)->IsVisible());
  tabs->PerformSelect(0);
  EXPECT_EQ(window->current_page.load(), 1);
  EXPECT_FALSE(C<PLKUI::MControl>(31)->IsVisible());
}

TEST_F(WindowTest, ButtonsReactToClicksOnlyAndMaximiseSwapsItsImage) {
  // A right click on the write button does nothing.
  EXPECT_EQ(window->OnMessage(88, PLKUI::kNotifyRightClick, 0), 0);
  EXPECT_TRUE(QueuedTasks().empty());
  EXPECT_TRUE(runtime.ModalLog().empty());

  Click(38);
  EXPECT_TRUE(window->IsZoomed());
  EXPECT_EQ(C<PLKUI::MControl>(38)->GetImage(), L"sysbtn_restore.png");
  Click(38);
  EXPECT_FALSE(window->IsZoomed());
  EXPECT_EQ(C<PLKUI::MControl>(38)->GetImage(), L"sysbtn_maximize.png");
}

TEST_F(WindowTest, WorkerResultMessagesShowTheirNotices) {
  // 1714 lParam 1: texts 115 / 210; any other: 112 / 212; one button each.
  std::vector<std::pair<std::wstring, std::wstring>> shown;
  auto record = [&](PLKUI::MWindow& w) {
    auto& box = dynamic_cast<PLKUI::MDialog&>(w);
    shown.emplace_back(box.GetControlAs<PLKUI::MText>(31)->GetTitle(),
                       box.GetControlAs<PLKUI::MText>(32)->GetTitle());
    EXPECT_NE(box.GetControl(33), nullptr);
    EXPECT_EQ(box.GetControl(34), nullptr);
  };
  runtime.AnswerNextModal(1, record);
  runtime.AnswerNextModal(1, record);
  window->OnWindowMessage(1714, 0, 1);
  window->OnWindowMessage(1714, 0, 2);
  ASSERT_EQ(shown.size(), 2u);
  EXPECT_EQ(shown[0], std::make_pair(std::wstring(L"T115"), std::wstring(L"T210")));
  EXPECT_EQ(shown[1], std::make_pair(std::wstring(L"T112"), std::wstring(L"T212")));
  EXPECT_EQ(runtime.ModalLog()[0].title, L"MessageBox");
}

TEST_F(WindowTest, CloseAndExitMessageEndTheProgramCleanly) {
  window->OnWindowMessage(1691, 0, 5);  // another lParam: nothing
  EXPECT_FALSE(window->ProgramEnded());
  EXPECT_TRUE(db.IsOpen());

  window->OnWindowMessage(1691, 0, 610);
  EXPECT_TRUE(window->ProgramEnded());
  EXPECT_FALSE(db.IsOpen());
  EXPECT_EQ(window->PendingModalEnd(), std::optional<int>(0));  // the modal run ends with 0
  Click(36);  // a second exit does nothing more
  EXPECT_FALSE(window->ProgramEnded() && db.IsOpen());
}

}  // namespace
}  // namespace tk410
