#include "device/arrival_probe.h"

#include <fcntl.h>
#include <linux/hidraw.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include "device/device_manager.h"
#include "device/report_descriptor.h"

namespace tk410 {

VendorCollection VendorCollectionOf(int device_type) {
  if (device_type > DeviceManager::kLastWiredType) {
    return {DeviceManager::kNordicUsagePage, DeviceManager::kNordicUsage};
  }
  return {DeviceManager::kWiredUsagePage, DeviceManager::kWiredUsage};
}

bool DescriptorHasCollection(const uint8_t* descriptor, size_t length, VendorCollection wanted) {
  const auto collections = ParseReportDescriptor(descriptor, length);
  if (!collections) return false;
  for (const TopLevelCollection& c : *collections) {
    if (c.usage_page == wanted.usage_page && c.usage == wanted.usage) return true;
  }
  return false;
}

bool ProbeHidrawNode(const std::string& node, VendorCollection wanted) {
  const int fd = ::open(node.c_str(), O_RDWR | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return false;
  int size = 0;
  hidraw_report_descriptor descriptor{};
  bool found = false;
  if (::ioctl(fd, HIDIOCGRDESCSIZE, &size) == 0 && size > 0 &&
      size <= HID_MAX_DESCRIPTOR_SIZE) {
    descriptor.size = static_cast<uint32_t>(size);
    if (::ioctl(fd, HIDIOCGRDESC, &descriptor) == 0) {
      found = DescriptorHasCollection(descriptor.value, descriptor.size, wanted);
    }
  }
  ::close(fd);
  return found;
}

}  // namespace tk410
