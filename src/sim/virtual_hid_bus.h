#pragma once
// The virtual HID bus: implements the HID seam over attached virtual
// devices, so the device manager talks to them exactly as to hidapi.
//
// Reports behave as on hidraw: every open handle of an interface receives
// its own copy of each input report (at most 64 queued, the oldest dropped);
// a read that times out leaves nothing behind, so a reply arriving late is
// what the next read returns. Devices can be attached and detached at any
// time; listeners hear about it (the hot-plug monitor listens here when
// simulating). After a detach the handles of the device fail with -1.
//
// Time: with a ManualClock a read that would wait advances the clock
// instead (to the due time of the next report, or by the whole time-out),
// so tests never sleep; with any other clock reads wait in real time.
//
// Waiting without reading: each handle has a descriptor that is rung when a
// report is delivered to it or its device goes, and tells how soon its next
// report is due, as a hidraw descriptor polls readable when a report waits.

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "base/clock.h"
#include "base/wake_signal.h"
#include "device/hid_backend.h"
#include "sim/virtual_hid_device.h"

namespace tk410 {

struct VirtualBusEvent {
  bool arrival = true;  // false: removal
  int attach_id = 0;
  uint16_t vendor_id = 0;
  uint16_t product_id = 0;
  int bus_type = kHidBusUsb;
  // One per interface: the path and the interface number.
  std::vector<std::pair<std::string, int>> interfaces;
};

class VirtualHidBus final : public HidBackend {
 public:
  using Listener = std::function<void(const VirtualBusEvent&)>;
  static constexpr size_t kQueueLimit = 64;

  explicit VirtualHidBus(Clock& clock);
  ~VirtualHidBus() override;
  VirtualHidBus(const VirtualHidBus&) = delete;
  VirtualHidBus& operator=(const VirtualHidBus&) = delete;

  // Attaches a device; returns its attach id (> 0).
  int Attach(std::shared_ptr<VirtualHidDevice> device);
  // Detaches it; its open handles fail from then on. False when unknown.
  bool Detach(int attach_id);
  bool IsAttached(int attach_id) const;
  // Called after every attach and detach, outside the bus lock.
  int AddListener(Listener listener);
  void RemoveListener(int listener_id);
  // The path of an attached device's interface ("virtual/hidrawN"), or empty.
  std::string PathOf(int attach_id, int interface_number) const;

  // HidBackend
  std::vector<HidCollectionInfo> Enumerate() override;
  HidOpenResult Open(const std::string& path) override;

  // Called by devices (through VirtualHidDevice::EmitInput).
  void Deliver(int attach_id, int interface_number, const std::vector<uint8_t>& report,
               uint32_t delay_ms);

  Clock& clock() { return clock_; }
  // Readers waiting right now for a report: blocked in a read's time-out, or
  // watching a handle's descriptor after it said nothing was there.
  int ReadsWaiting() const;

 private:
  class Handle;
  struct Pending {
    uint64_t due_us;
    std::vector<uint8_t> report;
  };
  struct HandleState {
    int attach_id = 0;
    int interface_number = 0;
    bool gone = false;
    bool watched = false;       // a reader waits on `arrived` for the next report
    std::deque<Pending> queue;  // in due order
    WakeSignal arrived;         // rung by every delivery and by the device going
  };
  struct Node {
    int attach_id;
    std::shared_ptr<VirtualHidDevice> device;
    std::vector<VirtualInterface> interfaces;
    std::vector<std::string> paths;  // parallel to interfaces
  };

  VirtualBusEvent EventOf(const Node& node, bool arrival) const;
  void Notify(const VirtualBusEvent& event);
  int Read(HandleState& state, uint8_t* data, size_t length, int timeout_ms);
  int DueMs(HandleState& state);
  std::shared_ptr<VirtualHidDevice> DeviceOf(const HandleState& state) const;
  void Close(HandleState* state);

  Clock& clock_;
  ManualClock* manual_;  // non-null when the clock is manual

  mutable std::mutex mutex_;
  std::condition_variable arrived_;
  std::vector<Node> nodes_;                         // guarded by mutex_
  std::vector<std::shared_ptr<HandleState>> open_;  // guarded by mutex_
  int next_attach_id_ = 1;
  int next_node_number_ = 0;
  int reads_waiting_ = 0;                           // guarded by mutex_

  std::mutex listeners_mutex_;
  std::vector<std::pair<int, Listener>> listeners_;
  int next_listener_id_ = 1;
};

}  // namespace tk410
