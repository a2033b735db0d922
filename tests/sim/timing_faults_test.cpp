// The timing fault switches of the virtual devices: a status report between
// request and reply, a reply after the reader's time-out, a duplicated
// reply; on the virtual bus with a manual clock and on the uhid front ends.

#include "sim/timing_faults.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "base/clock.h"
#include "device/nordic_layout.h"
#include "sim/uhid_nordic_front_end.h"
#include "sim/uhid_wired_front_end.h"
#include "sim/virtual_hid_bus.h"
#include "sim/virtual_nordic_device.h"
#include "sim/virtual_wired_mouse.h"

namespace tk410 {
namespace {

TEST(TimingFaultSwitches, SpellingsAndTheRequestsTheyHit) {
  struct Spelling {
    const char* text;
    bool valid;
    TimingFault fault;
    int request;
  };
  const Spelling spellings[] = {
      {"stray-report", true, TimingFault::kStrayReport, 0},
      {"stray-report:3", true, TimingFault::kStrayReport, 3},
      {"late-reply:5", true, TimingFault::kLateReply, 5},
      {"duplicate-reply:1000000", true, TimingFault::kDuplicateReply, 1000000},
      {"duplicate-reply", true, TimingFault::kDuplicateReply, 0},
      {"late-reply:0", false, {}, 0},
      {"late-reply:", false, {}, 0},
      {"late-reply:-2", false, {}, 0},
      {"late-reply:+2", false, {}, 0},
      {"late-reply:2x", false, {}, 0},
      {"late-reply:1000001", false, {}, 0},
      {"late-reply:99999999999", false, {}, 0},
      {"Late-reply", false, {}, 0},
      {"no-reply", false, {}, 0},
      {"", false, {}, 0},
  };
  for (const Spelling& s : spellings) {
    TimingFaultSwitch parsed{TimingFault::kLateReply, 77};
    EXPECT_EQ(ParseTimingFault(s.text, &parsed), s.valid) << s.text;
    if (s.valid) {
      EXPECT_EQ(parsed.fault, s.fault) << s.text;
      EXPECT_EQ(parsed.request, s.request) << s.text;
      EXPECT_EQ(std::string(s.text).rfind(TimingFaultName(s.fault), 0), 0u);
    } else {
      EXPECT_EQ(parsed.request, 77) << s.text;  // untouched
    }
  }

  // N counts from the request after the switch is set; switches add up.
  TimingFaults faults;
  faults.OnRequest();
  faults.OnRequest();
  faults.Add({TimingFault::kLateReply, 2});
  faults.Add({TimingFault::kDuplicateReply, TimingFaultSwitch::kEveryRequest});
  std::vector<std::pair<bool, bool>> hits;
  for (int i = 0; i < 4; ++i) {
    const TimingFaultHit hit = faults.OnRequest();
    EXPECT_FALSE(hit.stray_report);
    hits.emplace_back(hit.late_reply, hit.duplicate_reply);
  }
  EXPECT_EQ(hits, (std::vector<std::pair<bool, bool>>{{false, true}, {true, true}, {false, true}, {false, true}}));
  EXPECT_EQ(faults.Requests(), 6);
  faults.Clear();
  EXPECT_FALSE(faults.OnRequest().duplicate_reply);
}

// One input report as the reader got it: when (ms after the first request
// was written) and its bytes.
struct Arrival {
  uint64_t at_ms;
  std::vector<uint8_t> bytes;
};

// The reader's side of the bus: writes each request and reads for 1000 ms
// (the wired read time-out) what comes, as a program that takes every
// report would.
class BusReader {
 public:
  BusReader(std::shared_ptr<VirtualHidDevice> device, int vendor_interface)
      : bus_(std::make_shared<VirtualHidBus>(clock_)) {
    const int id = bus_->Attach(device);
    handle_ = bus_->Open(bus_->PathOf(id, vendor_interface)).device;
    start_ms_ = clock_.TickMs();
  }

  std::vector<Arrival> Exchange(const uint8_t* report, size_t length) {
    EXPECT_EQ(handle_->Write(report, length), static_cast<int>(length));
    std::vector<Arrival> got;
    const uint64_t deadline = clock_.TickMs() + kReadMs;
    for (uint64_t now = clock_.TickMs(); now < deadline; now = clock_.TickMs()) {
      uint8_t buffer[65] = {};
      const int n = handle_->ReadTimeout(buffer, sizeof(buffer), static_cast<int>(deadline - now));
      if (n <= 0) break;
      got.push_back({clock_.TickMs() - start_ms_, std::vector<uint8_t>(buffer, buffer + n)});
    }
    return got;
  }

  static constexpr int kReadMs = 1000;

 private:
  ManualClock clock_;
  std::shared_ptr<VirtualHidBus> bus_;
  std::unique_ptr<HidDevice> handle_;
  uint64_t start_ms_ = 0;
};

// What a table row expects of one request's reading window: each arrival
// named by the byte that tells it ("reply" of the request, "stray" status
// report) and when it came.
struct Expected {
  const char* what;
  uint64_t at_ms;
};

struct FaultCase {
  const char* name;
  TimingFault fault;
  int request;  // 0: every request
  std::vector<std::vector<Expected>> windows;  // one per request
};

// Three requests, written 1000 ms apart (each window is a full read time-out
// on the manual clock): request 2 is hit. A stray report comes before the
// reply; a late reply misses its window (1500 ms after its request) and lands
// in the next request's window after that request's own reply; a duplicate
// comes twice at once.
const std::vector<FaultCase>& FaultCases() {
  static const std::vector<FaultCase> cases = {
      {"none", TimingFault::kStrayReport, -1, {{{"reply", 0}}, {{"reply", 1000}}, {{"reply", 2000}}}},
      {"stray-report:2", TimingFault::kStrayReport, 2,
       {{{"reply", 0}}, {{"stray", 1000}, {"reply", 1000}}, {{"reply", 2000}}}},
      {"late-reply:2", TimingFault::kLateReply, 2,
       {{{"reply", 0}}, {}, {{"reply", 2000}, {"late reply 2", 2500}}}},
      {"duplicate-reply:2", TimingFault::kDuplicateReply, 2,
       {{{"reply", 0}}, {{"reply", 1000}, {"reply", 1000}}, {{"reply", 2000}}}},
      {"duplicate-reply", TimingFault::kDuplicateReply, 0,
       {{{"reply", 0}, {"reply", 0}}, {{"reply", 1000}, {"reply", 1000}}, {{"reply", 2000}, {"reply", 2000}}}},
  };
  return cases;
}

// Names an arrival of request `index`'s window: the reply to it, the late
// reply of an earlier request, or a status report.
std::string Name(const std::vector<uint8_t>& bytes, const std::vector<std::vector<uint8_t>>& replies,
                 size_t index, bool (*is_status)(const std::vector<uint8_t>&)) {
  if (is_status(bytes)) return "stray";
  for (size_t i = 0; i < replies.size(); ++i) {
    if (bytes != replies[i]) continue;
    return i == index ? "reply" : "late reply " + std::to_string(i + 1);
  }
  return "unknown";
}

void ExpectWindows(const FaultCase& c, const std::vector<std::vector<Arrival>>& got,
                   const std::vector<std::vector<uint8_t>>& replies,
                   bool (*is_status)(const std::vector<uint8_t>&)) {
  ASSERT_EQ(got.size(), c.windows.size());
  for (size_t w = 0; w < got.size(); ++w) {
    std::vector<std::string> names;
    std::vector<std::string> expected;
    for (const Arrival& a : got[w]) names.push_back(Name(a.bytes, replies, w, is_status) + " @" + std::to_string(a.at_ms));
    for (const Expected& e : c.windows[w]) expected.push_back(std::string(e.what) + " @" + std::to_string(e.at_ms));
    EXPECT_EQ(names, expected) << "request " << w + 1;
  }
}

// Wired: request 1 the battery read (0x30), 2 the settings read of profile
// index 0 (0x0E), 3 the firmware read (0x03). Replies start AA, command; the
// stray report is the stage-and-rate report AA FA .. type 0x10 at offset 8,
// stage at 9, rate at 10, the mouse's settings changed first, so the
// settings reply after it carries the stage (offset 12) too.
bool IsWiredStatus(const std::vector<uint8_t>& b) { return b.size() > 1 && b[0] == 0xAA && b[1] == 0xFA; }

TEST(TimingFaultSwitches, WiredMouseOnTheVirtualBus) {
  const WiredFrame requests[] = {WiredFrame::Request(kWiredBattery, 0xA5, 0x2E, 0),
                                 WiredFrame::Request(kWiredSettingsRead, 0xA5, 0x2E, 0),
                                 WiredFrame::Request(kWiredFirmwareVersion, 0x00, 0x00, 0)};
  for (const FaultCase& c : FaultCases()) {
    SCOPED_TRACE(c.name);
    auto mouse = std::make_shared<VirtualWiredMouse>();
    mouse->WithFirmware([](WiredFirmware& f) { return f.ChangeStageAndRate(2, 3); });
    mouse->SetStrayStage(5);
    if (c.request >= 0) mouse->AddTimingFault(c.fault, c.request);
    // What each request is answered with when nothing goes wrong.
    std::vector<std::vector<uint8_t>> replies;
    WiredFirmware model = mouse->WithFirmware([](WiredFirmware& f) { return f; });
    if (c.fault == TimingFault::kStrayReport && c.request >= 0) model.PressDpiButton(5);
    for (WiredFrame r : requests) {
      r.FillCheck();
      replies.push_back(ReportBytes(model.Handle(r).value().bytes));
    }

    BusReader reader(mouse, mouse->VendorInterface());
    std::vector<std::vector<Arrival>> got;
    for (WiredFrame r : requests) {
      r.FillCheck();
      const auto report = r.ToReport();
      got.push_back(reader.Exchange(report.data(), report.size()));
    }
    ExpectWindows(c, got, replies, IsWiredStatus);
    EXPECT_EQ(mouse->RequestsSeen(), 3);
    if (c.fault == TimingFault::kStrayReport && c.request == 2) {
      const std::vector<uint8_t>& stray = got[1][0].bytes;
      EXPECT_EQ(stray[WiredStatusReport::kTypeAt], WiredStatusReport::kStageAndRate);
      EXPECT_EQ(stray[WiredStatusReport::kValue1At], 5);
      EXPECT_EQ(stray[WiredStatusReport::kValue2At], 3);
      EXPECT_EQ(got[1][1].bytes[WiredSettingsBlock::kActiveStageAt], 5);
    }
  }
}

// With the stage left to the mouse, the stray report repeats the stage and
// rate it is on: the mouse does not change.
TEST(TimingFaultSwitches, StrayReportRepeatsTheStageByDefault) {
  auto mouse = std::make_shared<VirtualWiredMouse>();
  mouse->WithFirmware([](WiredFirmware& f) { return f.ChangeStageAndRate(4, 1); });
  const std::string before = mouse->WithFirmware([](WiredFirmware& f) { return f.Save(); });
  mouse->AddTimingFault(TimingFault::kStrayReport, 1);
  BusReader reader(mouse, mouse->VendorInterface());
  WiredFrame battery = WiredFrame::Request(kWiredBattery, 0xA5, 0x2E, 0);
  battery.FillCheck();
  const auto report = battery.ToReport();
  const std::vector<Arrival> got = reader.Exchange(report.data(), report.size());
  ASSERT_EQ(got.size(), 2u);
  EXPECT_EQ(got[0].bytes[WiredStatusReport::kValue1At], 4);
  EXPECT_EQ(got[0].bytes[WiredStatusReport::kValue2At], 1);
  EXPECT_EQ(mouse->WithFirmware([](WiredFirmware& f) { return f.Save(); }), before);
}

// Nordic receiver (mode 1), requests to the mouse behind it (target 1):
// 1 the key table read (reply code 0xA5 at byte 2), 2 the settings read
// (0xBB), 3 the commit (0x81). The stray report is the mouse's status
// report: byte 0 0x41, byte 2 0x8C, the stage at byte 8; the mouse changes
// first, so the settings reply carries the stage at byte 7 too.
bool IsNordicStatus(const std::vector<uint8_t>& b) { return b.size() > 2 && b[nordic::kCodeAt] == nordic::kCodeStatus; }

TEST(TimingFaultSwitches, NordicReceiverOnTheVirtualBus) {
  using namespace nordic;
  const NordicFrame requests[] = {Request(kTargetBehind, kCmdKeyTable, kCodeRead, kSubRead),
                                  Request(kTargetBehind, kCmdSettings, kCodeRead, kSubRead),
                                  Request(kTargetBehind, kCmdCommit, kCodeRead, kSubRead)};
  for (const FaultCase& c : FaultCases()) {
    SCOPED_TRACE(c.name);
    auto receiver = std::make_shared<VirtualNordicDevice>(VirtualNordicDevice::Receiver(1));
    receiver->SetStrayStage(4);
    if (c.request >= 0) receiver->AddTimingFault(c.fault, c.request);
    NordicReceiverFirmware model(true);
    if (c.fault == TimingFault::kStrayReport && c.request >= 0) model.PressDpiButton(4);
    std::vector<std::vector<uint8_t>> replies;
    for (const NordicFrame& r : requests) {
      const auto report = r.ToReport();
      replies.push_back(ReportBytes(model.Answer(report.data() + 1, NordicFrame::kSize).value().bytes));
    }

    BusReader reader(receiver, VirtualNordicDevice::kVendorInterface);
    std::vector<std::vector<Arrival>> got;
    for (const NordicFrame& r : requests) {
      const auto report = r.ToReport();
      got.push_back(reader.Exchange(report.data(), report.size()));
    }
    ExpectWindows(c, got, replies, IsNordicStatus);
    EXPECT_EQ(receiver->RequestsSeen(), 3);
    EXPECT_EQ(receiver->RejectedRequests(), 0);
    if (c.fault == TimingFault::kStrayReport && c.request == 2) {
      const std::vector<uint8_t>& stray = got[1][0].bytes;
      EXPECT_EQ(stray[kTargetCommandAt], NordicReceiverFirmware::kMouseBehindSource);
      EXPECT_EQ(stray[NordicStatusBlock::kStageAt], 4);
      EXPECT_EQ(got[1][1].bytes[NordicSettingsBlock::kDpiIndexAt], 4);
    }
  }
}

// The uhid front ends: output events in, input events out at once, late
// ones held until due. Wired: stray report on request 1, late reply on 2
// (held --late-ms), duplicate on 3. Nordic receiver: every reply twice,
// a stray mouse status report before the second.
uhid_event OutputEvent(const uint8_t* report, size_t length) {
  uhid_event e;
  std::memset(&e, 0, sizeof(e));
  e.type = UHID_OUTPUT;
  e.u.output.rtype = UHID_OUTPUT_REPORT;
  e.u.output.size = static_cast<uint16_t>(length);
  std::memcpy(e.u.output.data, report, length);
  return e;
}

std::vector<uint8_t> InputBytes(const uhid_event& e) {
  EXPECT_EQ(e.type, UHID_INPUT2);
  return std::vector<uint8_t>(e.u.input2.data, e.u.input2.data + e.u.input2.size);
}

TEST(TimingFaultSwitches, UhidFrontEnds) {
  WiredFirmware firmware;
  UhidWiredFrontEnd wired(firmware, UhidMouseOptions{.late_ms = 1200, .stray_stage = 6});
  wired.AddTimingFault({TimingFault::kStrayReport, 1});
  wired.AddTimingFault({TimingFault::kLateReply, 2});
  wired.AddTimingFault({TimingFault::kDuplicateReply, 3});
  WiredFrame battery = WiredFrame::Request(kWiredBattery, 0xA5, 0x2E, 0);
  battery.FillCheck();
  const auto report = battery.ToReport();

  auto out = wired.OnEvent(OutputEvent(report.data(), report.size()), 100);
  ASSERT_EQ(out.size(), 2u);
  EXPECT_TRUE(IsWiredStatus(InputBytes(out[0])));
  EXPECT_EQ(InputBytes(out[0])[WiredStatusReport::kValue1At], 6);
  EXPECT_EQ(InputBytes(out[1])[WiredFrame::kCommand], kWiredBattery);
  EXPECT_TRUE(wired.OnEvent(OutputEvent(report.data(), report.size()), 200).empty());
  EXPECT_EQ(wired.NextDue(), std::optional<uint64_t>(1400));
  out = wired.OnEvent(OutputEvent(report.data(), report.size()), 300);
  ASSERT_EQ(out.size(), 2u);
  EXPECT_EQ(InputBytes(out[0]), InputBytes(out[1]));
  EXPECT_TRUE(wired.TakeDue(1399).empty());
  ASSERT_EQ(wired.TakeDue(1400).size(), 1u);
  EXPECT_EQ(wired.RequestsSeen(), 3);
  EXPECT_EQ(wired.Answered(), 3);

  NordicReceiverFirmware nordic_firmware(true);
  UhidNordicFrontEnd receiver(nordic_firmware, 0x1209, 0x0004);
  receiver.AddTimingFault({TimingFault::kDuplicateReply, TimingFaultSwitch::kEveryRequest});
  receiver.AddTimingFault({TimingFault::kStrayReport, 2});
  const auto status = nordic::Request(nordic::kTargetDevice, nordic::kCmdStatus, nordic::kCodeRead,
                                      nordic::kSubRead).ToReport();
  EXPECT_EQ(receiver.OnEvent(OutputEvent(status.data(), status.size()), 0).size(), 2u);
  out = receiver.OnEvent(OutputEvent(status.data(), status.size()), 0);
  ASSERT_EQ(out.size(), 3u);
  EXPECT_EQ(InputBytes(out[0])[nordic::kTargetCommandAt], NordicReceiverFirmware::kMouseBehindSource);
  EXPECT_EQ(InputBytes(out[1])[nordic::kTargetCommandAt], 0x01);  // the receiver's reply
  EXPECT_EQ(InputBytes(out[1]), InputBytes(out[2]));
}

}  // namespace
}  // namespace tk410
