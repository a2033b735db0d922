#pragma once
// The HID seam: exactly the HID operations the device manager needs. The
// real implementation is hidapi on hidraw (hidapi_backend.h); the virtual
// HID bus (sim/virtual_hid_bus.h) implements the same seam for tests and
// for running without a mouse.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <set>
#include <string>
#include <vector>

namespace tk410 {

// Bus types as hidapi numbers them (hid_bus_type).
enum HidBusType : int {
  kHidBusUnknown = 0,
  kHidBusUsb = 1,
  kHidBusBluetooth = 2,  // the kernel's bus 0x05 (HID_ID "0005:...")
  kHidBusI2c = 3,
  kHidBusSpi = 4,
};

// One top-level collection of an attached HID device.
struct HidCollectionInfo {
  std::string path;  // the device node; collections of one interface share it
  uint16_t vendor_id = 0;
  uint16_t product_id = 0;
  uint16_t release_number = 0;
  uint16_t usage_page = 0;
  uint16_t usage = 0;
  int bus_type = kHidBusUnknown;
  int interface_number = -1;
  // The report ids of this collection's input reports when they are
  // numbered: an input report of the interface starting with another byte
  // belongs to another collection. Empty when they carry no report id: then
  // every input report of the interface is this collection's.
  std::set<uint8_t> input_report_ids;
};

// An open HID device. Destroying the object closes it. Not thread-safe:
// one thread talks to one device.
class HidDevice {
 public:
  virtual ~HidDevice() = default;
  // Writes an output report; byte 0 is the report number. Bytes written or -1.
  virtual int Write(const uint8_t* data, size_t length) = 0;
  // Reads one input report into `data` (at most `length` bytes). Bytes read,
  // 0 on time-out, -1 on error (for example the device was unplugged).
  virtual int ReadTimeout(uint8_t* data, size_t length, int timeout_ms) = 0;
  // Waiting for input without reading it. InputDescriptor: a descriptor
  // that polls readable when an input report arrives for this handle, or -1
  // when the device offers none (the caller then has to read to find out).
  // InputDueMs: 0 when a report can be read now, the milliseconds until a
  // report already on its way can be read, kNoInput when none is waiting, or
  // kInputGone when the device has gone (reads fail). Call InputDueMs before
  // each wait on the descriptor: it also takes back the descriptor's
  // readiness where that is only a notice.
  static constexpr int kNoInput = -1;
  static constexpr int kInputGone = -2;
  virtual int InputDescriptor() = 0;
  virtual int InputDueMs() = 0;
  // Feature reports; byte 0 is the report number. Bytes transferred or -1.
  virtual int SendFeatureReport(const uint8_t* data, size_t length) = 0;
  virtual int GetFeatureReport(uint8_t* data, size_t length) = 0;
  // Interface strings; empty when unavailable.
  virtual std::wstring ManufacturerString() = 0;
  virtual std::wstring ProductString() = 0;
};

// The result of opening a path: a device, or the errno of the failure.
struct HidOpenResult {
  std::unique_ptr<HidDevice> device;
  int error = 0;  // errno; EACCES means the user may not open the node
  bool ok() const { return device != nullptr; }
  bool PermissionDenied() const;
};

class HidBackend {
 public:
  virtual ~HidBackend() = default;
  // Every top-level collection of every attached HID device, in a stable
  // order (by path, then descriptor order).
  virtual std::vector<HidCollectionInfo> Enumerate() = 0;
  virtual HidOpenResult Open(const std::string& path) = 0;
};

// Builds one HidCollectionInfo per top-level collection of an interface's
// report descriptor, with `base` supplying path, ids and bus. Returns an
// empty list when the descriptor is malformed or has no collections.
std::vector<HidCollectionInfo> CollectionsOfInterface(const HidCollectionInfo& base,
                                                      const uint8_t* descriptor, size_t length);

}  // namespace tk410
