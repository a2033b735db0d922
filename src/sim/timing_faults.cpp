#include "sim/timing_faults.h"

#include <array>
#include <utility>

namespace tk410 {

namespace {

constexpr int kMaxRequest = 1000000;

constexpr std::array<std::pair<TimingFault, const char*>, 3> kNames = {{
    {TimingFault::kStrayReport, "stray-report"},
    {TimingFault::kLateReply, "late-reply"},
    {TimingFault::kDuplicateReply, "duplicate-reply"},
}};

// A decimal number from 1 to kMaxRequest, digits only.
bool ParseRequestNumber(const std::string& text, int* out) {
  if (text.empty() || text.size() > 7 || text.find_first_not_of("0123456789") != std::string::npos) {
    return false;
  }
  const int n = std::stoi(text);
  if (n < 1 || n > kMaxRequest) return false;
  *out = n;
  return true;
}

}  // namespace

const char* TimingFaultName(TimingFault fault) {
  for (const auto& [f, name] : kNames) {
    if (f == fault) return name;
  }
  return "";
}

bool ParseNamedFault(const std::string& text, const char* name, int* request) {
  const size_t colon = text.find(':');
  if (text.compare(0, colon, name) != 0) return false;
  int n = TimingFaultSwitch::kEveryRequest;
  if (colon != std::string::npos && !ParseRequestNumber(text.substr(colon + 1), &n)) return false;
  *request = n;
  return true;
}

bool ParseTimingFault(const std::string& text, TimingFaultSwitch* out) {
  for (const auto& [fault, name] : kNames) {
    int request = 0;
    if (ParseNamedFault(text, name, &request)) {
      *out = TimingFaultSwitch{fault, request};
      return true;
    }
  }
  return false;
}

void TimingFaults::Add(const TimingFaultSwitch& fault_switch) {
  const int request = fault_switch.request == TimingFaultSwitch::kEveryRequest
                          ? TimingFaultSwitch::kEveryRequest
                          : requests_ + fault_switch.request;
  armed_.push_back({fault_switch.fault, request});
}

TimingFaultHit TimingFaults::OnRequest() {
  ++requests_;
  TimingFaultHit hit;
  for (const Armed& a : armed_) {
    if (a.request != TimingFaultSwitch::kEveryRequest && a.request != requests_) continue;
    switch (a.fault) {
      case TimingFault::kStrayReport:
        hit.stray_report = true;
        break;
      case TimingFault::kLateReply:
        hit.late_reply = true;
        break;
      case TimingFault::kDuplicateReply:
        hit.duplicate_reply = true;
        break;
    }
  }
  return hit;
}

std::vector<TimedReport> TimedReplies(const TimingFaultHit& hit,
                                      const std::optional<std::vector<uint8_t>>& stray,
                                      const std::optional<std::vector<uint8_t>>& reply,
                                      uint32_t reply_delay_ms, uint32_t late_ms) {
  std::vector<TimedReport> out;
  if (hit.stray_report && stray) out.push_back({*stray, 0});
  if (reply) {
    const uint32_t delay = hit.late_reply ? late_ms : reply_delay_ms;
    out.push_back({*reply, delay});
    if (hit.duplicate_reply) out.push_back({*reply, delay});
  }
  return out;
}

}  // namespace tk410
