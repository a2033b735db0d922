#pragma once
// Faults of real timing that a virtual device can put around its replies,
// each aimed at one request or at every request:
//
//   stray report     a status report of the device (a button pressed while
//                    the request was on its way) is queued right before the
//                    reply;
//   late reply       the reply arrives only after the reader's time-out;
//   duplicate reply  the reply is delivered twice.
//
// A request counts when it reaches the device's vendor collection, whether
// the firmware understands it or not. Shared by the devices on the virtual
// bus and the uhid front ends, so both give the same reports in the same
// order.

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace tk410 {

enum class TimingFault {
  kStrayReport,
  kLateReply,
  kDuplicateReply,
};

struct TimingFaultSwitch {
  static constexpr int kEveryRequest = 0;
  TimingFault fault = TimingFault::kStrayReport;
  // The request it hits, 1-based, counted from the request after the switch
  // is set; kEveryRequest: all of them.
  int request = kEveryRequest;
};

// "stray-report", "late-reply" or "duplicate-reply", optionally followed by
// ":N" (N from 1 to 1000000). False, `out` untouched, for anything else.
bool ParseTimingFault(const std::string& text, TimingFaultSwitch* out);
const char* TimingFaultName(TimingFault fault);
// "NAME" or "NAME:N" (N from 1 to 1000000) for the fault called `name`:
// true with *request = N, or TimingFaultSwitch::kEveryRequest without N.
bool ParseNamedFault(const std::string& text, const char* name, int* request);

// Which faults hit one request.
struct TimingFaultHit {
  bool stray_report = false;
  bool late_reply = false;
  bool duplicate_reply = false;
};

// The switches set on one device and the count of requests it has seen. No
// locking here: the owner serialises the calls.
class TimingFaults {
 public:
  void Add(const TimingFaultSwitch& fault_switch);
  void Clear() { armed_.clear(); }
  // One request reached the vendor collection: the faults that hit it.
  TimingFaultHit OnRequest();
  // Requests seen since the device was made.
  int Requests() const { return requests_; }

 private:
  struct Armed {
    TimingFault fault;
    int request;  // absolute request number; kEveryRequest: all
  };
  std::vector<Armed> armed_;
  int requests_ = 0;
};

// The bytes of a report built as an array, or of a frame if there is one.
template <size_t N>
std::vector<uint8_t> ReportBytes(const std::array<uint8_t, N>& bytes) {
  return std::vector<uint8_t>(bytes.begin(), bytes.end());
}
template <typename Frame>
std::optional<std::vector<uint8_t>> ReportBytes(const std::optional<Frame>& frame) {
  if (!frame) return std::nullopt;
  return ReportBytes(frame->bytes);
}

// One input report and how long after the request it is due.
struct TimedReport {
  std::vector<uint8_t> bytes;
  uint32_t delay_ms = 0;
};

// The input reports one request gives, in the order they arrive: the stray
// report (when `hit` asks for one and the device has one to give), then the
// reply, once or twice, due `reply_delay_ms` after the request or `late_ms`
// when it is late. No reply: only the stray report.
std::vector<TimedReport> TimedReplies(const TimingFaultHit& hit,
                                      const std::optional<std::vector<uint8_t>>& stray,
                                      const std::optional<std::vector<uint8_t>>& reply,
                                      uint32_t reply_delay_ms, uint32_t late_ms);

}  // namespace tk410
