// The Nordic status reports (the idle poll and the forced poll before a
// write), the version labels and the connection sequences.

#include <algorithm>
#include <array>
#include <deque>

#include "base/clock.h"
#include "base/trace.h"
#include "device/device_manager.h"
#include "nordic/nordic_protocol.h"
#include "store/config_database.h"
#include "ui/device_main_dlg.h"

namespace tk410 {

namespace {

constexpr uint8_t kReceiverSource = 0x01;  // byte 0 of the receiver's own report
constexpr int kLastStageControl = 5;       // stages 0..5 have a control
constexpr int kLastRateButton = 5;         // report-rate codes 0..5 have a button

}  // namespace

void NordicProtocol::PollNordicStatus(bool force) {
  Clock& clock = window_.GetClock();
  const uint64_t now = clock.TickMs();
  if (!force && now - state_.last_poll_tick < kPollIntervalMs) return;
  state_.last_poll_tick = now;

  // Reports the exchanges since the last poll met, then one read.
  std::deque<NordicFrame> pending;
  pending.swap(state_.pending_reports);
  for (const NordicFrame& f : pending) {
    std::array<uint8_t, NordicFrame::kReportSize> report{};
    std::copy(f.bytes.begin(), f.bytes.end(), report.begin());
    HandleNordicReport(report);
  }

  std::array<uint8_t, NordicFrame::kReportSize> report{};
  if (!window_.Devices().PollReport(report.data())) return;
  HandleNordicReport(report);
}

void NordicProtocol::HandleNordicReport(const std::array<uint8_t, NordicFrame::kReportSize>& report) {
  DeviceManager& devices = window_.Devices();
  if (report[nordic::kTargetCommandAt] == kReceiverSource) {
    if (report[nordic::kCodeAt] != nordic::kCodeStatus) return;
    // PollReport has just set a receiver's online flag from this report, so
    // a link-up makes the receiver the active choice here; a report an
    // exchange met came from the active device itself.
    const int mode = devices.ActiveMode();
    const bool receiver = mode == kModeReceiver || mode == kModeReceiver2;
    const bool link_bit = (report[NordicStatusBlock::kLinkAt] & NordicStatusBlock::kLinkBit) != 0;
    if (receiver && link_bit) {
      Trace(kTraceDebug, "Nordic receiver: mouse linked");
      state_.linked = true;
      ShowLink(true);
      window_.RefreshProfileList();
      if (!ReadNordicAll()) return;
      RefreshPages();
      ShowNordicVersions();
    } else if (receiver) {
      Trace(kTraceDebug, "Nordic receiver: mouse not linked");
      state_.linked = false;
      devices.MarkReceiversOffline();
      ShowLink(false);
      window_.SetBattery(0, 2);
    }
  } else if (report[nordic::kCodeAt] != nordic::kCodeStatus) {
    return;
  }

  NordicStatusBlock status;
  NordicStatusBlock::Parse(report.data(), NordicFrame::kSize, &status);
  ApplyStatus(status);
}

void NordicProtocol::ApplyStatus(const NordicStatusBlock& status) {
  if (status.battery_a == 0) return;  // no battery data: nothing else either
  state_.battery_a = status.battery_a;
  state_.battery_b = status.battery_b;
  window_.SetBattery(status.battery_a, status.battery_b);

  if (status.dpi_stage != state_.dpi_stage) {
    state_.dpi_stage = status.dpi_stage;
    StoreConfig(L"dpi_index", status.dpi_stage);
    // A stage without a control shows on the control of stage 1; the
    // settings keep the value the mouse sent.
    const int stage = status.dpi_stage > kLastStageControl ? 1 : status.dpi_stage;
    const int id = ctl::kFirstDpiStage + stage;
    window_.current_dpi_control.store(id);
    if (auto* control = window_.Control<PLKUI::DPIControl>(id)) {
      control->SetCheckState(1);
      (void)control->GetDPIValue();
    }
  }
  if (status.report_rate != state_.report_rate) {
    state_.report_rate = status.report_rate;
    StoreConfig(L"report_rate", status.report_rate);
    if (status.report_rate <= kLastRateButton) {
      if (auto* button = window_.Control<PLKUI::ColorButtonEx>(ctl::kFirstRate + status.report_rate)) {
        button->SetCheck(1);
      }
    }
  }
}

void NordicProtocol::ShowNordicVersions() {
  auto* label_a = window_.Control<PLKUI::MControlFont>(ctl::kVersionLabelA);
  auto* label_b = window_.Control<PLKUI::MControlFont>(ctl::kVersionLabelB);
  if (label_a) label_a->SetTitle(L"0.0.0");
  if (label_b) label_b->SetTitle(L"0.0.0");
  DeviceManager& devices = window_.Devices();
  std::wstring text;
  if (IsReceiverMode()) {
    devices.ReadNordicVersion(&text, 1);
    if (label_a) label_a->SetTitle(text);
    devices.ReadNordicVersion(&text, 0);
    if (label_b) label_b->SetTitle(text);
  } else {
    devices.ReadNordicVersion(&text, 0);
    if (label_a) label_a->SetTitle(text);
  }
}

bool NordicProtocol::ReadAndShow(int mode) {
  window_.RefreshProfileList();
  if (!ReadNordicAll()) {
    Trace(kTraceInfo, "Nordic read not done (connection mode %d)", mode);
    return false;
  }
  RefreshPages();
  ShowNordicVersions();
  return true;
}

void NordicProtocol::NordicFirstSync() {
  const int mode = window_.Devices().ActiveMode();
  if (mode == kModeBluetooth) return;
  if (!ReadAndShow(mode)) return;
  state_.first_sync_done = true;
  window_.initial_read_done.store(1);
}

void NordicProtocol::NordicArrivalSync() {
  window_.GetClock().SleepMs(kArrivalWaitMs);
  const int mode = window_.Devices().ActiveMode();
  if (mode < 0 || mode == kModeBluetooth) return;
  ReadAndShow(mode);
}

void NordicProtocol::NordicResync() {
  window_.RefreshProfileList();
  state_.linked = false;
  window_.ScanAndUpdate();
  const int mode = window_.Devices().ActiveMode();
  if (mode == kModeBluetooth) return;
  ReadAndShow(mode);
}

}  // namespace tk410
