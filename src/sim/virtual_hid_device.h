#pragma once
// A device on the virtual HID bus: the firmware side of the HID seam. A
// subclass describes its interfaces by real report descriptors and answers
// output and feature reports; it raises input reports through EmitInput.

#include <cstddef>
#include <cstdint>
#include <mutex>
#include <string>
#include <vector>

#include "device/hid_backend.h"
#include "sim/timing_faults.h"

namespace tk410 {

class VirtualHidBus;

struct VirtualInterface {
  int number = 0;
  std::vector<uint8_t> report_descriptor;
};

class VirtualHidDevice {
 public:
  virtual ~VirtualHidDevice() = default;

  virtual uint16_t VendorId() const = 0;
  virtual uint16_t ProductId() const = 0;
  virtual uint16_t ReleaseNumber() const { return 0x0100; }
  virtual int BusType() const { return kHidBusUsb; }
  virtual std::wstring Manufacturer() const { return std::wstring(); }
  virtual std::wstring Product() const { return std::wstring(); }
  virtual std::vector<VirtualInterface> Interfaces() const = 0;
  // True while the device node refuses to open (a missing udev rule): Open
  // fails with EACCES.
  virtual bool OpenDenied() const { return false; }

  // An output report written to `interface_number`. `report_id` is byte 0
  // of the written buffer; for report number 0 it is dropped from `data`,
  // as the kernel does for unnumbered reports.
  virtual void OnOutputReport(int interface_number, uint8_t report_id, const uint8_t* data,
                              size_t length) = 0;
  // Feature reports, byte 0 the report number. Bytes transferred or -1.
  virtual int OnSetFeature(int interface_number, const uint8_t* data, size_t length) { return -1; }
  virtual int OnGetFeature(int interface_number, uint8_t* data, size_t length) { return -1; }

 protected:
  // Raises an input report on an interface, delivered `delay_ms` from now to
  // every open handle of that interface. Dropped while detached.
  void EmitInput(int interface_number, const std::vector<uint8_t>& report, uint32_t delay_ms = 0);
  // Raises each report in turn, each `delay_ms` from now.
  void EmitAll(int interface_number, const std::vector<TimedReport>& reports);
  // Detaches this device from its bus (the user pulled the cable).
  void Unplug();

 private:
  friend class VirtualHidBus;
  std::mutex link_mutex_;
  VirtualHidBus* bus_ = nullptr;  // guarded by link_mutex_
  int attach_id_ = 0;
};

}  // namespace tk410
