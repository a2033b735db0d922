#pragma once
// Device-change notifications of the virtual HID bus: every attach and
// detach of a virtual device becomes one notification per interface, with
// the same interface path text a real device of that bus, ids and interface
// number would give ("HID\VID_1209&PID_0001&MI_01\VIRTUAL-HIDRAW3"). So the
// hot-plug filter, the task queue and the worker run exactly as with real
// hot-plug when simulating, and in tests.

#include <map>
#include <mutex>
#include <string>

#include "device/device_change_source.h"

namespace tk410 {

class VirtualHidBus;
struct VirtualBusEvent;

class VirtualBusDeviceChanges final : public DeviceChangeSource {
 public:
  explicit VirtualBusDeviceChanges(VirtualHidBus& bus) : bus_(bus) {}
  ~VirtualBusDeviceChanges() override;

  bool Start(Sink sink) override;
  void Stop() override;
  // Opens the virtual node and looks at its collections.
  bool ProbeArrival(const std::wstring& interface_path, VendorCollection wanted) override;

  // The path text of a virtual interface (kernel bus number from the bus type).
  static std::wstring PathText(const VirtualBusEvent& event, size_t interface_index);

 private:
  void OnBusEvent(const VirtualBusEvent& event);

  VirtualHidBus& bus_;
  std::mutex mutex_;
  Sink sink_;              // guarded by mutex_
  int listener_id_ = 0;
  std::map<std::wstring, std::string> nodes_;  // path text -> bus path; guarded by mutex_
};

}  // namespace tk410
