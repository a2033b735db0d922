// Waiting for a status report without reading it: the worker sleeps on the
// descriptors of the handles the status polls read, together with its wake
// signal, and reads only when a report is there.

#include <poll.h>

#include <algorithm>
#include <vector>

#include "device/device_manager.h"
#include "device/nordic_layout.h"

namespace tk410 {

namespace {

// Without a wake descriptor the wait looks at the wake again this often.
constexpr int kNoWakeDescriptorMs = 30;

}  // namespace

std::vector<HidDevice*> DeviceManager::WatchedHandles() {
  std::vector<HidDevice*> handles;
  if (!opened_) return handles;
  if (HidDevice* active = ActiveHandle()) {
    handles.push_back(active);
    return handles;
  }
  if (current_type_ <= kLastWiredType) return handles;
  // As PollReport: without an active device, every receiver of the type.
  const int32_t type = current_type_;
  std::lock_guard<std::mutex> lock(lists_mutex_);
  for (const auto& d : devices_) {
    if (d->dev_type == type && (d->dev_mode == kModeReceiver || d->dev_mode == kModeReceiver2) && d->handle) {
      handles.push_back(d->handle.get());
    }
  }
  return handles;
}

DeviceManager::ReportWait DeviceManager::WaitForReport(const WakeSignal& wake, int timeout_ms) {
  const std::vector<HidDevice*> handles = WatchedHandles();
  if (handles.empty()) return ReportWait::kNoDevice;
  const uint64_t start = clock_.TickMs();
  for (;;) {
    std::vector<pollfd> fds{{wake.Fd(), POLLIN, 0}};
    int soonest = -1;  // ms until a report on its way is due
    for (HidDevice* handle : handles) {
      const int due = handle->InputDueMs();
      if (due == 0) return ReportWait::kReport;
      if (due == HidDevice::kInputGone) return ReportWait::kGone;
      if (due > 0) soonest = soonest < 0 ? due : std::min(soonest, due);
      const int fd = handle->InputDescriptor();
      if (fd < 0) return ReportWait::kCannotWait;
      fds.push_back(pollfd{fd, POLLIN, 0});
    }
    int wait = soonest;
    if (timeout_ms >= 0) {
      const uint64_t elapsed = clock_.TickMs() - start;
      if (elapsed >= static_cast<uint64_t>(timeout_ms)) return ReportWait::kTimedOut;
      const int left = timeout_ms - static_cast<int>(elapsed);
      wait = wait < 0 ? left : std::min(wait, left);
    }
    // A wake that cannot be polled is looked at again after a short while.
    const bool capped = wake.Fd() < 0 && (wait < 0 || wait > kNoWakeDescriptorMs);
    if (capped) wait = kNoWakeDescriptorMs;
    const int ready = clock_.Poll(fds.data(), fds.size(), wait);
    if (ready < 0) return ReportWait::kCannotWait;
    if (fds[0].revents != 0 || (capped && ready == 0)) return ReportWait::kWoken;
    // A descriptor became ready or a report came due: look again.
  }
}

}  // namespace tk410
