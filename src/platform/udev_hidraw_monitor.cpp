#include "platform/udev_hidraw_monitor.h"

#include <libudev.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <string>

#include "base/trace.h"
#include "device/arrival_probe.h"
#include "device/interface_path_text.h"

namespace tk410 {

namespace {

std::string Text(const char* value) { return value ? std::string(value) : std::string(); }

}  // namespace

UdevHidrawMonitor::~UdevHidrawMonitor() { Stop(); }

bool UdevHidrawMonitor::Start(Sink sink) {
  if (thread_.joinable()) return false;
  sink_ = std::move(sink);
  udev_ = udev_new();
  if (udev_) monitor_ = udev_monitor_new_from_netlink(udev_, "udev");
  if (!monitor_ ||
      udev_monitor_filter_add_match_subsystem_devtype(monitor_, "hidraw", nullptr) < 0 ||
      udev_monitor_enable_receiving(monitor_) < 0) {
    Trace(kTraceError, "udev monitor unavailable: device changes are not seen");
    Release();
    return false;
  }
  wake_fd_ = eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
  if (wake_fd_ < 0) {
    Release();
    return false;
  }
  thread_ = std::thread([this] { Run(); });
  return true;
}

void UdevHidrawMonitor::Stop() {
  if (thread_.joinable()) {
    const uint64_t one = 1;
    [[maybe_unused]] ssize_t written = ::write(wake_fd_, &one, sizeof(one));
    thread_.join();
  }
  Release();
}

void UdevHidrawMonitor::Release() {
  if (wake_fd_ >= 0) ::close(wake_fd_);
  wake_fd_ = -1;
  if (monitor_) udev_monitor_unref(monitor_);
  monitor_ = nullptr;
  if (udev_) udev_unref(udev_);
  udev_ = nullptr;
}

void UdevHidrawMonitor::Run() {
  pollfd fds[2] = {{udev_monitor_get_fd(monitor_), POLLIN, 0}, {wake_fd_, POLLIN, 0}};
  for (;;) {
    fds[0].revents = fds[1].revents = 0;
    const int ready = ::poll(fds, 2, -1);
    if (ready < 0) {
      if (errno == EINTR) continue;
      Trace(kTraceError, "udev monitor poll failed: %s", std::strerror(errno));
      return;
    }
    if (fds[1].revents != 0) return;
    if ((fds[0].revents & POLLIN) == 0) continue;
    udev_device* device = udev_monitor_receive_device(monitor_);
    if (!device) continue;
    const std::string action = Text(udev_device_get_action(device));
    if (action == "add" || action == "remove") {
      const std::wstring path = PathTextFromUdevFacts(FactsOf(device));
      if (!path.empty()) sink_(path, action == "add");
    }
    udev_device_unref(device);
  }
}

HidrawUdevFacts UdevHidrawMonitor::FactsOf(udev_device* device) {
  HidrawUdevFacts facts;
  facts.devpath = Text(udev_device_get_devpath(device));
  facts.sysname = Text(udev_device_get_sysname(device));
  // Parents belong to the child; they are not unreferenced separately.
  if (udev_device* hid = udev_device_get_parent_with_subsystem_devtype(device, "hid", nullptr)) {
    facts.hid_id = Text(udev_device_get_property_value(hid, "HID_ID"));
    facts.hid_phys = Text(udev_device_get_property_value(hid, "HID_PHYS"));
  }
  if (udev_device* usb =
          udev_device_get_parent_with_subsystem_devtype(device, "usb", "usb_interface")) {
    facts.interface_number = Text(udev_device_get_sysattr_value(usb, "bInterfaceNumber"));
  }
  return facts;
}

bool UdevHidrawMonitor::ProbeArrival(const std::wstring& interface_path, VendorCollection wanted) {
  const std::string node = HidrawNodeOfPathText(interface_path);
  return !node.empty() && ProbeHidrawNode(node, wanted);
}

}  // namespace tk410
