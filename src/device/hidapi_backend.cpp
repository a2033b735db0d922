#include "device/hidapi_backend.h"

#include <fcntl.h>
#include <hidapi/hidapi.h>
#include <poll.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <map>

#include "base/safe_file.h"
#include "base/trace.h"

namespace tk410 {

namespace {

// hidapi's strings hold at most 512 wide characters with the terminator.
constexpr size_t kStringChars = 512;

// hidapi 0.13 has no call that gives the descriptor of an open device. Its
// hidraw implementation keeps the descriptor as the first member of the
// device object (linux/hid.c: struct hid_device_ { int device_handle; ...}).
// The number read from there is used only when it names the node that was
// opened: a character device with the node's device number, open for reading
// and writing. Otherwise the device offers no descriptor, and the worker
// reads with a time-out instead of waiting on it.
int DescriptorOf(hid_device* device, const std::string& path) {
  const int fd = *reinterpret_cast<const int*>(device);
  struct stat node {};
  struct stat open_file {};
  if (fd < 0 || ::stat(path.c_str(), &node) != 0 || ::fstat(fd, &open_file) != 0) return -1;
  if (!S_ISCHR(open_file.st_mode) || open_file.st_rdev != node.st_rdev) return -1;
  const int flags = ::fcntl(fd, F_GETFL);
  return flags >= 0 && (flags & O_ACCMODE) == O_RDWR ? fd : -1;
}

class HidapiDevice final : public HidDevice {
 public:
  HidapiDevice(hid_device* device, const std::string& path)
      : device_(device), fd_(DescriptorOf(device, path)) {
    if (fd_ < 0) Trace(kTraceInfo, "no descriptor of %s to wait on: its reports are read with a time-out", path.c_str());
  }
  ~HidapiDevice() override { hid_close(device_); }

  int Write(const uint8_t* data, size_t length) override {
    return hid_write(device_, data, length);
  }
  int ReadTimeout(uint8_t* data, size_t length, int timeout_ms) override {
    return hid_read_timeout(device_, data, length, timeout_ms);
  }
  int InputDescriptor() override { return fd_; }
  int InputDueMs() override {
    if (fd_ < 0) return kNoInput;
    pollfd p{fd_, POLLIN, 0};
    if (::poll(&p, 1, 0) <= 0) return kNoInput;
    if (p.revents & POLLIN) return 0;
    return (p.revents & (POLLERR | POLLHUP | POLLNVAL)) ? kInputGone : kNoInput;
  }
  int SendFeatureReport(const uint8_t* data, size_t length) override {
    return hid_send_feature_report(device_, data, length);
  }
  int GetFeatureReport(uint8_t* data, size_t length) override {
    return hid_get_feature_report(device_, data, length);
  }
  std::wstring ManufacturerString() override {
    wchar_t text[kStringChars] = {};
    if (hid_get_manufacturer_string(device_, text, kStringChars) != 0) return std::wstring();
    text[kStringChars - 1] = 0;
    return text;
  }
  std::wstring ProductString() override {
    wchar_t text[kStringChars] = {};
    if (hid_get_product_string(device_, text, kStringChars) != 0) return std::wstring();
    text[kStringChars - 1] = 0;
    return text;
  }

 private:
  hid_device* device_;
  int fd_;  // hidapi's own descriptor of the node, or -1
};

}  // namespace

std::vector<uint8_t> ReadHidrawReportDescriptor(const std::string& device_path) {
  const size_t slash = device_path.find_last_of('/');
  const std::string node = slash == std::string::npos ? device_path : device_path.substr(slash + 1);
  if (node.rfind("hidraw", 0) != 0) return {};
  // sysfs reaches the device through links. A descriptor is at most 4 KiB.
  std::string bytes;
  if (ReadRegularFile("/sys/class/hidraw/" + node + "/device/report_descriptor", 64u << 10,
                      FileLinks::kFollow, &bytes) != FileRead::kOk)
    return {};
  return std::vector<uint8_t>(bytes.begin(), bytes.end());
}

HidapiBackend::HidapiBackend() { hid_init(); }
HidapiBackend::~HidapiBackend() { hid_exit(); }

std::vector<HidCollectionInfo> HidapiBackend::Enumerate() {
  // Group hidapi's entries by path: one path is one interface.
  std::map<std::string, std::vector<HidCollectionInfo>> by_path;
  std::vector<std::string> order;
  hid_device_info* list = hid_enumerate(0, 0);
  for (hid_device_info* e = list; e != nullptr; e = e->next) {
    if (e->path == nullptr) continue;
    HidCollectionInfo info;
    info.path = e->path;
    info.vendor_id = e->vendor_id;
    info.product_id = e->product_id;
    info.release_number = e->release_number;
    info.usage_page = e->usage_page;
    info.usage = e->usage;
    info.bus_type = static_cast<int>(e->bus_type);
    info.interface_number = e->interface_number;
    auto& group = by_path[info.path];
    if (group.empty()) order.push_back(info.path);
    group.push_back(std::move(info));
  }
  hid_free_enumeration(list);

  std::vector<HidCollectionInfo> result;
  for (const std::string& path : order) {
    const auto& group = by_path[path];
    const std::vector<uint8_t> descriptor = ReadHidrawReportDescriptor(path);
    auto collections = CollectionsOfInterface(group.front(), descriptor.data(), descriptor.size());
    if (!collections.empty()) {
      for (auto& c : collections) result.push_back(std::move(c));
      continue;
    }
    // No readable descriptor: keep hidapi's entries, one per distinct usage.
    for (size_t i = 0; i < group.size(); ++i) {
      bool seen = false;
      for (size_t k = 0; k < i; ++k) {
        seen = seen || (group[k].usage_page == group[i].usage_page && group[k].usage == group[i].usage);
      }
      if (!seen) result.push_back(group[i]);
    }
  }
  return result;
}

HidOpenResult HidapiBackend::Open(const std::string& path) {
  HidOpenResult result;
  errno = 0;
  hid_device* device = hid_open_path(path.c_str());
  if (device == nullptr) {
    result.error = errno;
    // hidapi may overwrite errno while cleaning up; ask the node directly.
    if (result.error == 0 && ::access(path.c_str(), R_OK | W_OK) != 0) result.error = errno;
    if (result.error == 0) result.error = EIO;
    return result;
  }
  result.device = std::make_unique<HidapiDevice>(device, path);
  return result;
}

}  // namespace tk410
