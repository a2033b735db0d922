#include "sim/virtual_wired_mouse.h"

#include "sim/hid_descriptors.h"

#include <algorithm>
#include <cstring>
#include <optional>

namespace tk410 {

namespace {

const std::vector<uint8_t>& kMouseCollection = MouseCollectionDescriptor();
// Keyboard: modifiers and six keys; report id 2.
const std::vector<uint8_t> kKeyboardCollection = {
    0x05, 0x01, 0x09, 0x06, 0xA1, 0x01, 0x85, 0x02, 0x05, 0x07, 0x19, 0xE0,
    0x29, 0xE7, 0x15, 0x00, 0x25, 0x01, 0x75, 0x01, 0x95, 0x08, 0x81, 0x02,
    0x95, 0x06, 0x75, 0x08, 0x15, 0x00, 0x26, 0xFF, 0x00, 0x19, 0x00, 0x2A,
    0xFF, 0x00, 0x81, 0x00, 0xC0};
// Consumer control; report id 3.
const std::vector<uint8_t> kConsumerCollection = {
    0x05, 0x0C, 0x09, 0x01, 0xA1, 0x01, 0x85, 0x03, 0x15, 0x00, 0x26, 0xFF,
    0x03, 0x19, 0x00, 0x2A, 0xFF, 0x03, 0x75, 0x10, 0x95, 0x01, 0x81, 0x00, 0xC0};
// Vendor 0xFF01/0x10: 64-byte input and output without report id, feature
// report 0x51 of 20 data bytes.
const std::vector<uint8_t> kVendorCollection = {
    0x06, 0x01, 0xFF, 0x09, 0x10, 0xA1, 0x01, 0x09, 0x01, 0x15, 0x00, 0x26,
    0xFF, 0x00, 0x75, 0x08, 0x95, 0x40, 0x81, 0x02, 0x09, 0x02, 0x95, 0x40,
    0x91, 0x02, 0x85, 0x51, 0x09, 0x03, 0x95, 0x14, 0xB1, 0x02, 0xC0};

std::vector<uint8_t> Join(std::initializer_list<const std::vector<uint8_t>*> parts) {
  std::vector<uint8_t> all;
  for (const auto* p : parts) all.insert(all.end(), p->begin(), p->end());
  return all;
}

}  // namespace

const std::vector<uint8_t>& WiredVendorReportDescriptor() { return kVendorCollection; }

VirtualWiredMouse::VirtualWiredMouse(VirtualWiredMouseOptions options) : options_(options) {}

std::vector<VirtualInterface> VirtualWiredMouse::Interfaces() const {
  if (options_.shared_interface) {
    // The unnumbered vendor collection first: report ids are global items
    // and would carry over into it from a collection before it.
    return {VirtualInterface{0, Join({&kVendorCollection, &kMouseCollection,
                                      &kKeyboardCollection, &kConsumerCollection})}};
  }
  return {VirtualInterface{0, Join({&kMouseCollection, &kKeyboardCollection, &kConsumerCollection})},
          VirtualInterface{1, kVendorCollection}};
}

bool VirtualWiredMouse::OpenDenied() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return open_denied_;
}

void VirtualWiredMouse::SetOpenDenied(bool denied) {
  std::lock_guard<std::mutex> lock(mutex_);
  open_denied_ = denied;
}

void VirtualWiredMouse::SetFault(WiredFault fault, int count, int after) {
  std::lock_guard<std::mutex> lock(mutex_);
  fault_ = fault;
  fault_count_ = count;
  fault_after_ = after;
}

void VirtualWiredMouse::AddTimingFault(TimingFault fault, int request) {
  std::lock_guard<std::mutex> lock(mutex_);
  timing_.Add({fault, request});
}

void VirtualWiredMouse::ClearTimingFaults() {
  std::lock_guard<std::mutex> lock(mutex_);
  timing_.Clear();
}

void VirtualWiredMouse::SetStrayStage(uint8_t stage) {
  std::lock_guard<std::mutex> lock(mutex_);
  stray_stage_ = stage;
}

int VirtualWiredMouse::RequestsSeen() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return timing_.Requests();
}

void VirtualWiredMouse::SetLateDelayMs(uint32_t ms) {
  std::lock_guard<std::mutex> lock(mutex_);
  late_ms_ = ms;
}

void VirtualWiredMouse::SetReplyLatencyMs(uint32_t ms) {
  std::lock_guard<std::mutex> lock(mutex_);
  reply_latency_ms_ = ms;
}

void VirtualWiredMouse::SetInterleavedReports(int count) {
  std::lock_guard<std::mutex> lock(mutex_);
  interleaved_ = std::max(0, count);
}

void VirtualWiredMouse::OnOutputReport(int interface_number, uint8_t report_id,
                                       const uint8_t* data, size_t length) {
  if (interface_number != VendorInterface() || report_id != 0) return;
  WiredFrame request;
  std::memcpy(request.data(), data, std::min(length, WiredFrame::kSize));

  WiredFault fault = WiredFault::kNone;
  TimingFaultHit hit;
  std::optional<std::vector<uint8_t>> stray;
  std::optional<WiredFrame> reply;
  uint32_t late_ms = 0;
  uint32_t latency_ms = 0;
  int interleaved = 0;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    hit = timing_.OnRequest();
    if (fault_after_ > 0) {
      --fault_after_;
    } else if (fault_ != WiredFault::kNone && fault_count_ != 0) {
      fault = fault_;
      if (fault_count_ > 0 && --fault_count_ == 0) fault_ = WiredFault::kNone;
    }
    if (fault == WiredFault::kUnplug) {
      // Pulled before the request reached the firmware.
    } else {
      // The button was pressed while the request was on its way: the mouse
      // changes first, its report goes out before the reply.
      if (hit.stray_report) stray = ReportBytes(firmware_.PressDpiButton(stray_stage_).Build());
      reply = firmware_.Handle(request);
    }
    late_ms = late_ms_;
    latency_ms = reply_latency_ms_;
    interleaved = interleaved_;
  }
  if (fault == WiredFault::kUnplug) {
    Unplug();
    return;
  }
  for (int i = 0; i < interleaved; ++i) {
    if (i % 2 == 0) {
      RaiseMotion(static_cast<int8_t>(i + 1), -1);
    } else {
      EmitInput(kMouseInterface, {kKeyboardReportId, 0, 0, 0x04, 0, 0, 0, 0, 0});
    }
  }
  if (fault == WiredFault::kNoReply) reply.reset();
  std::optional<std::vector<uint8_t>> bytes = ReportBytes(reply);
  switch (bytes ? fault : WiredFault::kNone) {
    case WiredFault::kWrongMarker:
      (*bytes)[WiredFrame::kMarker] = WiredFrame::kRequestMarker;
      break;
    case WiredFault::kOtherCommand:
      (*bytes)[WiredFrame::kCommand] =
          (*bytes)[WiredFrame::kCommand] == kWiredBattery ? kWiredSettingsRead : kWiredBattery;
      break;
    case WiredFault::kShortReply:
      bytes->resize(8);
      break;
    case WiredFault::kLateReply:
      hit.late_reply = true;
      break;
    default:
      break;
  }
  EmitAll(VendorInterface(), TimedReplies(hit, stray, bytes, latency_ms, late_ms));
}

int VirtualWiredMouse::OnSetFeature(int interface_number, const uint8_t* data, size_t length) {
  if (interface_number != VendorInterface()) return -1;
  std::lock_guard<std::mutex> lock(mutex_);
  return firmware_.SetFeature(data, length);
}

int VirtualWiredMouse::OnGetFeature(int interface_number, uint8_t* data, size_t length) {
  if (interface_number != VendorInterface()) return -1;
  std::lock_guard<std::mutex> lock(mutex_);
  return firmware_.GetFeature(data, length);
}

void VirtualWiredMouse::RaiseStatus(const WiredStatusReport& report) {
  EmitInput(VendorInterface(), ReportBytes(report.Build()));
}

void VirtualWiredMouse::RaiseStageAndRate(uint8_t stage, uint8_t rate) {
  RaiseStatus(WithFirmware([&](WiredFirmware& f) { return f.ChangeStageAndRate(stage, rate); }));
}

void VirtualWiredMouse::RaiseLighting(uint8_t mode) {
  WithFirmware([&](WiredFirmware& f) {
    f.SetLightMode(mode);
    return 0;
  });
  RaiseStatus(WiredStatusReport{WiredStatusReport::kLighting, mode, 0});
}

void VirtualWiredMouse::RaiseEmoji(uint8_t number, bool alternate) {
  RaiseStatus(WiredStatusReport{alternate ? WiredStatusReport::kEmojiAlt : WiredStatusReport::kEmoji,
                                number, 0});
}

void VirtualWiredMouse::RaiseBattery(uint8_t level, uint8_t state) {
  WithFirmware([&](WiredFirmware& f) {
    f.SetBattery(level, state);
    return 0;
  });
  RaiseStatus(WiredStatusReport{WiredStatusReport::kBattery, level, state});
}

void VirtualWiredMouse::RaiseMotion(int8_t dx, int8_t dy) {
  EmitInput(kMouseInterface, {kMouseReportId, 0, static_cast<uint8_t>(dx), static_cast<uint8_t>(dy), 0});
}

}  // namespace tk410
