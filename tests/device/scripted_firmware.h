#pragma once
// Mice whose timing a test scripts: the virtual firmware of the family
// answers every request on one interface holding the family's vendor
// collection, and a shaper may change what follows request n: a status
// report before the reply, the reply late or twice, or no reply at all.

#include <algorithm>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <vector>

#include "device/scripted_device.h"
#include "sim/nordic_firmware.h"
#include "sim/virtual_wired_mouse.h"
#include "sim/wired_firmware.h"

namespace tk410::testing {

template <typename Firmware>
class ScriptedMouse {
 public:
  // `reports` holds the firmware's reply (nothing when it gave none); the
  // shaper may change it and the firmware (the user's own changes).
  using Shaper = std::function<void(int number, const std::vector<uint8_t>& request,
                                    std::vector<ScriptedReport>& reports, Firmware& firmware)>;

  ScriptedMouse(uint16_t pid, const std::vector<uint8_t>& descriptor)
      : device_(std::make_shared<ScriptedDevice>(0x1209, pid, descriptor)) {
    device_->SetResponder([this](int number, const std::vector<uint8_t>& request) {
      std::lock_guard<std::mutex> lock(mutex_);
      std::vector<ScriptedReport> reports;
      if (auto reply = Answer(request)) reports.push_back({std::move(*reply)});
      if (shaper_) shaper_(number, request, reports, firmware_);
      return reports;
    });
  }

  std::shared_ptr<ScriptedDevice> Device() const { return device_; }
  void SetShaper(Shaper shaper) {
    std::lock_guard<std::mutex> lock(mutex_);
    shaper_ = std::move(shaper);
  }
  template <typename F>
  auto WithFirmware(F&& f) {
    std::lock_guard<std::mutex> lock(mutex_);
    return f(firmware_);
  }
  // Requests received so far (payloads without the report number).
  std::vector<std::vector<uint8_t>> Written() const { return device_->Written(); }

 private:
  // The firmware's reply to a request, as the bytes of the input report.
  std::optional<std::vector<uint8_t>> Answer(const std::vector<uint8_t>& request);

  std::shared_ptr<ScriptedDevice> device_;
  std::mutex mutex_;
  Firmware firmware_;
  Shaper shaper_;
};

template <>
inline std::optional<std::vector<uint8_t>> ScriptedMouse<WiredFirmware>::Answer(
    const std::vector<uint8_t>& request) {
  WiredFrame frame;
  std::copy_n(request.begin(), std::min(request.size(), WiredFrame::kSize), frame.bytes.begin());
  auto reply = firmware_.Handle(frame);
  if (!reply) return std::nullopt;
  return std::vector<uint8_t>(reply->bytes.begin(), reply->bytes.end());
}

template <>
inline std::optional<std::vector<uint8_t>> ScriptedMouse<NordicFirmware>::Answer(
    const std::vector<uint8_t>& request) {
  auto reply = firmware_.Handle(request.data(), request.size());
  if (!reply) return std::nullopt;
  return std::vector<uint8_t>(reply->bytes.begin(), reply->bytes.end());
}

// The wired mouse 1209:0001 with its vendor collection alone on the interface.
class ScriptedWiredMouse : public ScriptedMouse<WiredFirmware> {
 public:
  ScriptedWiredMouse() : ScriptedMouse(0x0001, WiredVendorReportDescriptor()) {}
  // The status report the mouse raises (64 bytes).
  static std::vector<uint8_t> Status(uint8_t type, uint8_t value1, uint8_t value2) {
    const auto bytes = WiredStatusReport{type, value1, value2}.Build();
    return std::vector<uint8_t>(bytes.begin(), bytes.end());
  }
};

// The Nordic mouse 1209:0003 on a cable, its vendor collection alone on the interface.
class ScriptedNordicMouse : public ScriptedMouse<NordicFirmware> {
 public:
  ScriptedNordicMouse() : ScriptedMouse(0x0003, kNordicDescriptor) {}
  // The mouse's unsolicited status report (source 0x01 on a cable).
  static std::vector<uint8_t> Status(const NordicStatusBlock& status) {
    const NordicFrame f = status.Build(0x01);
    return std::vector<uint8_t>(f.bytes.begin(), f.bytes.end());
  }
};

}  // namespace tk410::testing
