// What the sync worker does between turns. It does not wake on a cycle: with
// more tasks queued it keeps the pause between turns; otherwise it sleeps
// until a task is queued, a status report can be read from the mouse, or the
// window stops it. Neither family needs a request of its own while idle: the
// mouse sends its DPI, report-rate, lighting and battery changes unasked, so
// the only time the worker looks at the clock is the status polls' spacing
// (one read every 200 ms at most) and the Nordic reports an exchange left
// for the next poll.

#include "base/clock.h"
#include "device/device_manager.h"
#include "ui/device_main_dlg.h"

namespace tk410 {

namespace {

constexpr uint64_t kStatusPollSpacingMs = 200;

// Waits for `wake` at most `timeout_ms` (negative: no limit).
void WaitForWake(Clock& clock, const WakeSignal& wake, int timeout_ms) {
  pollfd fd{wake.Fd(), POLLIN, 0};
  clock.Poll(&fd, 1, timeout_ms);
}

}  // namespace

void DeviceMainDlg::PauseAfterTurn(uint32_t pause_ms) { WaitForWork(pause_ms); }

int DeviceMainDlg::MsUntilStatusPoll() {
  // The status polls read at most once per spacing.
  const uint64_t last = IsNordicFamily() ? nordic_state.last_poll_tick : last_poll_tick;
  const uint64_t now = GetClock().TickMs();
  return now >= last + kStatusPollSpacingMs ? 0 : static_cast<int>(last + kStatusPollSpacingMs - now);
}

void DeviceMainDlg::InterruptPause() { tasks.Wake(); }

void DeviceMainDlg::WaitForWork(uint32_t pause_ms) {
  Clock& clock = GetClock();
  WakeSignal& wake = tasks.Signal();
  if (!tasks.Empty()) {
    clock.SleepMs(pause_ms);
    return;
  }
  // With no wake descriptor every wait below is bounded by the pause.
  const int no_limit = wake.Fd() < 0 ? static_cast<int>(pause_ms) : -1;
  for (;;) {
    wake.Clear();
    if (WorkerStopping() || !IsThreadRunning() || !tasks.Empty()) return;
    if (!online.load()) {
      WaitForWake(clock, wake, no_limit);
      continue;
    }
    if (IsNordicFamily() && !nordic_state.pending_reports.empty()) {
      const int until_poll = MsUntilStatusPoll();
      if (until_poll == 0) return;
      WaitForWake(clock, wake, until_poll);
      continue;
    }
    switch (Devices().WaitForReport(wake, no_limit)) {
      case DeviceManager::ReportWait::kReport: {
        const int until_poll = MsUntilStatusPoll();
        if (until_poll == 0) return;
        WaitForWake(clock, wake, until_poll);
        break;
      }
      case DeviceManager::ReportWait::kWoken:
      case DeviceManager::ReportWait::kTimedOut:
        break;
      case DeviceManager::ReportWait::kNoDevice:
      case DeviceManager::ReportWait::kGone:
        // Nothing to read until a scan: the removal, or a task, wakes the worker.
        WaitForWake(clock, wake, no_limit);
        break;
      case DeviceManager::ReportWait::kCannotWait:
        // The device cannot be watched: the poll's read with its time-out waits instead.
        WaitForWake(clock, wake, static_cast<int>(pause_ms));
        return;
    }
  }
}

}  // namespace tk410
