#include "sim/uhid_wired_front_end.h"

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "device/wired_layout.h"
#include "sim/virtual_wired_mouse.h"

namespace tk410 {

namespace {

constexpr uint16_t kBusUsb = 0x03;

uhid_event EventOfType(uint32_t type) {
  uhid_event event;
  std::memset(&event, 0, sizeof(event));
  event.type = type;
  return event;
}

}  // namespace

uhid_event UhidInputEvent(const uint8_t* bytes, size_t size) {
  uhid_event event = EventOfType(UHID_INPUT2);
  const size_t n = std::min<size_t>(size, UHID_DATA_MAX);
  event.u.input2.size = static_cast<uint16_t>(n);
  std::memcpy(event.u.input2.data, bytes, n);
  return event;
}

UhidWiredFrontEnd::UhidWiredFrontEnd(WiredFirmware& firmware, UhidMouseOptions options)
    : firmware_(firmware), options_(options) {}

uhid_event UhidWiredFrontEnd::CreateEvent() const {
  uhid_event event = EventOfType(UHID_CREATE2);
  uhid_create2_req& create = event.u.create2;
  std::strncpy(reinterpret_cast<char*>(create.name), kName, sizeof(create.name) - 1);
  std::strncpy(reinterpret_cast<char*>(create.phys), kPhys, sizeof(create.phys) - 1);
  const std::vector<uint8_t>& descriptor = WiredVendorReportDescriptor();
  static_assert(sizeof(create.rd_data) >= 64);
  create.rd_size = static_cast<uint16_t>(descriptor.size());
  std::memcpy(create.rd_data, descriptor.data(), descriptor.size());
  create.bus = kBusUsb;
  create.vendor = options_.vendor_id;
  create.product = options_.product_id;
  create.version = 0x0100;
  return event;
}

uhid_event UhidWiredFrontEnd::DestroyEvent() { return EventOfType(UHID_DESTROY); }

std::vector<uhid_event> UhidWiredFrontEnd::OnEvent(const uhid_event& event, uint64_t now_ms) {
  switch (event.type) {
    case UHID_OPEN:
      open_ = true;
      return {};
    case UHID_CLOSE:
      open_ = false;
      return {};
    case UHID_OUTPUT:
      return OnOutput(event.u.output.data, std::min<size_t>(event.u.output.size, UHID_DATA_MAX),
                      now_ms);
    case UHID_GET_REPORT:
      return {OnGetReport(event.u.get_report)};
    case UHID_SET_REPORT:
      if (event.u.set_report.rtype == UHID_OUTPUT_REPORT) {
        std::vector<uhid_event> out = OnOutput(
            event.u.set_report.data, std::min<size_t>(event.u.set_report.size, UHID_DATA_MAX), now_ms);
        uhid_event reply = EventOfType(UHID_SET_REPORT_REPLY);
        reply.u.set_report_reply.id = event.u.set_report.id;
        out.insert(out.begin(), reply);
        return out;
      }
      return {OnSetReport(event.u.set_report)};
    default:
      return {};  // UHID_START, UHID_STOP
  }
}

// hidraw hands the written buffer over as it is: report number 0 first,
// then the 64 payload bytes. A buffer of exactly 64 bytes is taken as the
// payload alone.
std::vector<uhid_event> UhidWiredFrontEnd::OnOutput(const uint8_t* data, size_t size,
                                                    uint64_t now_ms) {
  if (size > WiredFrame::kSize) {
    if (data[0] != 0) return {};  // the vendor reports carry no report id
    ++data;
    --size;
  }
  WiredFrame request;
  std::memcpy(request.data(), data, std::min(size, WiredFrame::kSize));
  const std::optional<WiredFrame> reply = firmware_.Handle(request);
  if (!reply) return {};
  ++answered_;
  uhid_event input = UhidInputEvent(reply->data(), WiredFrame::kSize);
  if (options_.late_reply > 0 && answered_ == options_.late_reply) {
    held_.push_back({now_ms + options_.late_ms, input});
    return {};
  }
  return {input};
}

uhid_event UhidWiredFrontEnd::OnGetReport(const uhid_get_report_req& request) {
  uhid_event reply = EventOfType(UHID_GET_REPORT_REPLY);
  uhid_get_report_reply_req& answer = reply.u.get_report_reply;
  answer.id = request.id;
  answer.err = EIO;
  if (request.rtype != UHID_FEATURE_REPORT || request.rnum != WiredVersionReport::kReportId) {
    return reply;
  }
  answer.data[0] = request.rnum;
  const int n = firmware_.GetFeature(answer.data, WiredVersionReport::kSize);
  if (n > 0) {
    answer.err = 0;
    answer.size = static_cast<uint16_t>(n);
  }
  return reply;
}

uhid_event UhidWiredFrontEnd::OnSetReport(const uhid_set_report_req& request) {
  uhid_event reply = EventOfType(UHID_SET_REPORT_REPLY);
  reply.u.set_report_reply.id = request.id;
  const size_t size = std::min<size_t>(request.size, UHID_DATA_MAX);
  const bool ok = request.rtype == UHID_FEATURE_REPORT && size > 0 &&
                  request.data[0] == request.rnum &&
                  firmware_.SetFeature(request.data, size) >= 0;
  reply.u.set_report_reply.err = ok ? 0 : EIO;
  return reply;
}

std::vector<uhid_event> UhidWiredFrontEnd::TakeDue(uint64_t now_ms) {
  std::vector<uhid_event> due;
  while (!held_.empty() && held_.front().due_ms <= now_ms) {
    due.push_back(held_.front().event);
    held_.pop_front();
  }
  return due;
}

std::optional<uint64_t> UhidWiredFrontEnd::NextDue() const {
  if (held_.empty()) return std::nullopt;
  return held_.front().due_ms;
}

uhid_event UhidWiredFrontEnd::RaiseStageAndRate(uint8_t stage, uint8_t rate) {
  firmware_.SetActiveStage(stage);
  firmware_.SetReportRate(rate);
  const auto bytes = WiredStatusReport{WiredStatusReport::kStageAndRate, stage, rate}.Build();
  return UhidInputEvent(bytes.data(), bytes.size());
}

uhid_event UhidWiredFrontEnd::RaiseBattery(uint8_t level, uint8_t state) {
  firmware_.SetBattery(level, state);
  const auto bytes = WiredStatusReport{WiredStatusReport::kBattery, level, state}.Build();
  return UhidInputEvent(bytes.data(), bytes.size());
}

}  // namespace tk410
