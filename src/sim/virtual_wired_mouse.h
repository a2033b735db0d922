#pragma once
// A virtual wired mouse on the virtual HID bus: the wired firmware behind
// the interfaces a real mouse has.
//
// Interface 0: a mouse collection (report id 1, with a nested pointer
// collection), a keyboard collection (id 2) and a consumer control
// collection (id 3). Interface 1: the vendor collection, usage page 0xFF01
// usage 0x10, with unnumbered 64-byte input and output reports and the
// version feature report 0x51. With `shared_interface` the vendor collection
// sits on interface 0 together with the others, so its replies interleave
// with their reports on one descriptor.

#include <cstdint>
#include <memory>
#include <mutex>
#include <vector>

#include "sim/timing_faults.h"
#include "sim/virtual_hid_device.h"
#include "sim/wired_firmware.h"

namespace tk410 {

// The report descriptor of the vendor collection alone (interface 1), also
// what the uhid front end gives the kernel.
const std::vector<uint8_t>& WiredVendorReportDescriptor();

enum class WiredFault {
  kNone,
  kNoReply,       // the request is carried out, the reply is lost
  kWrongMarker,   // the reply starts with 0x55 instead of 0xAA
  kOtherCommand,  // a reply to another command (0x30 battery)
  kShortReply,    // only the first 8 bytes of the reply arrive
  kLateReply,     // the reply arrives after the reader's 1000 ms time-out
  kUnplug,        // the cable is pulled when the request arrives
};

struct VirtualWiredMouseOptions {
  uint16_t vendor_id = 0x1209;
  uint16_t product_id = 0x0001;
  int bus_type = kHidBusUsb;
  bool shared_interface = false;
};

class VirtualWiredMouse final : public VirtualHidDevice {
 public:
  static constexpr int kMouseInterface = 0;
  static constexpr uint8_t kMouseReportId = 1;
  static constexpr uint8_t kKeyboardReportId = 2;
  static constexpr uint32_t kDefaultLateMs = 1500;

  explicit VirtualWiredMouse(VirtualWiredMouseOptions options = {});

  // VirtualHidDevice
  uint16_t VendorId() const override { return options_.vendor_id; }
  uint16_t ProductId() const override { return options_.product_id; }
  int BusType() const override { return options_.bus_type; }
  std::wstring Manufacturer() const override { return L"TEVO"; }
  std::wstring Product() const override { return L"TEVO TK410"; }
  std::vector<VirtualInterface> Interfaces() const override;
  bool OpenDenied() const override;
  void OnOutputReport(int interface_number, uint8_t report_id, const uint8_t* data,
                      size_t length) override;
  int OnSetFeature(int interface_number, const uint8_t* data, size_t length) override;
  int OnGetFeature(int interface_number, uint8_t* data, size_t length) override;

  int VendorInterface() const { return options_.shared_interface ? 0 : 1; }

  // The firmware, under the mouse's lock.
  template <typename F>
  auto WithFirmware(F&& f) {
    std::lock_guard<std::mutex> lock(mutex_);
    return f(firmware_);
  }

  // Fault switches: the next `count` exchanges (-1: all) suffer `fault`.
  // `after` requests pass untouched first: a mouse that stops answering
  // in the middle of a task.
  void SetFault(WiredFault fault, int count = 1, int after = 0);
  // Timing faults on request `request` (1-based, counted from the next
  // request that reaches the vendor collection) or on every request
  // (TimingFaultSwitch::kEveryRequest). Several may be set; they add up.
  // A stray report is the stage-and-rate status report of a DPI button press
  // (see SetStrayStage), the firmware changed first; a late reply comes
  // SetLateDelayMs after the request; a duplicate reply comes twice.
  void AddTimingFault(TimingFault fault, int request = TimingFaultSwitch::kEveryRequest);
  void AddTimingFault(const TimingFaultSwitch& s) { AddTimingFault(s.fault, s.request); }
  void ClearTimingFaults();
  // The stage a stray press lands on (1 to 6); 0, the default: the stage the
  // mouse is on, so the report repeats the mouse's stage and rate.
  void SetStrayStage(uint8_t stage);
  // Requests that reached the vendor collection so far.
  int RequestsSeen() const;
  void SetLateDelayMs(uint32_t ms);
  // Every reply arrives this long after its request (the firmware's and the
  // bus's latency); 0 by default.
  void SetReplyLatencyMs(uint32_t ms);
  // Reports of the other collections raised before every reply (mouse
  // motion with id 1, key reports with id 2), as a moving mouse would.
  void SetInterleavedReports(int count);
  void SetOpenDenied(bool denied);

  // Unsolicited status reports (0xAA 0xFA, type at offset 8). The ones that
  // change the mouse's state update the firmware first.
  void RaiseStageAndRate(uint8_t stage, uint8_t rate);
  void RaiseLighting(uint8_t mode);
  void RaiseEmoji(uint8_t number, bool alternate = false);
  void RaiseBattery(uint8_t level, uint8_t state);
  void RaiseStatus(const WiredStatusReport& report);
  // Mouse motion on the mouse collection (report id 1).
  void RaiseMotion(int8_t dx, int8_t dy);

 private:
  VirtualWiredMouseOptions options_;
  mutable std::mutex mutex_;
  WiredFirmware firmware_;                 // guarded by mutex_
  WiredFault fault_ = WiredFault::kNone;   // guarded by mutex_
  int fault_count_ = 0;
  int fault_after_ = 0;  // requests still to pass before the fault
  TimingFaults timing_;                    // guarded by mutex_
  uint8_t stray_stage_ = 0;
  uint32_t late_ms_ = kDefaultLateMs;
  uint32_t reply_latency_ms_ = 0;
  int interleaved_ = 0;
  bool open_denied_ = false;
};

}  // namespace tk410
