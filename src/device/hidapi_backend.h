#pragma once
// The real HID backend: hidapi with its hidraw implementation (0.13.1).
//
// hidapi 0.13 on hidraw reports one entry per usage-bearing collection item,
// nested ones included, all with the same path. This backend reads each
// interface's report descriptor from sysfs and reports one record per
// top-level collection instead, so usage page and usage mean what the
// collection's capabilities would say.

#include "device/hid_backend.h"

namespace tk410 {

class HidapiBackend final : public HidBackend {
 public:
  HidapiBackend();   // hid_init
  ~HidapiBackend();  // hid_exit
  HidapiBackend(const HidapiBackend&) = delete;
  HidapiBackend& operator=(const HidapiBackend&) = delete;

  std::vector<HidCollectionInfo> Enumerate() override;
  HidOpenResult Open(const std::string& path) override;
};

// The report descriptor of a hidraw node ("/dev/hidraw3"), read from
// /sys/class/hidraw/hidraw3/device/report_descriptor. Empty when unreadable.
std::vector<uint8_t> ReadHidrawReportDescriptor(const std::string& device_path);

}  // namespace tk410
