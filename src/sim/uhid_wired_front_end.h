#pragma once
// The wired firmware behind the kernel's uhid interface: turns the events
// read from /dev/uhid into the events written back, so a real kernel, its
// hidraw node and hidapi talk to the same firmware model the in-process
// virtual bus uses. No file descriptors here (the program tk410-uhid-mouse
// does the I/O), so every reply can be checked in a test.
//
// The device is the vendor collection alone (usage page 0xFF01, usage 0x10):
// 64-byte input and output reports without report id and the version
// feature report 0x51, on vendor 0x1209 product 0x0001 (the wired mode), on
// the USB bus, with a HID_PHYS naming USB interface 1.

#include <linux/uhid.h>

#include <cstdint>
#include <deque>
#include <optional>
#include <vector>

#include "sim/wired_firmware.h"

namespace tk410 {

struct UhidMouseOptions {
  uint16_t vendor_id = 0x1209;
  uint16_t product_id = 0x0001;
  // The reply to this request (1-based, counting requests the firmware
  // answers) is held back `late_ms`; 0: none.
  int late_reply = 0;
  uint32_t late_ms = 1500;
};

class UhidWiredFrontEnd {
 public:
  static constexpr const char* kName = "TEVO TK410";
  static constexpr const char* kPhys = "usb-0000:00:14.0-2/input1";

  UhidWiredFrontEnd(WiredFirmware& firmware, UhidMouseOptions options);

  // UHID_CREATE2 for this device, and UHID_DESTROY.
  uhid_event CreateEvent() const;
  static uhid_event DestroyEvent();

  // The events to write back for one event read at `now_ms`. A reply held
  // back is returned later by TakeDue.
  std::vector<uhid_event> OnEvent(const uhid_event& event, uint64_t now_ms);
  // Held-back replies due at `now_ms`, oldest first.
  std::vector<uhid_event> TakeDue(uint64_t now_ms);
  // When the next held-back reply is due; nothing when none waits.
  std::optional<uint64_t> NextDue() const;

  // An unsolicited stage-and-rate status report; the firmware's active
  // stage and report rate change first, as when the DPI button is pressed.
  uhid_event RaiseStageAndRate(uint8_t stage, uint8_t rate);
  // A battery status report.
  uhid_event RaiseBattery(uint8_t level, uint8_t state);

  bool IsOpen() const { return open_; }
  int Answered() const { return answered_; }

 private:
  std::vector<uhid_event> OnOutput(const uint8_t* data, size_t size, uint64_t now_ms);
  uhid_event OnGetReport(const uhid_get_report_req& request);
  uhid_event OnSetReport(const uhid_set_report_req& request);

  struct Held {
    uint64_t due_ms = 0;
    uhid_event event{};
  };

  WiredFirmware& firmware_;
  UhidMouseOptions options_;
  bool open_ = false;
  int answered_ = 0;
  std::deque<Held> held_;
};

// An input report event carrying `bytes`.
uhid_event UhidInputEvent(const uint8_t* bytes, size_t size);

}  // namespace tk410
