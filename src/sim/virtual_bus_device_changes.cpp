#include "sim/virtual_bus_device_changes.h"

#include "device/interface_path_text.h"
#include "sim/virtual_hid_bus.h"

namespace tk410 {

namespace {

// The bus number the kernel gives hid devices of a hidapi bus type.
int KernelBus(int bus_type) {
  switch (bus_type) {
    case kHidBusBluetooth:
      return 0x05;
    case kHidBusI2c:
      return 0x18;
    case kHidBusSpi:
      return 0x1C;
    default:
      return 0x03;
  }
}

}  // namespace

VirtualBusDeviceChanges::~VirtualBusDeviceChanges() { Stop(); }

bool VirtualBusDeviceChanges::Start(Sink sink) {
  std::lock_guard<std::mutex> lock(mutex_);
  if (listener_id_ != 0) return false;
  sink_ = std::move(sink);
  listener_id_ = bus_.AddListener([this](const VirtualBusEvent& event) { OnBusEvent(event); });
  return true;
}

void VirtualBusDeviceChanges::Stop() {
  int id = 0;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    id = listener_id_;
    listener_id_ = 0;
    sink_ = nullptr;
  }
  if (id != 0) bus_.RemoveListener(id);
}

std::wstring VirtualBusDeviceChanges::PathText(const VirtualBusEvent& event,
                                               size_t interface_index) {
  const auto& [path, number] = event.interfaces.at(interface_index);
  InterfaceIds ids;
  ids.bus = KernelBus(event.bus_type);
  ids.vendor_id = event.vendor_id;
  ids.product_id = event.product_id;
  ids.interface_number = number;
  std::string node = path;
  for (char& c : node) {
    if (c == '/') c = '-';
  }
  return InterfacePathText(ids, node);
}

void VirtualBusDeviceChanges::OnBusEvent(const VirtualBusEvent& event) {
  // The sink runs under the lock, so once Stop has taken it no call is left.
  std::lock_guard<std::mutex> lock(mutex_);
  if (!sink_) return;
  for (size_t i = 0; i < event.interfaces.size(); ++i) {
    const std::wstring text = PathText(event, i);
    if (event.arrival) {
      nodes_[text] = event.interfaces[i].first;
    } else {
      nodes_.erase(text);
    }
    sink_(text, event.arrival);
  }
}

bool VirtualBusDeviceChanges::ProbeArrival(const std::wstring& interface_path,
                                           VendorCollection wanted) {
  std::string node;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    const auto it = nodes_.find(interface_path);
    if (it == nodes_.end()) return false;
    node = it->second;
  }
  if (!bus_.Open(node).ok()) return false;
  for (const HidCollectionInfo& c : bus_.Enumerate()) {
    if (c.path == node && c.usage_page == wanted.usage_page && c.usage == wanted.usage) {
      return true;
    }
  }
  return false;
}

}  // namespace tk410
