#pragma once
// The records of the device manager: a supported id pair from the catalogue
// and one attached HID interface found by a scan.

#include <cstdint>
#include <memory>
#include <set>
#include <string>

#include "device/hid_backend.h"

namespace tk410 {

// Connection modes (dev_mode).
enum DeviceMode : int {
  kModeDirect = 0,      // wired, always online
  kModeReceiver = 1,    // through a receiver, online follows the link bit
  kModeBluetooth = 2,   // recorded without a HID handle
  kModeReceiver2 = 3,   // second receiver mode, as mode 1
};

struct SupportedDevice {
  uint32_t vendor_id = 0;
  uint32_t product_id = 0;
  std::wstring name;  // always empty
  int32_t dev_type = 0;
  int32_t dev_mode = 0;
};

struct DeviceInfo {
  static constexpr size_t kMaxPath = 1023;
  static constexpr size_t kMaxString = 511;

  int32_t index = 0;
  uint16_t vendor_id = 0;
  uint16_t product_id = 0;
  std::string path;  // at most 1023 characters
  std::wstring manufacturer;
  std::wstring product;
  std::unique_ptr<HidDevice> handle;  // none for a Bluetooth record
  uint32_t release_number = 0;
  int32_t dev_type = 0;
  int32_t dev_mode = 0;
  int32_t online = 0;
  // The ids of the collection's numbered input reports; reports of the
  // interface with another first byte are skipped. Empty: every report of
  // the interface is the collection's.
  std::set<uint8_t> input_report_ids;
};

}  // namespace tk410
