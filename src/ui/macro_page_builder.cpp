// Page 4, macros: the macro list, the step list with its column headings,
// the recorder button, the delay and play settings, and the step and move
// editors (hidden until a step is chosen).

#include "ui/macro_page_builder.h"

#include "ui/page_builder.h"

namespace tk410 {

namespace {

PLKUI::MEdit* DigitsEdit(PageBuilder& b, int id, const PLKUI::MRect& r, const std::wstring& text,
                         int limit) {
  auto* edit = b.Control<PLKUI::MEdit>(L"MEdit", id, r, text);
  if (edit) {
    edit->SetNumberOnly(true);
    edit->SetLimitText(limit);
  }
  return edit;
}

}  // namespace

void ShowStepEditor(DeviceMainDlg& w, bool step_editor, bool move_editor) {
  for (int id : kStepEditorIds)
    if (auto* c = w.GetControl(id)) c->SetVisible(step_editor);
  for (int id : kMoveEditorIds)
    if (auto* c = w.GetControl(id)) c->SetVisible(move_editor);
}

void BuildMacroPage(DeviceMainDlg& w, PLKUI::MTabLayout* layout) {
  PageBuilder b(w, layout);

  // Macro list.
  b.Card(Box(124, 76, 272, 652));
  b.Heading(ctl::kMacroListHeading, Box(140, 88, 240, 24), 350);
  if (auto* list = b.Control<PLKUI::MacroList>(L"MacroList", ctl::kMacroList, Box(140, 120, 240, 528)))
    list->SetMoreImage(L"btn_more.png");
  b.Button(ctl::kMacroNew, Box(140, 660, 76, 36), 353);
  b.Button(ctl::kMacroImport, Box(222, 660, 76, 36), 26);
  b.Button(ctl::kMacroExport, Box(304, 660, 76, 36), 27);

  // Step list.
  b.Card(Box(408, 76, 320, 652));
  b.Heading(ctl::kStepListHeading, Box(424, 88, 288, 24), 352);
  b.Text(ctl::kStepColumn1, Box(424, 120, 60, 22), 388, 12);
  b.Text(ctl::kStepColumn2, Box(488, 120, 140, 22), 389, 12);
  b.Text(ctl::kStepColumn3, Box(632, 120, 80, 22), 390, 12);
  b.Control<PLKUI::CRecordList>(L"CRecordList", ctl::kStepList, Box(424, 146, 288, 502));
  b.Button(ctl::kStepInsert, Box(424, 660, 140, 36), 39);
  b.Button(ctl::kStepDelete, Box(572, 660, 140, 36), 357);

  // Recorder, delay and play settings.
  b.Card(Box(740, 76, 353, 652));
  if (auto* rec = b.Control<PLKUI::CIconButton>(L"CIconButton", ctl::kRecord, Box(756, 88, 321, 40),
                                                b.Lang(358)))
    rec->SetIcon(L"icon\\icon_rec.png");
  b.Heading(ctl::kDelayHeading, Box(756, 142, 321, 22), 360);
  const wchar_t* delay_group = L"IDC_MACRO_STC_DELAYSET";
  b.Radio(ctl::kDelayNone, Box(756, 170, 321, 26), b.Lang(361), delay_group);
  b.Radio(ctl::kDelayRecorded, Box(756, 200, 321, 26), b.Lang(362), delay_group, true);
  b.Radio(ctl::kDelayFixed, Box(756, 230, 200, 26), b.Lang(363), delay_group);
  if (auto* delay = DigitsEdit(b, ctl::kDelayEdit, Box(985, 228, 92, 30), L"10", 5)) delay->SetEnabled(false);

  b.Heading(ctl::kPlayHeading, Box(756, 272, 321, 22), 364);
  const wchar_t* play_group = L"IDC_MACRO_RADIO_LOOP1";
  b.Radio(ctl::kPlayMode1, Box(756, 300, 321, 26), b.Lang(365), play_group);
  b.Radio(ctl::kPlayMode2, Box(756, 330, 321, 26), b.Lang(366), play_group);
  b.Radio(ctl::kPlayRepeat, Box(756, 360, 200, 26), b.Lang(367), play_group, true);
  DigitsEdit(b, ctl::kRepeatEdit, Box(985, 358, 92, 30), L"1", 3);

  // Step editor.
  b.Text(ctl::kStepKindLabel, Box(756, 410, 321, 22), 391);
  b.Control<PLKUI::MComboBox>(L"MComboBox", ctl::kStepKind, Box(756, 436, 321, 32));
  b.Text(ctl::kStepValueLabel, Box(756, 480, 321, 22), 392);
  DigitsEdit(b, ctl::kStepValue, Box(756, 506, 321, 32), L"", 5);
  if (auto* buttons = b.Control<PLKUI::MComboBox>(L"MComboBox", ctl::kStepButton, Box(756, 506, 321, 32))) {
    const int texts[] = {121, 122, 123, 124, 125, 127, 128};
    const int data[] = {1, 3, 2, 5, 6, 7, 8};
    for (int i = 0; i < 7; ++i) buttons->AddItem(b.Lang(texts[i]), data[i]);
  }
  b.Control<PLKUI::MButton>(L"MButton", ctl::kStepUp, Box(756, 552, 156, 34), L"\u25B2");
  b.Control<PLKUI::MButton>(L"MButton", ctl::kStepDown, Box(921, 552, 156, 34), L"\u25BC");

  // Move editor (same place as the step editor; one of them is shown).
  b.Text(ctl::kMoveLabelX, Box(756, 410, 321, 22), 0);
  b.Radio(ctl::kMoveLeft, Box(756, 436, 100, 28), b.Lang(411), L"IDC_MACRO_MOVE_STC_X");
  b.Radio(ctl::kMoveRight, Box(860, 436, 100, 28), b.Lang(412), L"IDC_MACRO_MOVE_STC_X");
  DigitsEdit(b, ctl::kMoveX, Box(985, 434, 92, 30), L"", 3);
  b.Text(ctl::kMoveLabelY, Box(756, 480, 321, 22), 0);
  b.Radio(ctl::kMoveUp, Box(756, 506, 100, 28), b.Lang(413), L"IDC_MACRO_MOVE_STC_Y");
  b.Radio(ctl::kMoveDown, Box(860, 506, 100, 28), b.Lang(414), L"IDC_MACRO_MOVE_STC_Y");
  DigitsEdit(b, ctl::kMoveY, Box(985, 504, 92, 30), L"", 3);
  // The direction radios also carry their text as tooltip.
  const int move_radios[] = {ctl::kMoveLeft, ctl::kMoveRight, ctl::kMoveUp, ctl::kMoveDown};
  for (int i = 0; i < 4; ++i)
    if (auto* radio = w.GetControl(move_radios[i])) radio->SetTooltip(w.LangText(411 + i));

  ShowStepEditor(w, false, false);
}

}  // namespace tk410
