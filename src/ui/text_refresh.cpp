// Puts every language-dependent text of the main window in the current
// language: frame, button page, DPI and performance page, macro page and
// settings page, in that order. Each control gets the same text its page
// builder gave it, so a caption after a refresh equals its caption at
// creation in the same language. Controls that do not exist are skipped.

#include <iterator>

#include "app/language_files.h"
#include "base/text.h"
#include "device/device_manager.h"
#include "plkui/controls.h"
#include "ui/device_main_dlg.h"
#include "ui/profile_follower.h"
#include "ui/performance_values.h"
#include "ui/system_settings_page.h"

namespace tk410 {

namespace {

struct Caption {
  int control;
  int text;
};

// Captions of the button page (after the profile list).
constexpr Caption kKeyPageCaptions[] = {
    {ctl::kProfileHeading, 101}, {ctl::kResponseHeading, 111}, {ctl::kWriteButton, 22},
    {ctl::kReadButton, 21},      {ctl::kRestoreButton, 112},   {ctl::kImportProfile, 113},
    {ctl::kExportProfile, 114},
};

constexpr Caption kPerformanceCaptions[] = {
    {ctl::kDpiHeading, 249},     {ctl::kDpiCountHeading, 260}, {ctl::kRateHeading, 255},
    {ctl::kLightHeading, 500},   {ctl::kSleepHeading, 610},    {ctl::kLiftHeading, 560},
    {ctl::kSensorHeading, 573},  {ctl::kSensor4, 585},         {ctl::kSensor8, 586},
    {ctl::kSensor16, 587},       {ctl::kScrollHeading, 600},   {ctl::kScrollNormal, 601},
    {ctl::kScrollReverse, 602},  {ctl::kGameHeading, 605},     {ctl::kGameOn, 606},
    {ctl::kGameOff, 607},        {ctl::kDpiHelp, kDpiHelpText}, {ctl::kRateHelp, kRateHelpText},
    {ctl::kScrollHelp, kScrollHelpText}, {ctl::kGameHelp, kGameHelpText},
};
constexpr Caption kPerformanceTooltips[] = {{ctl::kDpiReset, 253}, {ctl::kRateReset, 257}};

constexpr Caption kMacroCaptions[] = {
    {ctl::kMacroListHeading, 350}, {ctl::kMacroNew, 353},       {ctl::kMacroImport, 26},
    {ctl::kMacroExport, 27},       {ctl::kStepListHeading, 352}, {ctl::kStepColumn1, 388},
    {ctl::kStepColumn2, 389},      {ctl::kStepColumn3, 390},    {ctl::kStepInsert, 39},
    {ctl::kStepDelete, 357},       {ctl::kRecord, 358},         {ctl::kDelayHeading, 360},
    {ctl::kDelayNone, 361},        {ctl::kDelayRecorded, 362},  {ctl::kDelayFixed, 363},
    {ctl::kPlayHeading, 364},      {ctl::kPlayMode1, 365},      {ctl::kPlayMode2, 366},
    {ctl::kPlayRepeat, 367},       {ctl::kStepKindLabel, 391},  {ctl::kStepValueLabel, 392},
};
// The move editor's direction radios carry their text as caption and tooltip.
constexpr Caption kMoveRadios[] = {
    {ctl::kMoveLeft, 411}, {ctl::kMoveRight, 412}, {ctl::kMoveUp, 413}, {ctl::kMoveDown, 414}};
// The mouse-button combo of the step editor, items 0..6.
constexpr int kStepButtonTexts[] = {121, 122, 123, 124, 125, 127, 128};

constexpr Caption kSettingsCaptions[] = {
    {ctl::kSettingsHeading, 650},  {ctl::kVersionNameA, 651},      {ctl::kVersionNameB, 652},
    {ctl::kVersionNameC, 653},     {ctl::kAutostartLabel, 654},    {ctl::kLanguageLabel, 657},
    {ctl::kFactoryResetLabel, 658}, {ctl::kFactoryReset, 659},     {ctl::kLeftLockLabel, 672},
    {ctl::kControlPanelLabel, 630}, {ctl::kControlPanel, 641},     {ctl::kPointerHeading, 630},
    {ctl::kPointerHeading2, 631},  {ctl::kSlowLabel, 632},         {ctl::kFastLabel, 633},
    {ctl::kPointerPrecision, 634}, {ctl::kWheelLinesLabel, 635},   {ctl::kWheelPage, 637},
    {ctl::kWheelLinesRadio, 636},  {ctl::kDoubleClickLabel, 638},  {ctl::kSlowLabel2, 632},
    {ctl::kFastLabel2, 633},       {ctl::kDoubleClickUnit, kDoubleClickUnitText},
    {ctl::kRulesLabel, 1000},      {ctl::kRulesButton, 1001},
};

constexpr Caption kFrameTooltips[] = {{ctl::kClose, 5}, {ctl::kMinimize, 6}, {ctl::kMaximize, 7}};
// Tab items 0..4: home, buttons, DPI, macros, settings.
constexpr int kTabTexts[] = {71, 72, 73, 74, 76};

// Device-state caption by the device manager's active mode; 0 keeps it.
int DeviceStateText(int active_mode) {
  switch (active_mode) {
    case 0: return 51;
    case 1:
    case 3: return 52;
    case 2: return 54;
    default: return 0;
  }
}

void SetCaption(DeviceMainDlg& w, int id, const std::wstring& text) {
  if (auto* control = w.Control<PLKUI::MControlFont>(id)) control->SetTitle(text);
}

template <size_t N>
void SetCaptions(DeviceMainDlg& w, const Caption (&rows)[N]) {
  for (const Caption& row : rows) SetCaption(w, row.control, w.LangText(row.text));
}

template <size_t N>
void SetTooltips(DeviceMainDlg& w, const Caption (&rows)[N]) {
  for (const Caption& row : rows)
    if (auto* control = w.GetControl(row.control)) control->SetTooltip(w.LangText(row.text));
}

void RefreshFrame(DeviceMainDlg& w) {
  if (auto* state = w.Control<PLKUI::MControlFont>(ctl::kDeviceState)) {
    state->SetFontName(kInterfaceFontName);
    if (const int text = DeviceStateText(w.Devices().ActiveMode())) state->SetTitle(w.LangText(text));
  }
  // The home status line keeps the access-rights advice while it applies.
  const bool access_denied = !w.online.load() && !w.Devices().PermissionDeniedPaths().empty();
  if (access_denied) {
    SetCaption(w, ctl::kHomeStatus, w.LangText(900));
    SetCaption(w, ctl::kHomeStatus2, w.LangText(901));
  } else {
    SetCaption(w, ctl::kHomeStatus, w.LangText(57));
  }
  const std::wstring title = w.WindowTitleText();
  SetCaption(w, ctl::kTitle, title);
  w.SetTitle(title);
  SetTooltips(w, kFrameTooltips);
  if (auto* tabs = w.Control<PLKUI::MTabCtrl>(ctl::kTabs)) {
    for (int i = 0; i < static_cast<int>(std::size(kTabTexts)); ++i)
      tabs->SetItemText(i, w.LangText(kTabTexts[i]));
  }
}

void RefreshButtonPage(DeviceMainDlg& w) {
  w.RefreshProfileList();
  SetCaptions(w, kKeyPageCaptions);
  if (auto* mouse = w.Control<PLKUI::MouseCtrl>(ctl::kMouseCtrl)) {
    const int count = mouse->GetItemCount();
    for (int i = 0; i < count; ++i)
      mouse->SetItemText(i, i < 7 ? w.LangText(103) + L" " + FormatInt(i + 1)
                                  : w.LangText(80) + L" " + FormatInt(i + 1));
  }
  w.FillFunctionLists();
  w.RefreshKeyPage();
  w.LoadPerformancePage();
  w.ShowMacroPage();
}

void RefreshPerformancePage(DeviceMainDlg& w) {
  SetCaptions(w, kPerformanceCaptions);
  SetTooltips(w, kPerformanceTooltips);
  for (int n = 0; n < kDpiStageCount; ++n)
    SetCaption(w, ctl::kFirstDpiStage + n, w.LangText(261) + FormatInt(n + 1));
  if (auto* light = w.Control<PLKUI::MComboBox>(ctl::kLightCombo)) {
    for (int mode = 0; mode <= 6; ++mode) light->SetItemText(mode, w.LangText(531 + mode));
  }
  if (auto* sleep = w.Control<PLKUI::MComboBox>(ctl::kSleepCombo)) {
    const int selected = sleep->GetCurData();
    FillSleepItems(*sleep, w.LangText(611), w.LangText(613));
    sleep->SelectData(selected);
  }
  SetCaption(w, ctl::kSensorHelp, SensorHelpText(w));
}

void RefreshMacroPage(DeviceMainDlg& w) {
  SetCaptions(w, kMacroCaptions);
  SetCaptions(w, kMoveRadios);
  SetTooltips(w, kMoveRadios);
  if (auto* kind = w.Control<PLKUI::MComboBox>(ctl::kStepKind)) kind->SetItemText(0, w.LangText(395));
  if (auto* buttons = w.Control<PLKUI::MComboBox>(ctl::kStepButton)) {
    for (int i = 0; i < static_cast<int>(std::size(kStepButtonTexts)); ++i)
      buttons->SetItemText(i, w.LangText(kStepButtonTexts[i]));
  }
  // The macro list's names were re-translated by the macro page reload
  // (ShowMacroPage shows every stored name through TranslateMacroName).
}

void RefreshSettingsPage(DeviceMainDlg& w) {
  SetCaptions(w, kSettingsCaptions);
  SetCaption(w, ctl::kPointerHelp, PointerHelpText(w));
  ShowPointerNote(w);
  w.Follower().OnStateChanged();
}

}  // namespace

void DeviceMainDlg::RefreshTexts() {
  RefreshFrame(*this);
  RefreshButtonPage(*this);
  RefreshPerformancePage(*this);
  RefreshMacroPage(*this);
  RefreshSettingsPage(*this);
}

}  // namespace tk410
