#pragma once
// A firmware model behind the kernel's uhid interface: turns the events read
// from /dev/uhid into the events written back, so a real kernel, its hidraw
// node and hidapi talk to the same firmware model the in-process virtual bus
// uses. No file descriptors here (the program tk410-uhid-mouse does the
// I/O), so every reply can be checked in a test. A subclass answers the
// output reports and, if it has any, the feature reports.

#include <linux/uhid.h>

#include <cstddef>
#include <cstdint>
#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "sim/timing_faults.h"

namespace tk410 {

// What UHID_CREATE2 names: on the USB bus, version 0x0100.
struct UhidIdentity {
  std::string name;
  std::string phys;
  uint16_t vendor_id = 0;
  uint16_t product_id = 0;
};

class UhidFrontEnd {
 public:
  // Longer than any read of the program's exchanges waits.
  static constexpr uint32_t kDefaultLateMs = 1500;

  virtual ~UhidFrontEnd() = default;

  // UHID_CREATE2 for this device, and UHID_DESTROY.
  uhid_event CreateEvent() const;
  static uhid_event DestroyEvent();

  // The events to write back for one event read at `now_ms`.
  std::vector<uhid_event> OnEvent(const uhid_event& event, uint64_t now_ms);
  // Replies held back until `now_ms`, in due order; when the next is due.
  std::vector<uhid_event> TakeDue(uint64_t now_ms);
  std::optional<uint64_t> NextDue() const;

  // Timing faults on the replies (timing_faults.h), counting the output
  // reports that reach the firmware; a late reply is held `late_ms`.
  void AddTimingFault(const TimingFaultSwitch& fault_switch) { faults_.Add(fault_switch); }
  void SetLateMs(uint32_t ms) { late_ms_ = ms; }
  int RequestsSeen() const { return faults_.Requests(); }

  bool IsOpen() const { return open_; }
  int Answered() const { return answered_; }

 protected:
  virtual UhidIdentity Identity() const = 0;
  virtual const std::vector<uint8_t>& ReportDescriptor() const = 0;
  // What the firmware gives for one output report: its status report when
  // `raise_stray` asks for a button pressed meanwhile (the firmware changed
  // first), then its reply, if any.
  struct OutputAnswer {
    std::optional<std::vector<uint8_t>> stray;
    std::optional<std::vector<uint8_t>> reply;
  };
  // An output report's payload (report number already taken off).
  virtual OutputAnswer OnOutput(const uint8_t* data, size_t size, bool raise_stray) = 0;
  // Feature reports, byte 0 the report number; the default refuses them.
  virtual uhid_event OnGetReport(const uhid_get_report_req& request);
  virtual uhid_event OnSetReport(const uhid_set_report_req& request);
  // The unnumbered payload size of the output reports: hidraw hands over
  // report number 0 and then the payload; a buffer of exactly this size is
  // taken as the payload alone.
  virtual size_t OutputSize() const = 0;

 private:
  struct Held {
    uint64_t due_ms = 0;
    uhid_event event{};
  };

  std::vector<uhid_event> OnOutputBuffer(const uint8_t* data, size_t size, uint64_t now_ms);

  bool open_ = false;
  int answered_ = 0;
  TimingFaults faults_;
  uint32_t late_ms_ = kDefaultLateMs;
  std::deque<Held> held_;  // in due order
};

// A zeroed event of `type`.
uhid_event UhidEventOfType(uint32_t type);
// An input report event carrying `bytes`.
uhid_event UhidInputEvent(const uint8_t* bytes, size_t size);

}  // namespace tk410
