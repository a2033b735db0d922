#pragma once
// Device-change notifications: where the main window hears that a HID
// interface arrived or left. A source runs on its own thread (the udev
// monitor) or on whatever thread attaches devices (the virtual bus), and
// hands every change to a sink as an upper-cased, Windows-shaped interface
// path text (see device/interface_path_text.h), so that the catalogue's
// `hid_interface` texts match on every platform.
//
// The source that produced a path also knows how to look at the interface
// behind it: ProbeArrival answers whether the interface carries the vendor
// collection of the family the window serves (device/arrival_probe.h).

#include <functional>
#include <string>

#include "device/arrival_probe.h"

namespace tk410 {

// The window message of a device change and its two wParam values.
constexpr unsigned kMsgDeviceChange = 537;            // WM_DEVICECHANGE
constexpr unsigned kDeviceArrival = 0x8000;           // DBT_DEVICEARRIVAL
constexpr unsigned kDeviceRemoveComplete = 0x8004;    // DBT_DEVICEREMOVECOMPLETE

class DeviceChangeSource {
 public:
  // Called for every change, from the source's thread.
  using Sink = std::function<void(const std::wstring& interface_path, bool arrival)>;

  virtual ~DeviceChangeSource() = default;
  // Starts delivering changes to `sink`. False when the source cannot run;
  // Stop is still safe to call.
  virtual bool Start(Sink sink) = 0;
  // Stops delivering; when it returns, the sink is never called again.
  virtual void Stop() = 0;
  // Opens the interface behind `interface_path` and looks for `wanted`
  // among its top-level collections. False when the interface cannot be
  // opened or has no such collection.
  virtual bool ProbeArrival(const std::wstring& interface_path, VendorCollection wanted) = 0;
};

}  // namespace tk410
