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

void VirtualNordicDevice::SetFault(NordicFault fault, int count, int after) {
  std::lock_guard<std::mutex> lock(mutex_);
  fault_ = fault;
  fault_count_ = count;
  fault_after_ = after;
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

void VirtualNordicDevice::AddTimingFault(TimingFault fault, int request) {
  std::lock_guard<std::mutex> lock(mutex_);
  timing_.Add({fault, request});
}

void VirtualNordicDevice::ClearTimingFaults() {
  std::lock_guard<std::mutex> lock(mutex_);
  timing_.Clear();
}

void VirtualNordicDevice::SetStrayStage(int stage) {
  std::lock_guard<std::mutex> lock(mutex_);
  stray_stage_ = stage;
}

int VirtualNordicDevice::RequestsSeen() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return timing_.Requests();
}

void VirtualNordicDevice::OnOutputReport(int interface_number, uint8_t report_id, const uint8_t* data,
                                         size_t length) {
  if (interface_number != kVendorInterface || report_id != 0) return;
  NordicFault fault = NordicFault::kNone;
  TimingFaultHit hit;
  std::optional<std::vector<uint8_t>> stray;
  std::optional<NordicFrame> reply;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    hit = timing_.OnRequest();
    if (fault_after_ > 0) {
      --fault_after_;
    } else if (fault_ != NordicFault::kNone && fault_count_ != 0) {
      fault = fault_;
      if (fault_count_ > 0 && --fault_count_ == 0) fault_ = NordicFault::kNone;
    }
    if (fault != NordicFault::kUnplug) {
      // The button was pressed while the request was on its way: the mouse
      // changes first, its report goes out before the reply.
      if (hit.stray_report) stray = ReportBytes(core_.PressDpiButton(stray_stage_));
      reply = core_.Answer(data, length);
    }
  }
  if (fault == NordicFault::kUnplug) {
    Unplug();
    return;
  }
  if (fault == NordicFault::kNoReply) reply.reset();
  std::optional<std::vector<uint8_t>> bytes = ReportBytes(reply);
  switch (bytes ? fault : NordicFault::kNone) {
    case NordicFault::kWrongCode:
      (*bytes)[kCodeAt] = static_cast<uint8_t>((*bytes)[kCodeAt] ^ 0x40);
      break;
    case NordicFault::kShortReply:
      bytes->resize(NordicFrame::kSize - 1);
      break;
    case NordicFault::kLateReply:
      hit.late_reply = true;
      break;
    default:
      break;
  }
  EmitAll(kVendorInterface, TimedReplies(hit, stray, bytes, 0, kLateMs));
}

void VirtualNordicDevice::Emit(const NordicFrame& frame) {
  EmitInput(kVendorInterface, ReportBytes(frame.bytes));
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
  std::optional<NordicFrame> report;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    report = core_.PressDpiButton(stage);
  }
  if (report) Emit(*report);
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
