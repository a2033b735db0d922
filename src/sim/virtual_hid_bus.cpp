#include "sim/virtual_hid_bus.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstring>

namespace tk410 {

// ------------------------------------------------------------ device links

void VirtualHidDevice::EmitInput(int interface_number, const std::vector<uint8_t>& report,
                                 uint32_t delay_ms) {
  std::lock_guard<std::mutex> lock(link_mutex_);
  if (bus_ != nullptr) bus_->Deliver(attach_id_, interface_number, report, delay_ms);
}

void VirtualHidDevice::EmitAll(int interface_number, const std::vector<TimedReport>& reports) {
  for (const TimedReport& r : reports) EmitInput(interface_number, r.bytes, r.delay_ms);
}

void VirtualHidDevice::Unplug() {
  VirtualHidBus* bus = nullptr;
  int id = 0;
  {
    std::lock_guard<std::mutex> lock(link_mutex_);
    bus = bus_;
    id = attach_id_;
  }
  if (bus != nullptr) bus->Detach(id);
}

// ---------------------------------------------------------------- handles

class VirtualHidBus::Handle final : public HidDevice {
 public:
  Handle(VirtualHidBus* bus, std::shared_ptr<HandleState> state)
      : bus_(bus), state_(std::move(state)) {}
  ~Handle() override { bus_->Close(state_.get()); }

  int Write(const uint8_t* data, size_t length) override {
    auto device = bus_->DeviceOf(*state_);
    if (!device || data == nullptr || length == 0) return -1;
    const uint8_t report_id = data[0];
    if (report_id == 0) {
      device->OnOutputReport(state_->interface_number, 0, data + 1, length - 1);
    } else {
      device->OnOutputReport(state_->interface_number, report_id, data, length);
    }
    return static_cast<int>(length);
  }
  int ReadTimeout(uint8_t* data, size_t length, int timeout_ms) override {
    return bus_->Read(*state_, data, length, timeout_ms);
  }
  int InputDescriptor() override { return state_->arrived.Fd(); }
  int InputDueMs() override { return bus_->DueMs(*state_); }
  int SendFeatureReport(const uint8_t* data, size_t length) override {
    auto device = bus_->DeviceOf(*state_);
    if (!device || data == nullptr || length == 0) return -1;
    return device->OnSetFeature(state_->interface_number, data, length);
  }
  int GetFeatureReport(uint8_t* data, size_t length) override {
    auto device = bus_->DeviceOf(*state_);
    if (!device || data == nullptr || length == 0) return -1;
    return device->OnGetFeature(state_->interface_number, data, length);
  }
  std::wstring ManufacturerString() override {
    auto device = bus_->DeviceOf(*state_);
    return device ? device->Manufacturer() : std::wstring();
  }
  std::wstring ProductString() override {
    auto device = bus_->DeviceOf(*state_);
    return device ? device->Product() : std::wstring();
  }

 private:
  VirtualHidBus* bus_;
  std::shared_ptr<HandleState> state_;
};

// -------------------------------------------------------------------- bus

VirtualHidBus::VirtualHidBus(Clock& clock)
    : clock_(clock), manual_(dynamic_cast<ManualClock*>(&clock)) {}

VirtualHidBus::~VirtualHidBus() {
  std::vector<int> ids;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    for (const Node& n : nodes_) ids.push_back(n.attach_id);
  }
  for (int id : ids) Detach(id);
}

int VirtualHidBus::Attach(std::shared_ptr<VirtualHidDevice> device) {
  if (!device) return 0;
  VirtualBusEvent event;
  int id = 0;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    id = next_attach_id_++;
    Node node{id, device, device->Interfaces(), {}};
    for (size_t i = 0; i < node.interfaces.size(); ++i) {
      node.paths.push_back("virtual/hidraw" + std::to_string(next_node_number_++));
    }
    event = EventOf(node, true);
    nodes_.push_back(std::move(node));
  }
  {
    std::lock_guard<std::mutex> link(device->link_mutex_);
    device->bus_ = this;
    device->attach_id_ = id;
  }
  Notify(event);
  return id;
}

bool VirtualHidBus::Detach(int attach_id) {
  VirtualBusEvent event;
  std::shared_ptr<VirtualHidDevice> device;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    auto it = std::find_if(nodes_.begin(), nodes_.end(),
                           [&](const Node& n) { return n.attach_id == attach_id; });
    if (it == nodes_.end()) return false;
    event = EventOf(*it, false);
    device = it->device;
    nodes_.erase(it);
    for (auto& h : open_) {
      if (h->attach_id == attach_id) {
        h->gone = true;
        h->queue.clear();
        h->arrived.Ring();
      }
    }
  }
  arrived_.notify_all();
  {
    std::lock_guard<std::mutex> link(device->link_mutex_);
    if (device->bus_ == this && device->attach_id_ == attach_id) device->bus_ = nullptr;
  }
  Notify(event);
  return true;
}

bool VirtualHidBus::IsAttached(int attach_id) const {
  std::lock_guard<std::mutex> lock(mutex_);
  return std::any_of(nodes_.begin(), nodes_.end(),
                     [&](const Node& n) { return n.attach_id == attach_id; });
}

int VirtualHidBus::AddListener(Listener listener) {
  std::lock_guard<std::mutex> lock(listeners_mutex_);
  const int id = next_listener_id_++;
  listeners_.emplace_back(id, std::move(listener));
  return id;
}

void VirtualHidBus::RemoveListener(int listener_id) {
  std::lock_guard<std::mutex> lock(listeners_mutex_);
  listeners_.erase(std::remove_if(listeners_.begin(), listeners_.end(),
                                  [&](const auto& l) { return l.first == listener_id; }),
                   listeners_.end());
}

void VirtualHidBus::Notify(const VirtualBusEvent& event) {
  std::vector<Listener> copy;
  {
    std::lock_guard<std::mutex> lock(listeners_mutex_);
    for (const auto& l : listeners_) copy.push_back(l.second);
  }
  for (const auto& l : copy) l(event);
}

VirtualBusEvent VirtualHidBus::EventOf(const Node& node, bool arrival) const {
  VirtualBusEvent e;
  e.arrival = arrival;
  e.attach_id = node.attach_id;
  e.vendor_id = node.device->VendorId();
  e.product_id = node.device->ProductId();
  e.bus_type = node.device->BusType();
  for (size_t i = 0; i < node.interfaces.size(); ++i) {
    e.interfaces.emplace_back(node.paths[i], node.interfaces[i].number);
  }
  return e;
}

std::string VirtualHidBus::PathOf(int attach_id, int interface_number) const {
  std::lock_guard<std::mutex> lock(mutex_);
  for (const Node& n : nodes_) {
    if (n.attach_id != attach_id) continue;
    for (size_t i = 0; i < n.interfaces.size(); ++i) {
      if (n.interfaces[i].number == interface_number) return n.paths[i];
    }
  }
  return std::string();
}

std::vector<HidCollectionInfo> VirtualHidBus::Enumerate() {
  std::lock_guard<std::mutex> lock(mutex_);
  std::vector<HidCollectionInfo> out;
  for (const Node& n : nodes_) {
    for (size_t i = 0; i < n.interfaces.size(); ++i) {
      HidCollectionInfo base;
      base.path = n.paths[i];
      base.vendor_id = n.device->VendorId();
      base.product_id = n.device->ProductId();
      base.release_number = n.device->ReleaseNumber();
      base.bus_type = n.device->BusType();
      base.interface_number = n.interfaces[i].number;
      const auto& d = n.interfaces[i].report_descriptor;
      for (auto& c : CollectionsOfInterface(base, d.data(), d.size())) out.push_back(std::move(c));
    }
  }
  return out;
}

HidOpenResult VirtualHidBus::Open(const std::string& path) {
  HidOpenResult result;
  std::lock_guard<std::mutex> lock(mutex_);
  for (const Node& n : nodes_) {
    for (size_t i = 0; i < n.interfaces.size(); ++i) {
      if (n.paths[i] != path) continue;
      if (n.device->OpenDenied()) {
        result.error = EACCES;
        return result;
      }
      auto state = std::make_shared<HandleState>();
      state->attach_id = n.attach_id;
      state->interface_number = n.interfaces[i].number;
      open_.push_back(state);
      result.device = std::make_unique<Handle>(this, state);
      return result;
    }
  }
  result.error = ENOENT;
  return result;
}

void VirtualHidBus::Close(HandleState* state) {
  std::lock_guard<std::mutex> lock(mutex_);
  open_.erase(std::remove_if(open_.begin(), open_.end(),
                             [&](const auto& h) { return h.get() == state; }),
              open_.end());
}

std::shared_ptr<VirtualHidDevice> VirtualHidBus::DeviceOf(const HandleState& state) const {
  std::lock_guard<std::mutex> lock(mutex_);
  if (state.gone) return nullptr;
  for (const Node& n : nodes_) {
    if (n.attach_id == state.attach_id) return n.device;
  }
  return nullptr;
}

void VirtualHidBus::Deliver(int attach_id, int interface_number,
                            const std::vector<uint8_t>& report, uint32_t delay_ms) {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    const uint64_t due = clock_.TickUs() + static_cast<uint64_t>(delay_ms) * 1000;
    for (auto& h : open_) {
      if (h->gone || h->attach_id != attach_id || h->interface_number != interface_number) continue;
      auto pos = std::upper_bound(h->queue.begin(), h->queue.end(), due,
                                  [](uint64_t d, const Pending& p) { return d < p.due_us; });
      h->queue.insert(pos, Pending{due, report});
      if (h->queue.size() > kQueueLimit) h->queue.pop_front();
      h->arrived.Ring();
    }
  }
  arrived_.notify_all();
}

int VirtualHidBus::ReadsWaiting() const {
  std::lock_guard<std::mutex> lock(mutex_);
  int watched = 0;
  for (const auto& h : open_) watched += h->watched ? 1 : 0;
  return reads_waiting_ + watched;
}

int VirtualHidBus::DueMs(HandleState& state) {
  // Cleared first: a delivery after the look below rings again.
  state.arrived.Clear();
  std::lock_guard<std::mutex> lock(mutex_);
  state.watched = false;
  if (state.gone) return HidDevice::kInputGone;
  if (state.queue.empty()) {
    state.watched = true;
    return HidDevice::kNoInput;
  }
  const uint64_t now = clock_.TickUs();
  const uint64_t due = state.queue.front().due_us;
  if (due <= now) return 0;
  state.watched = true;
  return static_cast<int>((due - now + 999) / 1000);
}

int VirtualHidBus::Read(HandleState& state, uint8_t* data, size_t length, int timeout_ms) {
  std::unique_lock<std::mutex> lock(mutex_);
  state.watched = false;
  uint64_t now = clock_.TickUs();
  const uint64_t deadline =
      timeout_ms < 0 ? UINT64_MAX : now + static_cast<uint64_t>(timeout_ms) * 1000;
  for (;;) {
    if (state.gone) return -1;
    if (!state.queue.empty() && state.queue.front().due_us <= now) {
      const std::vector<uint8_t> report = std::move(state.queue.front().report);
      state.queue.pop_front();
      const size_t n = std::min(length, report.size());
      if (n > 0) std::memcpy(data, report.data(), n);
      return static_cast<int>(n);
    }
    const uint64_t next_due = state.queue.empty() ? UINT64_MAX : state.queue.front().due_us;
    if (manual_ != nullptr) {
      if (deadline == UINT64_MAX && next_due == UINT64_MAX) return 0;  // would block forever
      const uint64_t until = std::min(next_due, deadline);
      manual_->AdvanceUs(until - now);
      now = until;
      if (next_due > deadline) return 0;
      continue;
    }
    if (now >= deadline) return 0;
    const uint64_t until = std::min(next_due, deadline);
    ++reads_waiting_;
    arrived_.wait_for(lock, std::chrono::microseconds(until - now));
    --reads_waiting_;
    now = clock_.TickUs();
  }
}

}  // namespace tk410
