#pragma once
// The value rules of the DPI and performance page: DPI rounding and limits,
// the stage defaults, report-rate codes, sensor bits and the sleep choices.
// Pure functions, so the rules are tested without a window.

#include <cstdint>
#include <string>

namespace PLKUI {
class MComboBox;
}

namespace tk410 {

class DeviceMainDlg;

constexpr int kDpiStageCount = 6;
constexpr int kDpiMin = 200;
constexpr int kDpiMax = 12000;
constexpr int kDpiSliderLow = 2;     // slider positions are DPI / 100
constexpr int kDpiSliderHigh = 120;
constexpr int kDefaultDpiValues[kDpiStageCount] = {800, 1600, 3200, 4800, 8000, 12000};
// 0x00BBGGRR: red, green, blue, yellow, cyan, purple.
constexpr uint32_t kDefaultDpiColors[kDpiStageCount] = {255, 65280, 16711680, 65535, 16776960, 8388736};

// While typing: above 12000 becomes 12000.
int LimitTypedDpi(int dpi);
// A finished edit: at least 200, rounded to the nearest 100 (halves up).
int FinishDpi(int dpi);

// report_rate text of rate button `index` (0 = 125 Hz .. 6 = 8000 Hz).
std::wstring ReportRateValue(int index, bool nordic);
// The rate button index (0..6) the stored value selects.
int ReportRateIndex(const std::wstring& value, bool nordic, int highest_index);

// A setting chosen by two radios: `key` holds `when_checked` while
// `checked_id` is checked, else `otherwise`.
struct RadioPairSetting {
  int checked_id;
  int other_id;
  const wchar_t* key;
  const wchar_t* when_checked;
  const wchar_t* otherwise;
};
// Lift-off distance, scroll direction, game mode.
extern const RadioPairSetting kRadioPairSettings[3];
// The pair `id` belongs to, or nullptr.
const RadioPairSetting* FindRadioPair(int id);

// sensor_flag from the three boxes (bits 4, 8, 16; no other bit survives).
int SensorFlag(bool box4, bool box8, bool box16);

// Sleep minutes offered by the sleep combo, in item order.
constexpr int kSleepMinutes[] = {1, 3, 5, 10, 20, 30, 60};
void FillSleepItems(PLKUI::MComboBox& combo, const std::wstring& minutes_text,
                    const std::wstring& hour_text);
// The sensor help: texts 573, 575, 576, 579, 577, 578, 581, 582 in one block.
std::wstring SensorHelpText(const DeviceMainDlg& window);
// The help texts of the DPI, report-rate, scroll and game-mode panels.
constexpr int kDpiHelpText = 991;
constexpr int kRateHelpText = 992;
constexpr int kScrollHelpText = 993;
constexpr int kGameHelpText = 994;

}  // namespace tk410
