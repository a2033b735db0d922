// The Nordic family's version query, carried out by the device manager on
// the active device.

#include "device/device_manager.h"
#include "device/nordic_layout.h"

namespace tk410 {

void DeviceManager::ReadNordicVersion(std::wstring* text, int selector) {
  constexpr uint32_t kRetryWaitMs = 100;
  *text = L"0.0.0";
  if (!opened_ || DeviceCount() == 0 || ActiveHandle() == nullptr) return;
  const int target = selector == 1 ? nordic::kTargetBehind : nordic::kTargetDevice;
  auto ask = [&](NordicFrame* reply) {
    *reply = nordic::Request(target, nordic::kCmdVersion, nordic::kCodeRead, 0);
    return ExchangeNordic(*reply) && (*reply)[nordic::kCodeAt] == nordic::kCodeVersion;
  };
  NordicFrame reply;
  if (!ask(&reply)) {
    clock_.SleepMs(kRetryWaitMs);
    if (!ask(&reply)) return;
  }
  *text = NordicVersionReply::Text(reply);
}

}  // namespace tk410
