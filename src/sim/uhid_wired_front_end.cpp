#include "sim/uhid_wired_front_end.h"

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "device/wired_layout.h"
#include "sim/virtual_wired_mouse.h"

namespace tk410 {

namespace {

uhid_event StatusEvent(const WiredStatusReport& report) {
  const auto bytes = report.Build();
  return UhidInputEvent(bytes.data(), bytes.size());
}

}  // namespace

UhidWiredFrontEnd::UhidWiredFrontEnd(WiredFirmware& firmware, UhidMouseOptions options)
    : firmware_(firmware), options_(options) {
  SetLateMs(options.late_ms);
  if (options.late_reply > 0) AddTimingFault({TimingFault::kLateReply, options.late_reply});
}

UhidIdentity UhidWiredFrontEnd::Identity() const {
  return {kName, kPhys, options_.vendor_id, options_.product_id};
}

const std::vector<uint8_t>& UhidWiredFrontEnd::ReportDescriptor() const {
  return WiredVendorReportDescriptor();
}

size_t UhidWiredFrontEnd::OutputSize() const { return WiredFrame::kSize; }

UhidFrontEnd::OutputAnswer UhidWiredFrontEnd::OnOutput(const uint8_t* data, size_t size, bool raise_stray) {
  WiredFrame request;
  std::memcpy(request.data(), data, std::min(size, WiredFrame::kSize));
  OutputAnswer answer;
  if (raise_stray) answer.stray = ReportBytes(firmware_.PressDpiButton(options_.stray_stage).Build());
  answer.reply = ReportBytes(firmware_.Handle(request));
  return answer;
}

uhid_event UhidWiredFrontEnd::OnGetReport(const uhid_get_report_req& request) {
  uhid_event reply = UhidEventOfType(UHID_GET_REPORT_REPLY);
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
  uhid_event reply = UhidEventOfType(UHID_SET_REPORT_REPLY);
  reply.u.set_report_reply.id = request.id;
  const size_t size = std::min<size_t>(request.size, UHID_DATA_MAX);
  const bool ok = request.rtype == UHID_FEATURE_REPORT && size > 0 &&
                  request.data[0] == request.rnum &&
                  firmware_.SetFeature(request.data, size) >= 0;
  reply.u.set_report_reply.err = ok ? 0 : EIO;
  return reply;
}

uhid_event UhidWiredFrontEnd::RaiseStageAndRate(uint8_t stage, uint8_t rate) {
  return StatusEvent(firmware_.ChangeStageAndRate(stage, rate));
}

uhid_event UhidWiredFrontEnd::RaiseBattery(uint8_t level, uint8_t state) {
  firmware_.SetBattery(level, state);
  return StatusEvent(WiredStatusReport{WiredStatusReport::kBattery, level, state});
}

}  // namespace tk410
