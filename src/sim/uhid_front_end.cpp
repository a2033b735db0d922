#include "sim/uhid_front_end.h"

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace tk410 {

namespace {

constexpr uint16_t kBusUsb = 0x03;

}  // namespace

uhid_event UhidEventOfType(uint32_t type) {
  uhid_event event;
  std::memset(&event, 0, sizeof(event));
  event.type = type;
  return event;
}

uhid_event UhidInputEvent(const uint8_t* bytes, size_t size) {
  uhid_event event = UhidEventOfType(UHID_INPUT2);
  const size_t n = std::min<size_t>(size, UHID_DATA_MAX);
  event.u.input2.size = static_cast<uint16_t>(n);
  std::memcpy(event.u.input2.data, bytes, n);
  return event;
}

uhid_event UhidFrontEnd::CreateEvent() const {
  uhid_event event = UhidEventOfType(UHID_CREATE2);
  uhid_create2_req& create = event.u.create2;
  const UhidIdentity id = Identity();
  std::strncpy(reinterpret_cast<char*>(create.name), id.name.c_str(), sizeof(create.name) - 1);
  std::strncpy(reinterpret_cast<char*>(create.phys), id.phys.c_str(), sizeof(create.phys) - 1);
  const std::vector<uint8_t>& descriptor = ReportDescriptor();
  create.rd_size = static_cast<uint16_t>(std::min<size_t>(descriptor.size(), sizeof(create.rd_data)));
  std::memcpy(create.rd_data, descriptor.data(), create.rd_size);
  create.bus = kBusUsb;
  create.vendor = id.vendor_id;
  create.product = id.product_id;
  create.version = 0x0100;
  return event;
}

uhid_event UhidFrontEnd::DestroyEvent() { return UhidEventOfType(UHID_DESTROY); }

std::vector<uhid_event> UhidFrontEnd::OnEvent(const uhid_event& event, uint64_t now_ms) {
  switch (event.type) {
    case UHID_OPEN:
      open_ = true;
      return {};
    case UHID_CLOSE:
      open_ = false;
      return {};
    case UHID_OUTPUT:
      return OnOutputBuffer(event.u.output.data,
                            std::min<size_t>(event.u.output.size, UHID_DATA_MAX), now_ms);
    case UHID_GET_REPORT:
      return {OnGetReport(event.u.get_report)};
    case UHID_SET_REPORT:
      if (event.u.set_report.rtype == UHID_OUTPUT_REPORT) {
        std::vector<uhid_event> out = OnOutputBuffer(
            event.u.set_report.data, std::min<size_t>(event.u.set_report.size, UHID_DATA_MAX),
            now_ms);
        uhid_event reply = UhidEventOfType(UHID_SET_REPORT_REPLY);
        reply.u.set_report_reply.id = event.u.set_report.id;
        out.insert(out.begin(), reply);
        return out;
      }
      return {OnSetReport(event.u.set_report)};
    default:
      return {};  // UHID_START, UHID_STOP
  }
}

std::vector<uhid_event> UhidFrontEnd::OnOutputBuffer(const uint8_t* data, size_t size,
                                                     uint64_t now_ms) {
  if (size > OutputSize()) {
    if (data[0] != 0) return {};  // the vendor reports carry no report id
    ++data;
    --size;
  }
  const TimingFaultHit hit = faults_.OnRequest();
  const OutputAnswer answer = OnOutput(data, std::min(size, OutputSize()), hit.stray_report);
  if (answer.reply) ++answered_;
  std::vector<uhid_event> now;
  for (const TimedReport& r : TimedReplies(hit, answer.stray, answer.reply, 0, late_ms_)) {
    const uhid_event input = UhidInputEvent(r.bytes.data(), r.bytes.size());
    if (r.delay_ms == 0) {
      now.push_back(input);
      continue;
    }
    const uint64_t due = now_ms + r.delay_ms;
    auto pos = std::upper_bound(held_.begin(), held_.end(), due,
                                [](uint64_t d, const Held& h) { return d < h.due_ms; });
    held_.insert(pos, Held{due, input});
  }
  return now;
}

std::vector<uhid_event> UhidFrontEnd::TakeDue(uint64_t now_ms) {
  std::vector<uhid_event> due;
  while (!held_.empty() && held_.front().due_ms <= now_ms) {
    due.push_back(held_.front().event);
    held_.pop_front();
  }
  return due;
}

std::optional<uint64_t> UhidFrontEnd::NextDue() const {
  if (held_.empty()) return std::nullopt;
  return held_.front().due_ms;
}

uhid_event UhidFrontEnd::OnGetReport(const uhid_get_report_req& request) {
  uhid_event reply = UhidEventOfType(UHID_GET_REPORT_REPLY);
  reply.u.get_report_reply.id = request.id;
  reply.u.get_report_reply.err = EIO;
  return reply;
}

uhid_event UhidFrontEnd::OnSetReport(const uhid_set_report_req& request) {
  uhid_event reply = UhidEventOfType(UHID_SET_REPORT_REPLY);
  reply.u.set_report_reply.id = request.id;
  reply.u.set_report_reply.err = EIO;
  return reply;
}

}  // namespace tk410
