#pragma once
// The Linux source of device-change notifications: a libudev monitor on the
// "udev" netlink source (events after the rules ran, so permissions are
// already set when an arrival is reported) for the hidraw subsystem. Its
// socket is watched on a thread of its own; every add and remove becomes an
// interface path text (device/interface_path_text.h) handed to the sink.
// The arrival probe opens the hidraw node the path text names.

#include <atomic>
#include <mutex>
#include <thread>

#include "device/device_change_source.h"

struct udev;
struct udev_monitor;
struct udev_device;

namespace tk410 {

struct HidrawUdevFacts;

class UdevHidrawMonitor final : public DeviceChangeSource {
 public:
  UdevHidrawMonitor() = default;
  ~UdevHidrawMonitor() override;
  UdevHidrawMonitor(const UdevHidrawMonitor&) = delete;
  UdevHidrawMonitor& operator=(const UdevHidrawMonitor&) = delete;

  bool Start(Sink sink) override;
  void Stop() override;
  bool ProbeArrival(const std::wstring& interface_path, VendorCollection wanted) override;

  bool IsRunning() const { return thread_.joinable(); }

  // What udev knows of one hidraw device (its parents may be gone on removal).
  static HidrawUdevFacts FactsOf(udev_device* device);

 private:
  void Run();
  void Release();

  Sink sink_;
  udev* udev_ = nullptr;
  udev_monitor* monitor_ = nullptr;
  int wake_fd_ = -1;  // eventfd that ends the thread's poll
  std::thread thread_;
};

}  // namespace tk410
