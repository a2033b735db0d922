#include "ui/performance_values.h"

#include "base/text.h"
#include "plkui/combo_box.h"
#include "ui/control_ids.h"
#include "ui/device_main_dlg.h"

namespace tk410 {

const RadioPairSetting kRadioPairSettings[3] = {
    {ctl::kLift2mm, ctl::kLift1mm, L"liftoff_height", L"2", L"1"},
    {ctl::kScrollNormal, ctl::kScrollReverse, L"scroll_flag", L"0", L"1"},
    {ctl::kGameOn, ctl::kGameOff, L"e-sports_flag", L"2", L"1"},
};

const RadioPairSetting* FindRadioPair(int id) {
  for (const RadioPairSetting& pair : kRadioPairSettings)
    if (pair.checked_id == id || pair.other_id == id) return &pair;
  return nullptr;
}

int LimitTypedDpi(int dpi) { return dpi > kDpiMax ? kDpiMax : dpi; }

int FinishDpi(int dpi) {
  if (dpi < kDpiMin) dpi = kDpiMin;
  dpi = (dpi + 50) / 100 * 100;
  return LimitTypedDpi(dpi);
}

std::wstring ReportRateValue(int index, bool nordic) {
  if (index < 0 || index > 6) return std::wstring();
  if (nordic) return FormatInt(index);
  // The wired family knows four rates; the three fastest buttons store nothing.
  return index <= 3 ? FormatInt(index + 1) : std::wstring();
}

int ReportRateIndex(const std::wstring& value, bool nordic, int highest_index) {
  const int stored = WToI(value);
  if (nordic) {
    int index = stored < highest_index ? stored : highest_index;
    if (index < 0) index = 0;
    return index > 5 ? 5 : index;
  }
  if (stored >= 1 && stored <= 3) return stored - 1;
  return 3;
}

int SensorFlag(bool box4, bool box8, bool box16) {
  return (box4 ? 4 : 0) | (box8 ? 8 : 0) | (box16 ? 16 : 0);
}

void FillSleepItems(PLKUI::MComboBox& combo, const std::wstring& minutes_text,
                    const std::wstring& hour_text) {
  combo.DelAllItems();
  for (int minutes : kSleepMinutes) {
    if (minutes == 60)
      combo.AddItem(FormatW(L"1 %ls", hour_text.c_str()), minutes);
    else
      combo.AddItem(FormatW(L"%d %ls", minutes, minutes_text.c_str()), minutes);
  }
}

std::wstring SensorHelpText(const DeviceMainDlg& w) {
  return FormatW(L"%ls\n%ls\n%ls\n%ls\n\n%ls\n%ls\n\n%ls\n%ls", w.LangText(573).c_str(),
                 w.LangText(575).c_str(), w.LangText(576).c_str(), w.LangText(579).c_str(),
                 w.LangText(577).c_str(), w.LangText(578).c_str(), w.LangText(581).c_str(),
                 w.LangText(582).c_str());
}

}  // namespace tk410
