#pragma once
// The Nordic receiver (or a Nordic mouse on a cable) behind the kernel's
// uhid interface: the vendor collection alone (usage page 0xFF0A, usage
// 0x01), 64-byte input and output reports without report id, answered by
// the same NordicReceiverFirmware the in-process virtual bus uses. The
// receiver is 1209:0004 (mode 1) with the mouse linked behind it; the
// HID_PHYS names USB interface 1.

#include "sim/nordic_receiver_firmware.h"
#include "sim/uhid_front_end.h"

namespace tk410 {

class UhidNordicFrontEnd final : public UhidFrontEnd {
 public:
  static constexpr const char* kReceiverName = "TEVO TK410N Receiver";
  static constexpr const char* kMouseName = "TEVO TK410N";
  static constexpr const char* kPhys = "usb-0000:00:14.0-3/input1";

  UhidNordicFrontEnd(NordicReceiverFirmware& firmware, uint16_t vendor_id, uint16_t product_id);

  // The stage (0-based) a stray DPI press lands on; negative, the default:
  // the stage the mouse is on.
  void SetStrayStage(int stage) { stray_stage_ = stage; }

  // Links or unlinks the mouse; the receiver's status report telling so, or
  // nothing for a mouse on a cable.
  std::optional<uhid_event> SetLinked(bool linked);
  // The mouse's status report as it is now; nothing while unlinked.
  std::optional<uhid_event> RaiseMouseStatus();

 protected:
  UhidIdentity Identity() const override;
  const std::vector<uint8_t>& ReportDescriptor() const override;
  size_t OutputSize() const override;
  OutputAnswer OnOutput(const uint8_t* data, size_t size, bool raise_stray) override;

 private:
  NordicReceiverFirmware& firmware_;
  uint16_t vendor_id_;
  uint16_t product_id_;
  int stray_stage_ = -1;
};

}  // namespace tk410
