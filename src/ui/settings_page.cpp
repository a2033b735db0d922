// Page 6, settings: versions, start with the system, language, factory
// reset, left-button lock, the mouse control panel, and the system pointer
// settings.

#include "app/lang_text.h"
#include "base/text.h"
#include "ui/page_builder.h"
#include "ui/system_settings_page.h"

namespace tk410 {

namespace {

// A label on the left of a card row and its control on the right.
constexpr int kLeftCard = 124;
constexpr int kRightCard = 614;
constexpr int kCardWidth = 479;

PLKUI::CSwitchButton* Switch(PageBuilder& b, int id, int y) {
  auto* sw = b.Control<PLKUI::CSwitchButton>(L"CSwitchButton", id, Box(kLeftCard + kCardWidth - 76, y, 60, 30));
  if (sw) {
    sw->SetImage(L"img_switch_btn_off.png");
    sw->SetImages(L"img_switch_btn_off.png", L"img_switch_btn_on.png");
  }
  return sw;
}

PLKUI::MSlider* SliderAt(PageBuilder& b, int id, const PLKUI::MRect& rect, int low, int high) {
  auto* slider = b.Control<PLKUI::MSlider>(L"MSlider", id, rect);
  if (slider) {
    slider->SetThumbImage(L"img_slider_bar.png");
    slider->SetRange(low, high);
  }
  return slider;
}

PLKUI::MSlider* Slider(PageBuilder& b, int id, int y, int low, int high) {
  return SliderAt(b, id, Box(kRightCard + 76, y, 300, 28), low, high);
}

// One row of a pointer slider: "Slow", the slider, "Fast", then its value
// (and the value's unit, when it has one) at the row's right end.
PLKUI::MSlider* SliderRow(PageBuilder& b, int id, int y, int low, int high, int slow_id, int fast_id,
                          int value_id, int unit_id) {
  b.Text(slow_id, Box(kRightCard + 16, y, 48, 28), 632, 12);
  auto* slider = SliderAt(b, id, Box(kRightCard + 66, y, 252, 28), low, high);
  b.Text(fast_id, Box(kRightCard + 322, y, 64, 28), 633, 12);
  const int value_width = unit_id ? 46 : 77;
  if (auto* value = b.Text(value_id, Box(kRightCard + 386, y, value_width, 28), 0))
    value->SetAlignment(PLKUI::kAlignRight | PLKUI::kAlignVCenter);
  if (unit_id) b.Text(unit_id, Box(kRightCard + 386 + value_width + 4, y, 77 - value_width - 4, 28), kDoubleClickUnitText);
  return slider;
}

}  // namespace

void BuildSettingsPage(DeviceMainDlg& w, PLKUI::MTabLayout* layout) {
  PageBuilder b(w, layout);
  b.Heading(ctl::kSettingsHeading, Box(kLeftCard + 16, 80, 400, 26), 650);

  // Left column: device and program.
  b.Card(Box(kLeftCard, 116, kCardWidth, 612));
  const int version_names[] = {ctl::kVersionNameA, ctl::kVersionNameB, ctl::kVersionNameC};
  const int version_values[] = {ctl::kVersionLabelA, ctl::kVersionLabelB, ctl::kVersionLabelC};
  for (int i = 0; i < 3; ++i) {
    const int y = 132 + i * 36;
    b.Text(version_names[i], Box(kLeftCard + 16, y, 220, 28), 651 + i);
    if (auto* value = b.Text(version_values[i], Box(kLeftCard + 240, y, 223, 28), 0))
      value->SetTextColor(theme::kMuted);
  }
  b.Text(ctl::kAutostartLabel, Box(kLeftCard + 16, 262, 360, 30), 654);
  Switch(b, ctl::kAutostart, 262);
  b.Text(ctl::kLanguageLabel, Box(kLeftCard + 16, 318, 220, 30), 657);
  if (auto* language = b.Control<PLKUI::MComboBox>(L"MComboBox", ctl::kLanguage,
                                                   Box(kLeftCard + 263, 316, 200, 34))) {
    language->AddItem(L"\u7B80\u4F53\u4E2D\u6587", 2052);
    language->AddItem(L"English", 1033);
    // The language the window shows is the one selected.
    if (const LanguageTexts* texts = w.Services().texts) language->SelectData(texts->CurrentLanguage());
  }
  b.Text(ctl::kFactoryResetLabel, Box(kLeftCard + 16, 376, 260, 30), 658);
  b.Button(ctl::kFactoryReset, Box(kLeftCard + 303, 372, 160, 38), 659);
  b.Text(ctl::kLeftLockLabel, Box(kLeftCard + 16, 432, 360, 30), 672);
  Switch(b, ctl::kLeftLock, 432);
  b.Text(ctl::kControlPanelLabel, Box(kLeftCard + 16, 490, 260, 30), 630);
  b.Button(ctl::kControlPanel, Box(kLeftCard + 303, 486, 160, 38), 641);
  b.Text(ctl::kRulesLabel, Box(kLeftCard + 16, 548, 280, 30), 1000);
  b.Button(ctl::kRulesButton, Box(kLeftCard + 303, 544, 160, 38), 1001);
  if (auto* status = b.Text(ctl::kRulesStatus, Box(kLeftCard + 16, 592, 447, 56), 0, 12))
    status->SetTextColor(theme::kMuted);

  // Right column: system pointer settings.
  b.Card(Box(kRightCard, 116, kCardWidth, 612));
  b.Heading(ctl::kPointerHeading, Box(kRightCard + 16, 132, 300, 26), 630);
  b.Text(ctl::kPointerHeading2, Box(kRightCard + 16, 164, 360, 26), 631);
  if (auto* help = b.Control<PLKUI::CHelpButton>(L"CHelpButton", ctl::kPointerHelp,
                                                 Box(kRightCard + 443, 134, 20, 20), L"?"))
    help->SetTitle(PointerHelpText(w));
  SliderRow(b, ctl::kPointerSpeed, 208, 0, 19, ctl::kSlowLabel, ctl::kFastLabel, ctl::kPointerSpeedValue, 0);
  b.Control<PLKUI::CCheckButton>(L"CCheckButton", ctl::kPointerPrecision,
                                 Box(kRightCard + 16, 252, 447, 28), b.Lang(634));

  b.Text(ctl::kWheelLinesLabel, Box(kRightCard + 16, 310, 447, 26), 635);
  // The slider and the spin show the same number of lines, 1 to 20.
  if (auto* lines = Slider(b, ctl::kWheelLinesSlider, 344, 1, 20)) lines->SetProgress(3);
  if (auto* amount = b.Control<PLKUI::NumberEdit2>(L"NumberEdit2", ctl::kWheelLines,
                                                   Box(kRightCard + 16, 342, 56, 30), L"3"))
    amount->SetRange(1, 20);
  b.Radio(ctl::kWheelUnit1, Box(kRightCard + 16, 386, 200, 28), b.Lang(637), L"IDC_SYS_WHEEL_UNIT");
  b.Radio(ctl::kWheelUnit2, Box(kRightCard + 230, 386, 200, 28), b.Lang(636), L"IDC_SYS_WHEEL_UNIT", true);

  b.Text(ctl::kDoubleClickLabel, Box(kRightCard + 16, 440, 360, 26), 638);
  SliderRow(b, ctl::kDoubleClick, 474, 0, 10, ctl::kSlowLabel2, ctl::kFastLabel2, ctl::kDoubleClickValue,
            ctl::kDoubleClickUnit);

  // Which of the values above the desktop does not apply (filled with them).
  if (auto* note = b.Text(ctl::kPointerNote, Box(kRightCard + 16, 540, 447, 172), 0, 12)) {
    note->SetTextColor(theme::kMuted);
    note->SetVisible(false);
  }
}

}  // namespace tk410
