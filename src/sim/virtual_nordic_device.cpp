#include "sim/virtual_nordic_device.h"

#include "sim/hid_descriptors.h"

#include <algorithm>

#include "sim/state_text.h"

namespace tk410 {

namespace {

using namespace nordic;

const std::vector<uint8_t>& kMouseCollection = MouseCollectionDescriptor();
const std::vector<uint8_t>& kVendorCollection = NordicVendorCollectionDescriptor();

}  // namespace

VirtualNordicDevice::VirtualNordicDevice(VirtualNordicOptions options)
    : options_(options), core_(options.mode != 0) {}

std::vector<VirtualInterface> VirtualNordicDevice::Interfaces() const {
  return {VirtualInterface{kMouseInterface, kMouseCollection},
          VirtualInterface{kVendorInterface, kVendorCollection}};
}

bool VirtualNordicDevice::OpenDenied() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return open_denied_;
}

void VirtualNordicDevice::SetOpenDenied(bool denied) {
  std::lock_guard<std::mutex> lock(mutex_);
  open_denied_ = denied;
}

void VirtualNordicDevice::SetFault(NordicFault fault, int count) {
  std::lock_guard<std::mutex> lock(mutex_);
  fault_ = fault;
  fault_count_ = count;
}

int VirtualNordicDevice::RejectedRequests() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return core_.RejectedRequests();
}

bool VirtualNordicDevice::Linked() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return core_.Linked();
}

void VirtualNordicDevice::SetReceiverVersion(uint8_t major, uint8_t minor) {
  std::lock_guard<std::mutex> lock(mutex_);
  core_.SetReceiverVersion(major, minor);
}

void VirtualNordicDevice::OnOutputReport(int interface_number, uint8_t report_id, const uint8_t* data,
                                         size_t length) {
  if (interface_number != kVendorInterface || report_id != 0) return;
  NordicFault fault = NordicFault::kNone;
  std::optional<NordicFrame> reply;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    if (fault_ != NordicFault::kNone && fault_count_ != 0) {
      fault = fault_;
      if (fault_count_ > 0 && --fault_count_ == 0) fault_ = NordicFault::kNone;
    }
    if (fault != NordicFault::kUnplug) reply = core_.Answer(data, length);
  }
  if (fault == NordicFault::kUnplug) {
    Unplug();
    return;
  }
  if (!reply || fault == NordicFault::kNoReply) return;
  switch (fault) {
    case NordicFault::kWrongCode:
      (*reply)[kCodeAt] = static_cast<uint8_t>((*reply)[kCodeAt] ^ 0x40);
      Emit(*reply);
      break;
    case NordicFault::kShortReply:
      Emit(*reply, 0, NordicFrame::kSize - 1);
      break;
    case NordicFault::kLateReply:
      Emit(*reply, kLateMs);
      break;
    default:
      Emit(*reply);
      break;
  }
}

void VirtualNordicDevice::Emit(const NordicFrame& frame, uint32_t delay_ms, size_t length) {
  std::vector<uint8_t> bytes(frame.bytes.begin(), frame.bytes.begin() + std::min(length, NordicFrame::kSize));
  EmitInput(kVendorInterface, bytes, delay_ms);
}

void VirtualNordicDevice::SetLinked(bool linked, bool quiet) {
  std::optional<NordicFrame> report;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    report = core_.SetLinked(linked);
  }
  if (report && !quiet) Emit(*report);
}

void VirtualNordicDevice::RaiseMouseStatus() {
  std::optional<NordicFrame> report;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    report = core_.MouseStatus();
  }
  if (report) Emit(*report);
}

void VirtualNordicDevice::PressDpiButton(uint8_t stage) {
  WithFirmware([&](NordicFirmware& f) {
    f.SetActiveStage(stage);
    return 0;
  });
  RaiseMouseStatus();
}

void VirtualNordicDevice::SwitchReportRate(uint8_t code) {
  WithFirmware([&](NordicFirmware& f) {
    f.SetReportRate(code);
    return 0;
  });
  RaiseMouseStatus();
}

void VirtualNordicDevice::ChangeBattery(uint8_t a, uint8_t b) {
  WithFirmware([&](NordicFirmware& f) {
    f.SetBattery(a, b);
    return 0;
  });
  RaiseMouseStatus();
}

bool VirtualNordicDevice::SaveToFile(const std::string& path) const {
  std::string text;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    text = core_.Save();
  }
  return sim_state::WriteFile(path, text);
}

bool VirtualNordicDevice::LoadFromFile(const std::string& path) {
  std::string text;
  if (!sim_state::ReadFile(path, &text)) return false;
  std::lock_guard<std::mutex> lock(mutex_);
  return core_.Load(text);
}

}  // namespace tk410
