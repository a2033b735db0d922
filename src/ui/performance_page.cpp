// Page 3, DPI and performance: the six DPI stages with their slider, the
// report-rate row, and the cards of lighting, sleep, lift-off, sensor,
// scroll direction and game mode.

#include "base/text.h"
#include "device/device_manager.h"
#include "store/config_database.h"
#include "sync/sync_task.h"
#include "ui/message_box.h"
#include "ui/page_builder.h"
#include "ui/page_handlers.h"
#include "ui/performance_values.h"

namespace tk410 {

namespace {

const wchar_t* const kRateCaptions[] = {L"125Hz", L"250Hz", L"500Hz", L"1000Hz",
                                        L"2000Hz", L"4000Hz", L"8000Hz"};

// A "?" button whose title is its help text (language text `text_id`; 0: set by the caller).
PLKUI::CHelpButton* Help(PageBuilder& b, int id, int x, int y, int text_id) {
  return b.Control<PLKUI::CHelpButton>(L"CHelpButton", id, Box(x, y, 20, 20),
                                       text_id ? b.Lang(text_id) : std::wstring());
}

PLKUI::CImageButton* ImageButton(PageBuilder& b, int id, const PLKUI::MRect& r,
                                 const wchar_t* image, int tooltip) {
  auto* button = b.Control<PLKUI::CImageButton>(L"CImageButton", id, r);
  if (button) {
    if (image) button->SetImage(image);
    if (tooltip) button->SetTooltip(b.Lang(tooltip));
  }
  return button;
}

// One card of the lower grid: column 0..2, row 0..1; returns its left/top.
PLKUI::MRect GridCard(PageBuilder& b, int column, int row) {
  PLKUI::MRect card = Box(124 + column * 327, 412 + row * 162, 315, 150);
  b.Card(card);
  return card;
}

}  // namespace

void BuildPerformancePage(DeviceMainDlg& w, PLKUI::MTabLayout* layout) {
  PageBuilder b(w, layout);

  // DPI stages and slider.
  b.Card(Box(124, 76, 969, 240));
  b.Heading(ctl::kDpiHeading, Box(140, 88, 200, 24), 249);
  Help(b, ctl::kDpiHelp, 344, 90, kDpiHelpText);
  ImageButton(b, ctl::kDpiReset, Box(1049, 86, 28, 28), L"img_btn_reset.png", 253);
  b.Text(ctl::kDpiCountHeading, Box(700, 88, 200, 24), 260);
  if (auto* count = b.Control<PLKUI::MComboBox>(L"MComboBox", ctl::kDpiCount, Box(904, 84, 120, 30))) {
    for (int n = 1; n <= kDpiStageCount; ++n) count->AddItem(FormatInt(n), n);
    count->SetCurSel(kDpiStageCount - 1);
  }
  for (int n = 0; n < kDpiStageCount; ++n) {
    auto* stage = b.Control<PLKUI::DPIControl>(L"DPIControl", ctl::kFirstDpiStage + n,
                                               Box(140 + n * 158, 126, 146, 110),
                                               b.Lang(261) + FormatInt(n + 1));
    if (!stage) continue;
    stage->SetGroupName(L"MOUSE_DPICTRL");
    stage->SetColor(kDefaultDpiColors[n]);
    stage->SetDPIValue(kDefaultDpiValues[n]);
    stage->SetEditEnabled(true);
    if (n == 0) stage->SetCheck(1);
  }
  ImageButton(b, ctl::kDpiDown, Box(140, 258, 36, 36), L"img_btn_subtract.png", 0);
  if (auto* slider = b.Control<PLKUI::DPISlider>(L"DPISlider", ctl::kDpiSlider, Box(188, 258, 842, 36))) {
    slider->SetImage(L"img_area2.png");
    slider->SetRange(kDpiSliderLow, kDpiSliderHigh);
    slider->SetProgress(kDefaultDpiValues[0] / 100);
  }
  ImageButton(b, ctl::kDpiUp, Box(1041, 258, 36, 36), L"img_btn_addvalue.png", 0);

  // Report rate: one row; ArrangeRateButtons spreads the shown buttons.
  b.Card(Box(124, 326, 969, 76));
  b.Heading(ctl::kRateHeading, Box(140, 328, 200, 22), 255);
  Help(b, ctl::kRateHelp, 344, 329, kRateHelpText);
  ImageButton(b, ctl::kRateReset, Box(1053, 334, 24, 24), L"img_btn_reset.png", 257);
  for (int i = 0; i < 7; ++i) {
    auto* rate = b.Control<PLKUI::ColorButtonEx>(L"ColorButtonEx", ctl::kFirstRate + i,
                                                 Box(140 + i * 134, 352, 124, 38), kRateCaptions[i]);
    if (!rate) continue;
    rate->SetGroupName(L"REPORTRATE");
    rate->SetAlignment(PLKUI::kAlignCenter | PLKUI::kAlignVCenter);
    if (i == 0) rate->SetCheck(1);
  }

  // Lighting.
  PLKUI::MRect c = GridCard(b, 0, 0);
  b.Heading(ctl::kLightHeading, Box(c.left + 16, c.top + 12, 260, 24), 500);
  if (auto* light = b.Control<PLKUI::MComboBox>(L"MComboBox", ctl::kLightCombo,
                                                Box(c.left + 16, c.top + 52, 283, 34))) {
    for (int mode = 0; mode <= 6; ++mode) light->AddItem(b.Lang(531 + mode), mode);
    light->SetCurSel(0);
  }

  // Sleep time.
  c = GridCard(b, 1, 0);
  b.Heading(ctl::kSleepHeading, Box(c.left + 16, c.top + 12, 260, 24), 610);
  if (auto* sleep = b.Control<PLKUI::MComboBox>(L"MComboBox", ctl::kSleepCombo,
                                                Box(c.left + 16, c.top + 52, 283, 34))) {
    FillSleepItems(*sleep, b.Lang(611), b.Lang(613));
    sleep->SetCurSel(0);
  }

  // Lift-off distance.
  c = GridCard(b, 2, 0);
  if (auto* lift = b.Text(ctl::kLiftHeading, Box(c.left + 16, c.top + 12, 260, 24), 560, 14))
    lift->SetTextColor(theme::kText);
  b.Radio(ctl::kLift1mm, Box(c.left + 16, c.top + 52, 120, 28), L"1.0mm", L"IDC_PER_STC_LOD", true);
  b.Radio(ctl::kLift2mm, Box(c.left + 152, c.top + 52, 120, 28), L"2.0mm", L"IDC_PER_STC_LOD");

  // Sensor options.
  c = GridCard(b, 0, 1);
  b.Heading(ctl::kSensorHeading, Box(c.left + 16, c.top + 12, 240, 24), 573);
  if (auto* help = Help(b, ctl::kSensorHelp, c.left + 279, c.top + 14, 0))
    help->SetTitle(SensorHelpText(w));
  for (int i = 0; i < 3; ++i) {
    auto* box = b.Control<PLKUI::CCheckButton>(L"CCheckButton", ctl::kSensor4 + i,
                                               Box(c.left + 16, c.top + 44 + i * 32, 283, 28),
                                               b.Lang(585 + i));
    if (box && i == 2) box->SetCheck(1);
  }

  // Scroll direction.
  c = GridCard(b, 1, 1);
  b.Heading(ctl::kScrollHeading, Box(c.left + 16, c.top + 12, 240, 24), 600);
  Help(b, ctl::kScrollHelp, c.left + 279, c.top + 14, kScrollHelpText);
  b.Radio(ctl::kScrollNormal, Box(c.left + 16, c.top + 52, 283, 28), b.Lang(601), L"IDC_SYS_STC_SROLL", true);
  b.Radio(ctl::kScrollReverse, Box(c.left + 16, c.top + 88, 283, 28), b.Lang(602), L"IDC_SYS_STC_SROLL");

  // Game mode.
  c = GridCard(b, 2, 1);
  b.Heading(ctl::kGameHeading, Box(c.left + 16, c.top + 12, 240, 24), 605);
  Help(b, ctl::kGameHelp, c.left + 279, c.top + 14, kGameHelpText);
  b.Radio(ctl::kGameOn, Box(c.left + 16, c.top + 52, 283, 28), b.Lang(606), L"IDC_MOUSE_STC_GAMEMODE", true);
  b.Radio(ctl::kGameOff, Box(c.left + 16, c.top + 88, 283, 28), b.Lang(607), L"IDC_MOUSE_STC_GAMEMODE");
}

}  // namespace tk410

// ---------------------------------------------------------------- handlers

namespace tk410 {

namespace {

void Store(DeviceMainDlg& w, const wchar_t* key, const std::wstring& value) {
  w.Db().SetConfigValue(w.current_profile.load(), key, value);
}

bool Checked(DeviceMainDlg& w, int id) {
  auto* control = w.Control<PLKUI::MCheckControl>(id);
  return control && control->GetCheck() != 0;
}

void SetSliderDpi(DeviceMainDlg& w, int dpi) {
  if (auto* slider = w.Control<PLKUI::DPISlider>(ctl::kDpiSlider)) slider->SetProgress(dpi / 100);
}

std::wstring DpiKey(int stage) { return FormatW(L"dpi_group%d_value", stage); }

void SelectStage(DeviceMainDlg& w, int id) {
  w.current_dpi_control.store(id);
  if (auto* stage = w.Control<PLKUI::DPIControl>(id); stage && !stage->GetCheck()) stage->SetCheck(1);
}

void OnDpiStage(DeviceMainDlg& w, int id, int code) {
  auto* stage = w.Control<PLKUI::DPIControl>(id);
  if (!stage) return;
  const int n = id - ctl::kFirstDpiStage;
  switch (code) {
    case PLKUI::kNotifyClick:
      SelectStage(w, id);
      SetSliderDpi(w, stage->GetDPIValue());
      Store(w, L"dpi_index", FormatInt(n));
      break;
    case PLKUI::kNotifyTextChanging: {
      const int dpi = LimitTypedDpi(stage->GetDPIValue());
      if (dpi != stage->GetDPIValue()) stage->SetDPIValue(dpi);
      SetSliderDpi(w, dpi);
      break;
    }
    case PLKUI::kNotifyEditFinished: {
      SelectStage(w, id);
      const int dpi = FinishDpi(stage->GetDPIValue());
      stage->SetDPIValue(dpi);
      SetSliderDpi(w, dpi);
      Store(w, L"dpi_index", FormatInt(n));
      Store(w, DpiKey(n).c_str(), FormatInt(dpi));
      break;
    }
    default:
      break;
  }
}

void OnDpiSlider(DeviceMainDlg& w, int code) {
  auto* slider = w.Control<PLKUI::DPISlider>(ctl::kDpiSlider);
  if (!slider) return;
  int dpi = slider->GetProgress() * 100;
  if (dpi > kDpiMax) {
    dpi = kDpiMax;
    slider->SetProgress(kDpiMax / 100);
  }
  const int id = w.current_dpi_control.load();
  if (auto* stage = w.Control<PLKUI::DPIControl>(id)) stage->SetDPIValue(dpi);
  if (code == PLKUI::kNotifyClick)
    Store(w, DpiKey(id - ctl::kFirstDpiStage).c_str(), FormatInt(dpi / 100 * 100));
}

void OnDpiStep(DeviceMainDlg& w, int delta) {
  if (auto* slider = w.Control<PLKUI::DPISlider>(ctl::kDpiSlider))
    slider->SetProgress(slider->GetProgress() + delta);
  OnDpiSlider(w, PLKUI::kNotifyClick);
}

void ResetDpiStages(DeviceMainDlg& w) {
  if (w.ShowMessageBox(253, 258, kBoxTwoButtons) == PLKUI::kResultCancel) return;
  Store(w, L"dpi_count", L"5");
  for (int n = 0; n < kDpiStageCount; ++n) {
    auto* stage = w.Control<PLKUI::DPIControl>(ctl::kFirstDpiStage + n);
    if (stage) {
      stage->SetEnabled(true);
      stage->SetDPIValue(kDefaultDpiValues[n]);
      stage->SetColor(kDefaultDpiColors[n]);
    }
    Store(w, DpiKey(n).c_str(), FormatInt(kDefaultDpiValues[n]));
    Store(w, FormatW(L"dpi_group%d_rgb", n).c_str(), FormatInt(kDefaultDpiColors[n]));
  }
  Store(w, L"dpi_index", L"2");
  SelectStage(w, ctl::kFirstDpiStage + 2);
  SetSliderDpi(w, kDefaultDpiValues[2]);
}

// The Nordic family has no game mode at 2000 Hz and above.
void SetGameModeAvailable(DeviceMainDlg& w, bool available) {
  if (!available)
    if (auto* on = w.Control<PLKUI::CRadioButton>(ctl::kGameOn)) on->SetCheck(0);
  for (int id : {ctl::kGameOn, ctl::kGameOff})
    if (auto* radio = w.GetControl(id)) radio->SetEnabled(available);
}

// A rate in view only because it was stored (the page shows it but does
// not offer it) goes once another rate is stored.
void DropStoredOnlyRate(DeviceMainDlg& w) {
  bool dropped = false;
  for (int id = ctl::kFirstRate; id <= ctl::kLastRate; ++id) {
    auto* rate = w.GetControl(id);
    if (!rate || !rate->IsVisible() || rate->IsEnabled()) continue;
    rate->SetVisible(false);
    rate->SetEnabled(true);
    dropped = true;
  }
  if (dropped) w.ArrangeRateButtons();
}

void OnReportRate(DeviceMainDlg& w, int id) {
  const int index = id - ctl::kFirstRate;
  const bool nordic = w.IsNordicFamily();
  Store(w, L"report_rate", ReportRateValue(index, nordic));
  DropStoredOnlyRate(w);
  if (!nordic) return;
  const bool fast = id >= ctl::kFirstRate + 4;
  if (fast) Store(w, L"e-sports_flag", L"1");
  SetGameModeAvailable(w, !fast);
}

void ResetReportRate(DeviceMainDlg& w) {
  if (w.ShowMessageBox(257, 259, kBoxTwoButtons) == PLKUI::kResultCancel) return;
  std::wstring value;
  if (w.IsNordicFamily())
    value = L"3";
  else
    value = w.Devices().ActiveMode() != 0 ? L"2" : L"4";
  Store(w, L"report_rate", value);
  if (auto* rate = w.Control<PLKUI::ColorButtonEx>(ctl::kRate1000)) rate->SetCheck(1);
  DropStoredOnlyRate(w);
}

void StoreComboData(DeviceMainDlg& w, int id, const wchar_t* key) {
  if (auto* combo = w.Control<PLKUI::MComboBox>(id)) Store(w, key, FormatInt(combo->GetCurData()));
}

}  // namespace

intptr_t OnPerformanceMessage(DeviceMainDlg& w, int id, int code) {
  if (id >= ctl::kFirstDpiStage && id <= ctl::kLastDpiStage) {
    OnDpiStage(w, id, code);
    return 0;
  }
  if (id == ctl::kDpiSlider) {
    OnDpiSlider(w, code);
    return 0;
  }
  if (id >= ctl::kFirstRate && id <= ctl::kLastRate) {
    OnReportRate(w, id);
    return 0;
  }
  if (const RadioPairSetting* pair = FindRadioPair(id)) {
    Store(w, pair->key, Checked(w, pair->checked_id) ? pair->when_checked : pair->otherwise);
    return 0;
  }
  switch (id) {
    case ctl::kDpiReset:
      ResetDpiStages(w);
      break;
    case ctl::kDpiUp:
      OnDpiStep(w, 1);
      break;
    case ctl::kDpiDown:
      OnDpiStep(w, -1);
      break;
    case ctl::kRateReset:
      ResetReportRate(w);
      break;
    case ctl::kLightCombo:
      if (auto* combo = w.Control<PLKUI::MComboBox>(id)) {
        const int mode = combo->GetCurData();
        Store(w, L"light_mode", FormatInt(mode));
        w.current_light_mode.store(mode);
        w.Enqueue(kTaskLightMode);
      }
      break;
    case ctl::kSleepCombo:
      StoreComboData(w, id, L"sleep_light");
      break;
    case ctl::kSensor4:
    case ctl::kSensor8:
    case ctl::kSensor16:
      Store(w, L"sensor_flag",
            FormatInt(SensorFlag(Checked(w, ctl::kSensor4), Checked(w, ctl::kSensor8), Checked(w, ctl::kSensor16))));
      break;
    default:
      break;
  }
  return 0;
}

}  // namespace tk410
