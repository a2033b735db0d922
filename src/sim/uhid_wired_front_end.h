#pragma once
// The wired firmware behind the kernel's uhid interface.
//
// The device is the vendor collection alone (usage page 0xFF01, usage 0x10):
// 64-byte input and output reports without report id and the version
// feature report 0x51, on vendor 0x1209 product 0x0001 (the wired mode), on
// the USB bus, with a HID_PHYS naming USB interface 1.

#include <cstdint>
#include <optional>
#include <vector>

#include "sim/uhid_front_end.h"
#include "sim/wired_firmware.h"

namespace tk410 {

struct UhidMouseOptions {
  uint16_t vendor_id = 0x1209;
  uint16_t product_id = 0x0001;
  // The reply to this request (1-based, counting the requests that reach
  // the firmware) is held back `late_ms`; 0: none. The same as a late-reply
  // timing fault on that request.
  int late_reply = 0;
  uint32_t late_ms = UhidFrontEnd::kDefaultLateMs;
  // The stage a stray DPI press lands on (1 to 6); 0: the stage the mouse
  // is on.
  uint8_t stray_stage = 0;
};

class UhidWiredFrontEnd final : public UhidFrontEnd {
 public:
  static constexpr const char* kName = "TEVO TK410";
  static constexpr const char* kPhys = "usb-0000:00:14.0-2/input1";

  UhidWiredFrontEnd(WiredFirmware& firmware, UhidMouseOptions options);

  // An unsolicited stage-and-rate status report; the firmware's active
  // stage and report rate change first, as when the DPI button is pressed.
  uhid_event RaiseStageAndRate(uint8_t stage, uint8_t rate);
  // A battery status report.
  uhid_event RaiseBattery(uint8_t level, uint8_t state);

 protected:
  UhidIdentity Identity() const override;
  const std::vector<uint8_t>& ReportDescriptor() const override;
  size_t OutputSize() const override;
  OutputAnswer OnOutput(const uint8_t* data, size_t size, bool raise_stray) override;
  uhid_event OnGetReport(const uhid_get_report_req& request) override;
  uhid_event OnSetReport(const uhid_set_report_req& request) override;

 private:
  WiredFirmware& firmware_;
  UhidMouseOptions options_;
};

}  // namespace tk410
