// The wired family's idle status poll: one report read from the active
// device at most every 200 ms, stored into the current profile and shown.
// Status reports an exchange meets are applied the same way.

#include <algorithm>
#include <array>

#include "assign/emoji_typer.h"
#include "base/clock.h"
#include "base/text.h"
#include "device/device_manager.h"
#include "device/wired_layout.h"
#include "sync/sync_task.h"
#include "sync/wired_routines.h"
#include "ui/device_main_dlg.h"

namespace tk410 {

namespace {

constexpr uint64_t kPollIntervalMs = 200;
constexpr int kReadTimeoutMs = 1000;
constexpr uint8_t kAskForStage = 0xFF;  // either value: the mouse wants the DPI stage written
constexpr int kMaxBattery = 100;
constexpr int kMaxLightMode = 6;
constexpr int kMaxStage = 6;

// Report-rate code -> button: 1, 2, 3 their own buttons, anything else 1000 Hz.
int RateButton(int code) { return code >= 1 && code <= 3 ? ctl::kFirstRate + code - 1 : ctl::kRate1000; }

}  // namespace

void WiredRoutines::StatusPoll() {
  Clock& clock = window_.GetClock();
  const uint64_t now = clock.TickMs();
  if (now - window_.last_poll_tick < kPollIntervalMs) return;
  window_.last_poll_tick = now;

  DeviceManager& devices = window_.Devices();
  std::array<uint8_t, WiredFrame::kReportSize> buffer{};
  if (devices.CurrentDeviceType() > DeviceManager::kLastWiredType || !devices.IsOpened()) return;
  HidDevice* handle = devices.ActiveHandle();
  if (handle == nullptr) return;
  const int n = devices.ReadReport(handle, buffer.data(), WiredStatusReport::kReadLength, kReadTimeoutMs);
  if (n > 0) ApplyStatusReport(buffer.data(), static_cast<size_t>(n));
}

void WiredRoutines::ApplyStatusReport(const uint8_t* data, size_t length) {
  Clock& clock = window_.GetClock();
  WiredStatusReport report;
  if (!WiredStatusReport::Parse(data, length, &report) || report.ignore) return;
  if (report.value1 == kAskForStage || report.value2 == kAskForStage) {
    window_.Enqueue(kTaskDpiStage);
    return;
  }

  switch (report.type) {
    case WiredStatusReport::kEmoji:
    case WiredStatusReport::kEmojiAlt:
      if (TextInjector* injector = window_.Services().injector) TypeEmoji(report.value1, *injector, clock);
      break;
    case WiredStatusReport::kBattery:
      window_.SetBattery(std::min<int>(report.value1, kMaxBattery), report.value2);
      break;
    case WiredStatusReport::kStageAndRate: {
      if (report.value1 != window_.last_dpi_stage) {
        const int stage = std::clamp<int>(report.value1, 1, kMaxStage);
        window_.last_dpi_stage = static_cast<uint8_t>(stage);
        StoreConfig(L"dpi_index", stage - 1);
        const int id = ctl::kFirstDpiStage - 1 + stage;
        window_.current_dpi_control.store(id);
        if (auto* control = window_.Control<PLKUI::DPIControl>(id)) {
          control->SetCheckState(1);
          if (auto* slider = window_.Control<PLKUI::DPISlider>(ctl::kDpiSlider)) {
            slider->SetProgress(control->GetDPIValue() / 100);
          }
        }
      }
      window_.last_report_rate = report.value2;
      StoreConfig(L"report_rate", report.value2);
      if (auto* button = window_.Control<PLKUI::ColorButtonEx>(RateButton(report.value2))) button->SetCheck(1);
      break;
    }
    case WiredStatusReport::kLighting: {
      const int mode = std::min<int>(report.value1, kMaxLightMode);
      if (auto* combo = window_.Control<PLKUI::MComboBox>(ctl::kLightCombo)) combo->SelectData(mode);
      StoreConfig(L"light_mode", mode);
      break;
    }
    default:
      break;
  }
}

}  // namespace tk410
