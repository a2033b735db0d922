#pragma once
// A virtual HID device for the device manager tests: one interface with the
// given report descriptor; every output report is recorded and answered by
// the next queued reply, if any, or by a responder that decides which input
// reports follow each request and when they arrive.

#include <deque>
#include <functional>
#include <mutex>
#include <vector>

#include "sim/virtual_hid_device.h"

namespace tk410::testing {

// Nordic vendor collection: Usage Page 0xFF0A, Usage 1, 64-byte input and
// output reports without report id.
inline const std::vector<uint8_t> kNordicDescriptor = {
    0x06, 0x0A, 0xFF, 0x09, 0x01, 0xA1, 0x01, 0x09, 0x01, 0x75, 0x08,
    0x95, 0x40, 0x81, 0x02, 0x09, 0x02, 0x91, 0x02, 0xC0};
// Keyboard: Usage Page 1, Usage 6, 8-byte input report without report id.
inline const std::vector<uint8_t> kKeyboardDescriptor = {
    0x05, 0x01, 0x09, 0x06, 0xA1, 0x01, 0x05, 0x07, 0x75, 0x08, 0x95, 0x08, 0x81, 0x00, 0xC0};

// An input report and how long after the request it arrives.
struct ScriptedReport {
  std::vector<uint8_t> bytes;
  uint32_t delay_ms = 0;
};

// The reports that follow request `number` (1-based), in order of arrival.
using ScriptedResponder =
    std::function<std::vector<ScriptedReport>(int number, const std::vector<uint8_t>& request)>;

class ScriptedDevice final : public VirtualHidDevice {
 public:
  ScriptedDevice(uint16_t vid, uint16_t pid, std::vector<uint8_t> descriptor,
                 int bus = kHidBusUsb)
      : vid_(vid), pid_(pid), descriptor_(std::move(descriptor)), bus_type_(bus) {}

  uint16_t VendorId() const override { return vid_; }
  uint16_t ProductId() const override { return pid_; }
  int BusType() const override { return bus_type_; }
  std::vector<VirtualInterface> Interfaces() const override { return {{0, descriptor_}}; }

  void OnOutputReport(int, uint8_t, const uint8_t* data, size_t length) override {
    std::vector<uint8_t> reply;
    ScriptedResponder responder;
    int number = 0;
    {
      std::lock_guard<std::mutex> lock(mutex_);
      written_.emplace_back(data, data + length);
      number = static_cast<int>(written_.size());
      responder = responder_;
      if (!responder) {
        if (replies_.empty()) return;
        reply = replies_.front();
        replies_.pop_front();
      }
    }
    if (!responder) {
      EmitInput(0, reply);
      return;
    }
    for (const ScriptedReport& r : responder(number, std::vector<uint8_t>(data, data + length))) {
      EmitInput(0, r.bytes, r.delay_ms);
    }
  }

  // From now on every request is answered by `responder` (queued replies are not used).
  void SetResponder(ScriptedResponder responder) {
    std::lock_guard<std::mutex> lock(mutex_);
    responder_ = std::move(responder);
  }

  void QueueReply(std::vector<uint8_t> reply) {
    std::lock_guard<std::mutex> lock(mutex_);
    replies_.push_back(std::move(reply));
  }
  void Raise(const std::vector<uint8_t>& report, uint32_t delay_ms = 0) { EmitInput(0, report, delay_ms); }
  std::vector<std::vector<uint8_t>> Written() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return written_;
  }

 private:
  uint16_t vid_, pid_;
  std::vector<uint8_t> descriptor_;
  int bus_type_;
  mutable std::mutex mutex_;
  std::vector<std::vector<uint8_t>> written_;
  std::deque<std::vector<uint8_t>> replies_;
  ScriptedResponder responder_;
};

}  // namespace tk410::testing
