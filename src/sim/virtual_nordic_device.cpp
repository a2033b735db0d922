#include "sim/virtual_nordic_device.h"

#include "sim/hid_descriptors.h"

#include <algorithm>
#include <sstream>

#include "sim/state_text.h"

namespace tk410 {

namespace {

using namespace nordic;

const std::vector<uint8_t>& kMouseCollection = MouseCollectionDescriptor();
// Vendor 0xFF0A/0x01: 64-byte input and output without report id.
const std::vector<uint8_t> kVendorCollection = {
    0x06, 0x0A, 0xFF, 0x09, 0x01, 0xA1, 0x01, 0x09, 0x01, 0x15, 0x00, 0x26, 0xFF, 0x00,
    0x75, 0x08, 0x95, 0x40, 0x81, 0x02, 0x09, 0x02, 0x95, 0x40, 0x91, 0x02, 0xC0};

constexpr char kLinkLine[] = "receiver_linked";
constexpr uint8_t kReceiverSource = 0x01;
constexpr uint8_t kMouseBehindSource = 0x41;

}  // namespace

VirtualNordicDevice::VirtualNordicDevice(VirtualNordicOptions options) : options_(options) {}

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
  return receiver_rejected_ + mouse_.RejectedRequests();
}

bool VirtualNordicDevice::Linked() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return linked_;
}

void VirtualNordicDevice::SetReceiverVersion(uint8_t major, uint8_t minor) {
  std::lock_guard<std::mutex> lock(mutex_);
  receiver_version_ = {major, minor};
}

std::optional<NordicFrame> VirtualNordicDevice::Answer(const uint8_t* data, size_t length) {
  if (!IsReceiver() || TargetOf(data[kTargetCommandAt]) != kTargetDevice) {
    if (IsReceiver() && !linked_) {
      // Nobody behind the receiver to answer.
      return std::nullopt;
    }
    return mouse_.Handle(data, length);
  }
  // The receiver itself.
  if (!NordicFrame::VerifyReceived(data, length)) {
    ++receiver_rejected_;
    return std::nullopt;
  }
  const uint8_t command = CommandOf(data[kTargetCommandAt]);
  if (command == kCmdStatus && data[kCodeAt] == kCodeRead) {
    NordicStatusBlock status = linked_ ? mouse_.Status() : NordicStatusBlock();
    status.linked = linked_;
    return status.Build(data[kTargetCommandAt]);
  }
  if (command == kCmdVersion && data[kCodeAt] == kCodeRead) {
    NordicFrame f;
    f[kTargetCommandAt] = data[kTargetCommandAt];
    f[kCodeAt] = kCodeVersion;
    f[NordicVersionReply::kMajorAt] = receiver_version_.first;
    f[NordicVersionReply::kMinorAt] = receiver_version_.second;
    return f;
  }
  ++receiver_rejected_;
  return std::nullopt;
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
    if (fault != NordicFault::kUnplug) reply = Answer(data, length);
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
  NordicStatusBlock status;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    if (!IsReceiver()) return;
    linked_ = linked;
    if (linked) status = mouse_.Status();
    status.linked = linked;
  }
  if (!quiet) Emit(status.Build(kReceiverSource));
}

void VirtualNordicDevice::RaiseMouseStatus() {
  NordicStatusBlock status;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    if (IsReceiver() && !linked_) return;
    status = mouse_.Status();
  }
  Emit(status.Build(IsReceiver() ? kMouseBehindSource : kReceiverSource));
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
    text = mouse_.Save() + kLinkLine + " " + (linked_ ? "1" : "0") + "\n";
  }
  return sim_state::WriteFile(path, text);
}

bool VirtualNordicDevice::LoadFromFile(const std::string& path) {
  std::string text;
  if (!sim_state::ReadFile(path, &text)) return false;
  // The link line is the device's; the rest is the mouse's.
  bool linked = true;
  std::istringstream in(text);
  std::string mouse_text;
  for (std::string line; std::getline(in, line);) {
    const std::vector<std::string> f = sim_state::Fields(line);
    if (!f.empty() && f[0] == kLinkLine) {
      if (f.size() != 2 || (f[1] != "0" && f[1] != "1")) return false;
      linked = f[1] == "1";
    } else {
      mouse_text += line + "\n";
    }
  }
  std::lock_guard<std::mutex> lock(mutex_);
  if (!mouse_.Load(mouse_text)) return false;
  linked_ = linked;
  return true;
}

}  // namespace tk410
