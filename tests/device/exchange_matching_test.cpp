// Exchanges under real timing: reports queued before a request, replies
// to other requests, late and duplicated replies, and reports of other
// collections sharing the vendor collection's interface. The devices are
// scripted on the virtual bus; time is the manual clock.

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "device/device_manager.h"
#include "device/nordic_layout.h"
#include "device/scripted_device.h"
#include "device/wired_layout.h"
#include "sim/hid_descriptors.h"
#include "sim/virtual_hid_bus.h"
#include "sim/virtual_wired_mouse.h"

namespace tk410 {
namespace {

using testing::kNordicDescriptor;
using testing::ScriptedDevice;
using testing::ScriptedReport;
using Bytes = std::vector<uint8_t>;

constexpr uint16_t kVid = 0x1209;
constexpr uint16_t kWiredPid = 0x0001;
constexpr uint16_t kNordicPid = 0x0003;
constexpr size_t kTagAt = 40;  // a data byte the tests mark replies with

// Wired request payload: 55, command, form, check, length, offsets 5 and 6,
// profile index at 7, data from 8. The firmware's reply echoes the header
// with AA at byte 0; `tag` marks the reply at byte 40.
WiredFrame WiredRequest(uint8_t command, uint8_t index, uint16_t offset = 0) {
  WiredFrame f = WiredFrame::Request(command, 0xA5, 0x2E, index);
  f.Set16(WiredFrame::kOffsetLow, offset);
  return f;
}
Bytes WiredReply(uint8_t command, uint8_t index, uint8_t tag, uint16_t offset = 0) {
  WiredFrame f = WiredRequest(command, index, offset);
  f[WiredFrame::kMarker] = WiredFrame::kReplyMarker;
  f[kTagAt] = tag;
  f.FillCheck();
  return Bytes(f.bytes.begin(), f.bytes.end());
}
Bytes StatusReport(uint8_t stage, uint8_t rate) {
  const auto bytes = WiredStatusReport{WiredStatusReport::kStageAndRate, stage, rate}.Build();
  return Bytes(bytes.begin(), bytes.end());
}

// Nordic payload: target*64 + command, chunk, code, sub-function, data from 4.
Bytes NordicReply(uint8_t byte0, uint8_t code, uint8_t sub, uint8_t tag, uint8_t chunk = 0) {
  Bytes r(64, 0);
  r[0] = byte0;
  r[1] = chunk;
  r[2] = code;
  r[3] = sub;
  r[kTagAt] = tag;
  return r;
}

class ExchangeTest : public ::testing::Test {
 protected:
  ExchangeTest() : bus_(std::make_shared<VirtualHidBus>(clock_)), dm_(bus_, clock_) {
    dm_.SetFrameTrace([this](const std::string& line) { trace_.push_back(line); });
    dm_.SetStatusReportSink(this, [this](ReportFamily family, const uint8_t* report, size_t length) {
      statuses_.push_back({family, Bytes(report, report + length)});
    });
  }

  std::shared_ptr<ScriptedDevice> Attach(uint16_t pid, const Bytes& descriptor, int type) {
    auto device = std::make_shared<ScriptedDevice>(kVid, pid, descriptor);
    bus_->Attach(device);
    dm_.SetCurrentDeviceType(type);
    dm_.AddSupported(kVid, pid, L"", type, 0);
    dm_.EnumerateDevice();
    dm_.SetOpened(true);
    clock_.ClearSleeps();
    trace_.clear();
    return device;
  }
  std::shared_ptr<ScriptedDevice> AttachWired() {
    return Attach(kWiredPid, WiredVendorReportDescriptor(), 101);
  }
  std::shared_ptr<ScriptedDevice> AttachNordic(const Bytes& descriptor = kNordicDescriptor) {
    return Attach(kNordicPid, descriptor, 201);
  }
  size_t Writes() const {
    size_t n = 0;
    for (const auto& l : trace_) n += l.rfind("W ", 0) == 0 ? 1 : 0;
    return n;
  }

  ManualClock clock_;
  std::shared_ptr<VirtualHidBus> bus_;
  DeviceManager dm_;
  std::vector<std::string> trace_;
  std::vector<std::pair<ReportFamily, Bytes>> statuses_;  // what the status sink got
};

// Replies to other requests arrive before the matching one, within the
// same read: they are passed over and the matching reply is taken, with
// no retry. What must be echoed, per command:
//   0x0E, 0x0F, 0x08, 0x21..0x23, 0x30: command (byte 1), profile index (byte 7)
//   0x09: command, offsets 5 and 6 (the default-key form), profile index
//   0x0D: command, chunk offset (bytes 5, 6)
//   0x03, 0x10: command
TEST_F(ExchangeTest, WiredExchangeTakesOnlyTheReplyThatEchoesItsRequest) {
  struct Case {
    const char* what;
    WiredFrame request;
    std::vector<Bytes> stale;
    Bytes reply;
  };
  const Case cases[] = {
      {"settings read after a key reply and another profile's settings",
       WiredRequest(kWiredSettingsRead, 2),
       {WiredReply(kWiredKeyRead, 2, 1), WiredReply(kWiredSettingsRead, 1, 2)},
       WiredReply(kWiredSettingsRead, 2, 9)},
      {"key read after the previous profile's key reply", WiredRequest(kWiredKeyRead, 3),
       {WiredReply(kWiredKeyRead, 2, 1)}, WiredReply(kWiredKeyRead, 3, 9)},
      {"second macro chunk after the first chunk's reply", WiredRequest(kWiredMacroChunk, 0, 56),
       {WiredReply(kWiredMacroChunk, 0, 1, 0)}, WiredReply(kWiredMacroChunk, 0, 9, 56)},
      {"default key write after a key download reply of the same profile",
       WiredRequest(kWiredKeyWrite, 0, 0x0101), {WiredReply(kWiredKeyWrite, 0, 1)},
       WiredReply(kWiredKeyWrite, 0, 9, 0x0101)},
      {"firmware read after a battery reply", WiredRequest(kWiredFirmwareVersion, 0),
       {WiredReply(kWiredBattery, 0, 1)}, WiredReply(kWiredFirmwareVersion, 0, 9)},
      {"battery read after a status report", WiredRequest(kWiredBattery, 0),
       {StatusReport(3, 2)}, WiredReply(kWiredBattery, 0, 9)},
  };
  auto device = AttachWired();
  for (const Case& c : cases) {
    std::vector<ScriptedReport> reports;
    for (const Bytes& s : c.stale) reports.push_back({s});
    reports.push_back({c.reply});
    device->SetResponder([&](int, const Bytes&) { return reports; });
    clock_.ClearSleeps();
    trace_.clear();
    WiredFrame f = c.request;
    ASSERT_TRUE(dm_.ExchangeWired(f)) << c.what;
    EXPECT_EQ(f[kTagAt], 9) << c.what;
    EXPECT_EQ(Bytes(f.bytes.begin(), f.bytes.end()), c.reply) << c.what;
    EXPECT_TRUE(clock_.Sleeps().empty()) << c.what;
    EXPECT_EQ(Writes(), 1u) << c.what;
  }
  EXPECT_EQ(statuses_.size(), 1u);  // the status report met while waiting

  // Replies that never echo the request are no answer: three attempts with
  // the fixed waits, and the request left as it was.
  device->SetResponder([](int, const Bytes&) {
    return std::vector<ScriptedReport>{{WiredReply(kWiredBattery, 0, 1)}};
  });
  clock_.ClearSleeps();
  trace_.clear();
  WiredFrame f = WiredRequest(kWiredSettingsRead, 0);
  const uint64_t before = clock_.TickMs();
  EXPECT_FALSE(dm_.ExchangeWired(f));
  EXPECT_EQ(clock_.Sleeps(), (std::vector<uint32_t>{100, 1000}));
  EXPECT_EQ(clock_.TickMs() - before, 3 * 1000u + 100 + 1000);
  EXPECT_EQ(Writes(), 3u);
  EXPECT_EQ(f[WiredFrame::kMarker], WiredFrame::kRequestMarker);
}

// What is queued before a request (a report raised by the DPI button, a
// reply that came after its exchange gave up) is taken off the interface
// before the request is written; the exchange then gets its own reply.
TEST_F(ExchangeTest, ReportsQueuedBeforeAWiredRequestAreTakenFirst) {
  auto device = AttachWired();
  device->SetResponder([](int, const Bytes&) {
    return std::vector<ScriptedReport>{{WiredReply(kWiredBattery, 0, 9)}};
  });
  device->Raise(StatusReport(3, 2));
  device->Raise(WiredReply(kWiredBattery, 0, 1));  // a reply nobody waits for any more
  WiredFrame f = WiredRequest(kWiredBattery, 0);
  ASSERT_TRUE(dm_.ExchangeWired(f));
  EXPECT_EQ(f[kTagAt], 9);
  EXPECT_TRUE(clock_.Sleeps().empty());
  // The queued reports were read before the request went out.
  ASSERT_EQ(trace_.size(), 4u);
  EXPECT_EQ(trace_[0].substr(0, 7), "R AA FA");
  EXPECT_EQ(trace_[1].substr(0, 7), "R AA 30");
  EXPECT_EQ(trace_[2].substr(0, 7), "W 00 55");
  // The status report went to the sink, whole; the stale reply did not.
  ASSERT_EQ(statuses_.size(), 1u);
  EXPECT_EQ(statuses_[0].first, ReportFamily::kWired);
  EXPECT_EQ(statuses_[0].second, StatusReport(3, 2));

  // A window that goes clears only its own sink.
  int other_owner = 0;
  dm_.ClearStatusReportSink(&other_owner);
  device->Raise(StatusReport(4, 2));
  ASSERT_TRUE(dm_.ExchangeWired(f));
  EXPECT_EQ(statuses_.size(), 2u);
  dm_.ClearStatusReportSink(this);
  device->Raise(StatusReport(5, 2));
  ASSERT_TRUE(dm_.ExchangeWired(f));
  EXPECT_EQ(statuses_.size(), 2u);
}

// A reply arriving after its read gave up, and a reply the mouse sent
// twice, are not the next request's reply.
TEST_F(ExchangeTest, LateAndDuplicatedWiredRepliesAreNotTakenForTheNextRequest) {
  auto device = AttachWired();
  // Request 1 (settings read): its reply comes after 1500 ms; the repeated
  // request 2 is answered at once. Request 3 (battery) is answered after
  // 600 ms, so the late reply arrives while the battery read waits.
  device->SetResponder([](int n, const Bytes& request) {
    const uint8_t command = request[WiredFrame::kCommand];
    if (n == 1) return std::vector<ScriptedReport>{{WiredReply(command, 0, 1), 1500}};
    if (n == 2) return std::vector<ScriptedReport>{{WiredReply(command, 0, 2)}};
    return std::vector<ScriptedReport>{{WiredReply(command, 0, 3), 600}};
  });
  WiredFrame settings = WiredRequest(kWiredSettingsRead, 0);
  ASSERT_TRUE(dm_.ExchangeWired(settings));
  EXPECT_EQ(settings[kTagAt], 2);
  EXPECT_EQ(clock_.Sleeps(), (std::vector<uint32_t>{100}));
  WiredFrame battery = WiredRequest(kWiredBattery, 0);
  ASSERT_TRUE(dm_.ExchangeWired(battery));
  EXPECT_EQ(battery[WiredFrame::kCommand], kWiredBattery);
  EXPECT_EQ(battery[kTagAt], 3);

  // Every reply twice, the second 5 ms after the first; the program does
  // other work for 20 ms between requests. Each exchange gets its own reply.
  device->SetResponder([](int n, const Bytes& request) {
    const Bytes reply = WiredReply(request[WiredFrame::kCommand], request[WiredFrame::kProfileIndex],
                                   static_cast<uint8_t>(n));
    return std::vector<ScriptedReport>{{reply}, {reply, 5}};
  });
  const size_t written = device->Written().size();
  const uint8_t indexes[] = {0, 1, 1, 2};
  for (size_t i = 0; i < 4; ++i) {
    clock_.AdvanceMs(20);
    WiredFrame key = WiredRequest(kWiredKeyRead, indexes[i]);
    ASSERT_TRUE(dm_.ExchangeWired(key));
    EXPECT_EQ(key[WiredFrame::kProfileIndex], indexes[i]);
    EXPECT_EQ(key[kTagAt], written + 1 + i);
  }
}

// The Nordic exchange drains every queued report, not only one, and takes
// only a 64-byte reply with the request's target and command (byte 0), its
// sub-function (byte 3) and, for a macro transfer, its chunk (byte 1). The
// reply code (byte 2) stays the caller's to judge.
TEST_F(ExchangeTest, NordicExchangeDrainsTheQueueAndTakesTheMatchingReply) {
  auto device = AttachNordic();
  // Queued: a status report of the mouse and a stale key-table reply.
  device->Raise(NordicReply(0x01, 0x8C, 0x01, 1));
  device->Raise(NordicReply(0x03, 0xA5, 0x01, 2));
  // After the request: a settings-write acknowledgement and a short report
  // come before the reply to the settings read.
  device->SetResponder([](int, const Bytes&) {
    return std::vector<ScriptedReport>{{NordicReply(0x04, 0xBB, 0x02, 3)},
                                       {Bytes(10, 0x04)},
                                       {NordicReply(0x04, 0xBB, 0x01, 9)}};
  });
  NordicFrame n = nordic::Request(0, nordic::kCmdSettings, 0x81, 0x01);
  ASSERT_TRUE(dm_.ExchangeNordic(n));
  EXPECT_EQ(n[kTagAt], 9);
  // The 100 ms drain read found reports at once; only the 16 ms wait remains.
  EXPECT_EQ(clock_.Sleeps(), (std::vector<uint32_t>{16}));
  ASSERT_EQ(statuses_.size(), 1u);
  EXPECT_EQ(statuses_[0].first, ReportFamily::kNordic);
  EXPECT_EQ(statuses_[0].second[kTagAt], 1);

  // Macro chunks: the acknowledgement of chunk 0 is not chunk 1's.
  device->SetResponder([](int, const Bytes&) {
    return std::vector<ScriptedReport>{{NordicReply(0x07, 0x82, 0x02, 1, 0)},
                                       {NordicReply(0x07, 0x82, 0x02, 9, 1)}};
  });
  NordicFrame chunk = nordic::Request(0, nordic::kCmdMacro, 0xBC, 0x02);
  chunk[nordic::kChunkAt] = 0x01;
  ASSERT_TRUE(dm_.ExchangeNordic(chunk));
  EXPECT_EQ(chunk[kTagAt], 9);

  // Nothing matching within the reply reads: failure, the request kept.
  device->SetResponder([](int, const Bytes&) {
    return std::vector<ScriptedReport>{{NordicReply(0x43, 0xA5, 0x01, 1)}};
  });
  clock_.ClearSleeps();
  NordicFrame other = nordic::Request(1, nordic::kCmdSettings, 0x81, 0x01);
  EXPECT_FALSE(dm_.ExchangeNordic(other));
  EXPECT_EQ(other[0], 0x44);
  EXPECT_EQ(other[2], 0x81);
  EXPECT_EQ(clock_.Sleeps(), (std::vector<uint32_t>{16, 200}));
}

// The vendor collection without a report id shares its interface with a
// mouse collection whose report id is 1: a Nordic reply to a command of
// target 0 starts with 0x01 too, and is the vendor collection's all the same.
// (The vendor collection comes first in the descriptor: a report id is a
// global item and would carry over into a collection after it.)
TEST_F(ExchangeTest, VendorReplyStartingWithAnotherCollectionsReportIdIsKept) {
  Bytes shared = kNordicDescriptor;
  const auto& mouse = MouseCollectionDescriptor();
  shared.insert(shared.end(), mouse.begin(), mouse.end());
  auto device = AttachNordic(shared);
  ASSERT_EQ(dm_.DeviceCount(), 1u);
  device->QueueReply(NordicReply(0x01, 0x8C, 0x01, 9));
  NordicFrame status = nordic::Request(0, nordic::kCmdStatus, 0x81, 0x01);
  ASSERT_TRUE(dm_.ExchangeNordic(status));
  EXPECT_EQ(status[2], 0x8C);
  EXPECT_EQ(status[kTagAt], 9);
}

// A vendor collection with a report id of its own (6) beside the mouse (1):
// only reports numbered 6 are the vendor collection's.
TEST_F(ExchangeTest, NumberedVendorCollectionTakesOnlyItsOwnReports) {
  // Usage Page 0xFF0A, Usage 1, Collection, Report ID 6, 63-byte input and
  // output, End Collection; then the mouse with Report ID 1.
  Bytes numbered = {0x06, 0x0A, 0xFF, 0x09, 0x01, 0xA1, 0x01, 0x85, 0x06, 0x09, 0x01, 0x75, 0x08,
                    0x95, 0x3F, 0x81, 0x02, 0x09, 0x02, 0x91, 0x02, 0xC0};
  const auto& mouse = MouseCollectionDescriptor();
  numbered.insert(numbered.end(), mouse.begin(), mouse.end());
  auto device = AttachNordic(numbered);
  device->Raise({0x01, 0x00, 0x05, 0x00, 0x00});  // mouse motion
  Bytes vendor(64, 0);
  vendor[0] = 0x06;
  device->Raise(vendor);
  uint8_t buffer[65] = {};
  ASSERT_EQ(dm_.ReadReport(dm_.ActiveHandle(), buffer, sizeof(buffer), 100), 64);
  EXPECT_EQ(buffer[0], 0x06);
}

}  // namespace
}  // namespace tk410
