#pragma once
// A virtual HID device for the device manager tests: one interface with the
// given report descriptor; every output report is recorded and answered by
// the next queued reply, if any.

#include <deque>
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
    {
      std::lock_guard<std::mutex> lock(mutex_);
      written_.emplace_back(data, data + length);
      if (replies_.empty()) return;
      reply = replies_.front();
      replies_.pop_front();
    }
    EmitInput(0, reply);
  }

  void QueueReply(std::vector<uint8_t> reply) {
    std::lock_guard<std::mutex> lock(mutex_);
    replies_.push_back(std::move(reply));
  }
  void Raise(const std::vector<uint8_t>& report) { EmitInput(0, report); }
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
};

}  // namespace tk410::testing
