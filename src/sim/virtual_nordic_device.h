#pragma once
// A virtual Nordic-family device on the virtual HID bus: a mouse attached
// directly (mode 0), or a USB receiver (modes 1 and 3) with a mouse behind
// it that can link and unlink.
//
// Interface 0: a mouse collection (report id 1). Interface 1: the vendor
// collection, usage page 0xFF0A usage 0x01, unnumbered 64-byte input and
// output reports. Requests whose check byte is wrong get no reply.
//
// A receiver answers target 0 itself: the version (its own) and the status
// with the link bit; requests for target 1 go to the mouse while it is
// linked and get no reply otherwise. A direct mouse answers every target.
// Unsolicited status reports come from the receiver (byte 0 0x01, on a
// link change) or from the mouse (byte 0 0x01 direct, 0x41 behind a
// receiver).

#include <cstdint>
#include <memory>
#include <mutex>
#include <string>

#include "sim/nordic_receiver_firmware.h"
#include "sim/timing_faults.h"
#include "sim/virtual_hid_device.h"

namespace tk410 {

enum class NordicFault {
  kNone,
  kNoReply,    // the request is carried out, the reply is lost
  kWrongCode,  // the reply carries another code in byte 2
  kShortReply, // only 63 bytes of the reply arrive
  kLateReply,  // the reply arrives after the reader has given up
  kUnplug,     // the device is pulled when the request arrives
};

struct VirtualNordicOptions {
  uint16_t vendor_id = 0x1209;
  uint16_t product_id = 0x0003;
  int mode = 0;  // 0 direct; 1 or 3 a receiver
};

class VirtualNordicDevice final : public VirtualHidDevice {
 public:
  static constexpr int kMouseInterface = 0;
  static constexpr int kVendorInterface = 1;
  static constexpr uint32_t kLateMs = 1500;

  explicit VirtualNordicDevice(VirtualNordicOptions options = {});
  // The catalogue's ids of the TK410N: direct 1209:0003, receiver modes
  // 1 (1209:0004) and 3 (1209:0005).
  static VirtualNordicOptions Direct() { return {0x1209, 0x0003, 0}; }
  static VirtualNordicOptions Receiver(int mode = 1) {
    return {0x1209, static_cast<uint16_t>(mode == 3 ? 0x0005 : 0x0004), mode};
  }

  // VirtualHidDevice
  uint16_t VendorId() const override { return options_.vendor_id; }
  uint16_t ProductId() const override { return options_.product_id; }
  std::wstring Manufacturer() const override { return L"TEVO"; }
  std::wstring Product() const override { return IsReceiver() ? L"TEVO TK410N Receiver" : L"TEVO TK410N"; }
  std::vector<VirtualInterface> Interfaces() const override;
  bool OpenDenied() const override;
  void OnOutputReport(int interface_number, uint8_t report_id, const uint8_t* data,
                      size_t length) override;

  bool IsReceiver() const { return core_.IsReceiver(); }

  // The mouse's firmware, under the device's lock.
  template <typename F>
  auto WithFirmware(F&& f) {
    std::lock_guard<std::mutex> lock(mutex_);
    return f(core_.Mouse());
  }
  // Receiver: whether the mouse is linked. A change raises the receiver's
  // status report unless `quiet`.
  void SetLinked(bool linked, bool quiet = false);
  bool Linked() const;
  void SetReceiverVersion(uint8_t major, uint8_t minor);

  // The mouse's own changes, each followed by its status report.
  void PressDpiButton(uint8_t stage);
  void SwitchReportRate(uint8_t code);
  void ChangeBattery(uint8_t a, uint8_t b);
  // Raises the mouse's status report as it is now.
  void RaiseMouseStatus();

  // Fault switches: the next `count` exchanges (-1: all) suffer `fault`.
  // `after` requests pass untouched first: a mouse that stops answering
  // in the middle of a task.
  void SetFault(NordicFault fault, int count = 1, int after = 0);
  // Timing faults on request `request` (1-based, counted from the next
  // request that reaches the vendor collection) or on every request
  // (TimingFaultSwitch::kEveryRequest). Several may be set; they add up.
  // A stray report is the mouse's status report after a DPI button press
  // (see SetStrayStage; none while the mouse is unlinked); a late reply
  // comes kLateMs after the request; a duplicate reply comes twice.
  void AddTimingFault(TimingFault fault, int request = TimingFaultSwitch::kEveryRequest);
  void AddTimingFault(const TimingFaultSwitch& s) { AddTimingFault(s.fault, s.request); }
  void ClearTimingFaults();
  // The stage (0-based) a stray press lands on; negative, the default: the
  // stage the mouse is on.
  void SetStrayStage(int stage);
  // Requests that reached the vendor collection so far.
  int RequestsSeen() const;
  void SetOpenDenied(bool denied);
  int RejectedRequests() const;

  // Text form of the state (the mouse and the link); false on malformed text.
  bool SaveToFile(const std::string& path) const;
  bool LoadFromFile(const std::string& path);

 private:
  void Emit(const NordicFrame& frame);

  VirtualNordicOptions options_;
  mutable std::mutex mutex_;
  NordicReceiverFirmware core_;        // guarded by mutex_
  NordicFault fault_ = NordicFault::kNone;
  int fault_count_ = 0;
  int fault_after_ = 0;  // requests still to pass before the fault
  TimingFaults timing_;                // guarded by mutex_
  int stray_stage_ = -1;
  bool open_denied_ = false;
};

}  // namespace tk410
