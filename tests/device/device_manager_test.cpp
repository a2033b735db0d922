#include "device/device_manager.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "device/scripted_device.h"
#include "sim/virtual_hid_bus.h"
#include "sim/virtual_wired_mouse.h"

namespace tk410 {
namespace {

using testing::kKeyboardDescriptor;
using testing::kNordicDescriptor;
using testing::ScriptedDevice;

constexpr uint16_t kVid = 0x1209;
constexpr uint16_t kWiredPid = 0x0001;

// Records every path the manager opens, then lets the bus open it.
class CountingBackend final : public HidBackend {
 public:
  explicit CountingBackend(std::shared_ptr<HidBackend> inner) : inner_(std::move(inner)) {}
  std::vector<HidCollectionInfo> Enumerate() override { return inner_->Enumerate(); }
  HidOpenResult Open(const std::string& path) override {
    opened.push_back(path);
    return inner_->Open(path);
  }
  std::vector<std::string> opened;

 private:
  std::shared_ptr<HidBackend> inner_;
};

class DeviceManagerTest : public ::testing::Test {
 protected:
  DeviceManagerTest()
      : bus_(std::make_shared<VirtualHidBus>(clock_)),
        counting_(std::make_shared<CountingBackend>(bus_)),
        dm_(counting_, clock_) {
    dm_.SetCurrentDeviceType(101);
    dm_.SetFrameTrace([this](const std::string& line) { trace_.push_back(line); });
  }

  void Scan() {
    dm_.ClearActiveHandle();
    dm_.CloseAll();
    dm_.EnumerateDevice();
    dm_.SetOpened(true);
    clock_.ClearSleeps();
    trace_.clear();
  }

  std::shared_ptr<VirtualWiredMouse> AttachWiredMouse(VirtualWiredMouseOptions options = {}) {
    auto mouse = std::make_shared<VirtualWiredMouse>(options);
    bus_->Attach(mouse);
    return mouse;
  }

  size_t CountTrace(const std::string& prefix) const {
    return std::count_if(trace_.begin(), trace_.end(),
                         [&](const std::string& l) { return l.rfind(prefix, 0) == 0; });
  }

  ManualClock clock_;
  std::shared_ptr<VirtualHidBus> bus_;
  std::shared_ptr<CountingBackend> counting_;
  DeviceManager dm_;
  std::vector<std::string> trace_;
};

TEST_F(DeviceManagerTest, SupportedListLookupsTakeTheFirstRecord) {
  dm_.AddSupported(kVid, 2, L"", 101, 1);
  dm_.AddSupported(kVid, 2, L"", 102, 3);
  EXPECT_TRUE(dm_.IsSupported(kVid, 2));
  EXPECT_FALSE(dm_.IsSupported(kVid, 3));
  EXPECT_EQ(dm_.TypeOf(kVid, 2), 101);
  EXPECT_EQ(dm_.ModeOf(kVid, 2), 1);
  EXPECT_EQ(dm_.TypeOf(kVid, 3), 0);
  dm_.ClearSupported();
  EXPECT_FALSE(dm_.IsSupported(kVid, 2));
}

TEST_F(DeviceManagerTest, UnsupportedDevicesAreNeverOpened) {
  AttachWiredMouse({.vendor_id = 0x046D, .product_id = 0xC077});
  dm_.AddSupported(kVid, kWiredPid, L"", 101, 0);
  Scan();
  EXPECT_TRUE(counting_->opened.empty());
  EXPECT_EQ(dm_.DeviceCount(), 0u);
  EXPECT_EQ(dm_.ActiveHandle(), nullptr);
  WiredFrame f = WiredFrame::Request(kWiredBattery, 0xA5, 0x2E, 0);
  EXPECT_FALSE(dm_.ExchangeWired(f));
  EXPECT_TRUE(trace_.empty());
}

TEST_F(DeviceManagerTest, WiredMouseGivesOneDirectRecordOnItsVendorCollection) {
  auto mouse = AttachWiredMouse();
  dm_.AddSupported(kVid, kWiredPid, L"", 101, 0);
  Scan();
  // Both interfaces were opened; only the vendor collection was kept.
  EXPECT_EQ(counting_->opened.size(), 4u);  // mouse, keyboard, consumer, vendor
  std::vector<const DeviceInfo*> devices;
  ASSERT_TRUE(dm_.DevicesOfCurrentType(&devices));
  ASSERT_EQ(devices.size(), 1u);
  EXPECT_EQ(devices[0]->index, 0);
  EXPECT_EQ(devices[0]->dev_mode, 0);
  EXPECT_EQ(devices[0]->online, 1);
  EXPECT_EQ(devices[0]->product, L"TEVO TK410");
  EXPECT_EQ(devices[0]->path, bus_->PathOf(1, 1));
  EXPECT_EQ(dm_.ActiveMode(), 0);
  EXPECT_EQ(dm_.FindDevice(kVid, kWiredPid, 0), 0);
  EXPECT_EQ(dm_.FindDevice(kVid, kWiredPid, 1), -1);
  EXPECT_NE(dm_.ActiveHandle(), nullptr);

  dm_.CloseAll();
  EXPECT_FALSE(dm_.IsOpened());
  EXPECT_EQ(dm_.DeviceCount(), 0u);
  EXPECT_EQ(dm_.FindDevice(kVid, kWiredPid, 0), -1);
  EXPECT_FALSE(dm_.DevicesOfCurrentType(&devices));
}

TEST_F(DeviceManagerTest, PermissionDeniedIsReportedForSupportedPaths) {
  auto mouse = AttachWiredMouse();
  mouse->SetOpenDenied(true);
  dm_.AddSupported(kVid, kWiredPid, L"", 101, 0);
  Scan();
  EXPECT_EQ(dm_.DeviceCount(), 0u);
  const auto denied = dm_.PermissionDeniedPaths();
  EXPECT_EQ(denied.size(), 2u);  // both interfaces, each once
  EXPECT_NE(std::find(denied.begin(), denied.end(), bus_->PathOf(1, 1)), denied.end());
  mouse->SetOpenDenied(false);
  Scan();
  EXPECT_TRUE(dm_.PermissionDeniedPaths().empty());
  EXPECT_EQ(dm_.DeviceCount(), 1u);
}

TEST_F(DeviceManagerTest, BluetoothOnlyRecordGivesModeTwoAndNoIo) {
  auto bt = std::make_shared<ScriptedDevice>(kVid, 0x0003, kKeyboardDescriptor, kHidBusBluetooth);
  bus_->Attach(bt);
  dm_.AddSupported(kVid, 0x0003, L"", 101, 0);
  Scan();
  std::vector<const DeviceInfo*> devices;
  ASSERT_TRUE(dm_.DevicesOfCurrentType(&devices));
  ASSERT_EQ(devices.size(), 1u);
  EXPECT_EQ(devices[0]->dev_mode, 2);
  EXPECT_EQ(devices[0]->handle, nullptr);
  EXPECT_EQ(devices[0]->online, 1);
  EXPECT_EQ(dm_.ActiveMode(), 2);
  EXPECT_EQ(dm_.ActiveHandle(), nullptr);

  WiredFrame f = WiredFrame::Request(kWiredBattery, 0xA5, 0x2E, 0);
  EXPECT_FALSE(dm_.ExchangeWired(f));
  NordicFrame n;
  EXPECT_FALSE(dm_.ExchangeNordic(n));
  std::wstring version = L"x";
  EXPECT_FALSE(dm_.ReadVersionFeature(&version, 0));
  EXPECT_EQ(version, L"0.0.0");
  uint8_t buffer[65] = {};
  EXPECT_FALSE(dm_.PollReport(buffer));
  EXPECT_TRUE(trace_.empty());
  EXPECT_TRUE(bt->Written().empty());

  // The same keyboard on USB is no Bluetooth record (and not a vendor collection).
  bus_->Detach(1);
  bus_->Attach(std::make_shared<ScriptedDevice>(kVid, 0x0003, kKeyboardDescriptor));
  Scan();
  EXPECT_EQ(dm_.DeviceCount(), 0u);
}

// Receivers: the link bit is bit 3 of byte 4 of a receiver's report.
TEST_F(DeviceManagerTest, ReceiverChoiceLooksOnlyAtTheFirstRecordOfEachMode) {
  struct Case {
    int first_mode, second_mode;
    bool second_online;
    int expected;
  };
  const Case cases[] = {
      {1, 3, true, 3},    // mode 1 offline, mode 3 online: the mode-3 record
      {1, 1, true, -1},   // first mode 1 offline, second online: nothing
      {1, 3, false, -1},  // both offline
  };
  for (const Case& c : cases) {
    auto a = std::make_shared<ScriptedDevice>(kVid, 0x0010, kNordicDescriptor);
    auto b = std::make_shared<ScriptedDevice>(kVid, 0x0011, kNordicDescriptor);
    const int ida = bus_->Attach(a);
    const int idb = bus_->Attach(b);
    dm_.ClearSupported();
    dm_.AddSupported(kVid, 0x0010, L"", 101, c.first_mode);
    dm_.AddSupported(kVid, 0x0011, L"", 101, c.second_mode);
    Scan();
    ASSERT_EQ(dm_.DeviceCount(), 2u);
    EXPECT_EQ(dm_.ActiveMode(), c.first_mode);  // both online after the scan

    dm_.MarkReceiversOffline();
    EXPECT_EQ(dm_.ActiveMode(), -1);
    std::vector<uint8_t> link(64, 0);
    link[4] = c.second_online ? 0x08 : 0x00;
    b->Raise(link);
    uint8_t buffer[65] = {};
    EXPECT_TRUE(dm_.PollReport(buffer));
    EXPECT_EQ(dm_.ActiveMode(), c.expected) << c.first_mode << "/" << c.second_mode;
    bus_->Detach(ida);
    bus_->Detach(idb);
  }
}

// A wired reply is valid when byte 0 is 0xAA and it echoes the request;
// three invalid replies (or none) fail after waits of 100 ms and 1000 ms,
// with the same request written three times. Each attempt reads for its
// whole 1000 ms: a report that is no reply does not end the read.
TEST_F(DeviceManagerTest, ThreeBadRepliesFailAfterTheFixedWaits) {
  const WiredFault faults[] = {WiredFault::kWrongMarker, WiredFault::kNoReply, WiredFault::kOtherCommand};
  for (WiredFault fault : faults) {
    auto mouse = std::make_shared<VirtualWiredMouse>();
    const int id = bus_->Attach(mouse);
    dm_.ClearSupported();
    dm_.AddSupported(kVid, kWiredPid, L"", 101, 0);
    Scan();
    mouse->SetFault(fault, 3);
    WiredFrame f = WiredFrame::Request(kWiredSettingsRead, 0xA5, 0x2E, 0);
    EXPECT_FALSE(dm_.ExchangeWired(f));
    EXPECT_EQ(clock_.Sleeps(), (std::vector<uint32_t>{100, 1000}));
    std::vector<std::string> writes;
    for (const auto& l : trace_) {
      if (l[0] == 'W') writes.push_back(l);
    }
    ASSERT_EQ(writes.size(), 3u);
    EXPECT_EQ(writes[0], writes[1]);
    EXPECT_EQ(writes[1], writes[2]);
    EXPECT_EQ(CountTrace("R -"), 3u);  // each attempt's read ran out
    EXPECT_EQ(CountTrace("R"), fault == WiredFault::kNoReply ? 3u : 6u);
    dm_.CloseAll();
    bus_->Detach(id);
  }
}

// The request on the wire: 00, then 55 30 A5 <check> 2E 00 00 <profile> ...
TEST_F(DeviceManagerTest, TraceRecordsEveryTransferAsHexLines) {
  auto mouse = AttachWiredMouse();
  mouse->WithFirmware([](WiredFirmware& f) {
    f.SetBattery(87, 1);
    return 0;
  });
  dm_.AddSupported(kVid, kWiredPid, L"", 101, 0);
  Scan();
  WiredFrame f = WiredFrame::Request(kWiredBattery, 0xA5, 0x2E, 2);
  ASSERT_TRUE(dm_.ExchangeWired(f));
  EXPECT_EQ(f[1], kWiredBattery);
  EXPECT_EQ(f[8], 87);
  EXPECT_EQ(f[9], 1);
  EXPECT_TRUE(clock_.Sleeps().empty());
  ASSERT_EQ(trace_.size(), 2u);
  std::string expected_w = "W 00 55 30 A5 30 2E 00 00 02";  // check = 0x2E + 2
  for (int i = 9; i < 65; ++i) expected_w += " 00";
  EXPECT_EQ(trace_[0], expected_w);
  EXPECT_EQ(trace_[1].substr(0, 11), "R AA 30 A5 ");
  EXPECT_EQ(trace_[1].size(), 2 + 64 * 3 - 1);

  std::wstring version;
  ASSERT_TRUE(dm_.ReadVersionFeature(&version, 0));
  EXPECT_EQ(version, L"V1.0.5");
  EXPECT_EQ(trace_[2].substr(0, 12), "FS 51 04 00 ");
  EXPECT_EQ(trace_[3].substr(0, 15), "FG 51 04 06 56 ");
  ASSERT_TRUE(dm_.ReadVersionFeature(&version, 3));
  EXPECT_EQ(version, L"R2.0.1");
  EXPECT_EQ(trace_[4].substr(0, 12), "FS 51 04 AA ");

  // A read that times out is "R -".
  trace_.clear();
  uint8_t buffer[65];
  EXPECT_EQ(dm_.ReadReport(dm_.ActiveHandle(), buffer, 21, 1000), 0);
  EXPECT_EQ(trace_, (std::vector<std::string>{"R -"}));
}

TEST_F(DeviceManagerTest, VersionLengthZeroAndOversizedLength) {
  auto mouse = AttachWiredMouse();
  dm_.AddSupported(kVid, kWiredPid, L"", 101, 0);
  Scan();
  std::wstring version = L"unchanged";
  mouse->WithFirmware([](WiredFirmware& f) {
    f.SetVersionLengthOverride(0);
    return 0;
  });
  ASSERT_TRUE(dm_.ReadVersionFeature(&version, 0));
  EXPECT_EQ(version, L"0.0.0");

  // L = 255 in a 21-byte report: the 18 text bytes present, nothing beyond.
  mouse->WithFirmware([](WiredFirmware& f) {
    f.SetVersionLengthOverride(255);
    f.SetVersionText("ABCDEFGHIJKLMNOPQR", "");
    return 0;
  });
  ASSERT_TRUE(dm_.ReadVersionFeature(&version, 0));
  EXPECT_EQ(version, L"ABCDEFGHIJKLMNOPQR");
}

TEST_F(DeviceManagerTest, DeviceTypeAboveTwoHundredDisablesWiredIo) {
  auto receiver = std::make_shared<ScriptedDevice>(kVid, 0x0020, kNordicDescriptor);
  bus_->Attach(receiver);  // first: the active record of type 201
  auto mouse = AttachWiredMouse();
  dm_.AddSupported(kVid, kWiredPid, L"", 201, 0);
  dm_.AddSupported(kVid, 0x0020, L"", 201, 0);
  dm_.SetCurrentDeviceType(201);
  Scan();
  WiredFrame f = WiredFrame::Request(kWiredBattery, 0xA5, 0x2E, 0);
  EXPECT_FALSE(dm_.ExchangeWired(f));
  std::wstring version = L"kept";
  EXPECT_FALSE(dm_.ReadVersionFeature(&version, 0));
  EXPECT_EQ(version, L"kept");
  EXPECT_TRUE(trace_.empty());

  // The Nordic exchange still runs: drain read, write, 16 ms, reply read.
  std::vector<uint8_t> reply(64, 0);
  reply[0] = 0x01;
  reply[2] = 0x8C;
  receiver->QueueReply(reply);
  NordicFrame n;
  n[0] = 0x01;
  n[2] = 0x81;
  ASSERT_TRUE(dm_.ExchangeNordic(n));
  EXPECT_EQ(n[2], 0x8C);
  EXPECT_EQ(clock_.Sleeps(), (std::vector<uint32_t>{16}));
}

// Nordic replies count only when exactly 64 bytes arrive; the payload is
// then replaced, otherwise kept.
TEST_F(DeviceManagerTest, NordicReplyMustBeExactlySixtyFourBytes) {
  auto receiver = std::make_shared<ScriptedDevice>(kVid, 0x0020, kNordicDescriptor);
  bus_->Attach(receiver);
  dm_.AddSupported(kVid, 0x0020, L"", 101, 0);
  Scan();
  for (size_t size : {63u, 65u, 64u}) {
    // A reply repeats the request's byte 0, its chunk (byte 1: command 7
    // is a macro transfer) and its sub-function (byte 3).
    std::vector<uint8_t> reply(size, 0x5A);
    reply[0] = 0x07;
    reply[1] = 0x00;
    reply[3] = 0x00;
    receiver->QueueReply(reply);
    NordicFrame n;
    n[0] = 0x07;
    const bool ok = dm_.ExchangeNordic(n);
    EXPECT_EQ(ok, size == 64) << size;
    EXPECT_EQ(n[2], size == 64 ? 0x5A : 0x00) << size;
  }
  // Wire form of the last request: 00, payload 0..62, 0xA1 - sum.
  const auto written = receiver->Written().back();
  ASSERT_EQ(written.size(), 64u);
  EXPECT_EQ(written[0], 0x07);
  EXPECT_EQ(written[63], static_cast<uint8_t>(0xA1 - 0x07));

  // No reply: 16 ms, a 200 ms read, 200 ms, a 100 ms read.
  clock_.ClearSleeps();
  const uint64_t before = clock_.TickMs();
  NordicFrame n;
  EXPECT_FALSE(dm_.ExchangeNordic(n));
  EXPECT_EQ(clock_.Sleeps(), (std::vector<uint32_t>{16, 200}));
  EXPECT_EQ(clock_.TickMs() - before, 100u + 16 + 200 + 200 + 100);
}

// A reply that arrives after the reader gave up stays queued, as a pending
// kernel report would; the next exchange takes it off the interface before
// its own request goes out and gets its own reply.
TEST_F(DeviceManagerTest, LateReplyIsConsumedByTheNextRead) {
  auto mouse = AttachWiredMouse();
  dm_.AddSupported(kVid, kWiredPid, L"", 101, 0);
  Scan();
  mouse->SetFault(WiredFault::kLateReply, 1);
  mouse->SetLateDelayMs(1500);
  WiredFrame f = WiredFrame::Request(kWiredFirmwareVersion, 0x00, 0x00, 0);
  ASSERT_TRUE(dm_.ExchangeWired(f));  // the second attempt's reply
  EXPECT_EQ(clock_.Sleeps(), (std::vector<uint32_t>{100}));
  EXPECT_EQ(trace_[1], "R -");

  // The late reply to the first attempt arrives while the program idles.
  clock_.AdvanceMs(500);
  trace_.clear();
  WiredFrame battery = WiredFrame::Request(kWiredBattery, 0xA5, 0x2E, 0);
  ASSERT_TRUE(dm_.ExchangeWired(battery));
  EXPECT_TRUE(battery.IsReplyTo(kWiredBattery));
  ASSERT_EQ(trace_.size(), 3u);
  EXPECT_EQ(trace_[0].substr(0, 7), "R AA 03");  // taken before the request
  EXPECT_EQ(trace_[1].substr(0, 7), "W 00 55");
  EXPECT_EQ(trace_[2].substr(0, 7), "R AA 30");
  // Nothing is left behind.
  uint8_t buffer[65];
  EXPECT_EQ(dm_.ReadReport(dm_.ActiveHandle(), buffer, sizeof(buffer), 1000), 0);
}

// Vendor collection sharing its interface with the mouse (id 1) and
// keyboard (id 2) collections: their reports come first and are skipped,
// since none of them is the reply to the request.
TEST_F(DeviceManagerTest, ReportsOfOtherCollectionsAreSkipped) {
  auto mouse = AttachWiredMouse({.shared_interface = true});
  dm_.AddSupported(kVid, kWiredPid, L"", 101, 0);
  Scan();
  ASSERT_EQ(dm_.DeviceCount(), 1u);
  mouse->SetInterleavedReports(4);
  WiredFrame f = WiredFrame::Request(kWiredBattery, 0xA5, 0x2E, 0);
  ASSERT_TRUE(dm_.ExchangeWired(f));
  EXPECT_TRUE(clock_.Sleeps().empty());
  ASSERT_EQ(trace_.size(), 6u);
  EXPECT_EQ(trace_[1].substr(0, 4), "R 01");
  EXPECT_EQ(trace_[2].substr(0, 4), "R 02");
  EXPECT_EQ(trace_[5].substr(0, 7), "R AA 30");

  // A vendor report that is not a reply still counts as no answer.
  mouse->SetInterleavedReports(0);
  mouse->SetFault(WiredFault::kWrongMarker, 1);
  clock_.ClearSleeps();
  WiredFrame g = WiredFrame::Request(kWiredBattery, 0xA5, 0x2E, 0);
  ASSERT_TRUE(dm_.ExchangeWired(g));
  EXPECT_EQ(clock_.Sleeps(), (std::vector<uint32_t>{100}));

  // Only other collections' reports within the whole time-out: no answer.
  mouse->SetInterleavedReports(2);
  mouse->SetFault(WiredFault::kNoReply, 3);
  clock_.ClearSleeps();
  const uint64_t before = clock_.TickMs();
  WiredFrame h = WiredFrame::Request(kWiredBattery, 0xA5, 0x2E, 0);
  EXPECT_FALSE(dm_.ExchangeWired(h));
  EXPECT_EQ(clock_.Sleeps(), (std::vector<uint32_t>{100, 1000}));
  EXPECT_EQ(clock_.TickMs() - before, 3 * 1000u + 100 + 1000);
}

TEST_F(DeviceManagerTest, UnplugDuringAnExchangeFailsAndIsAnnounced) {
  auto mouse = AttachWiredMouse();
  std::vector<bool> events;
  bus_->AddListener([&](const VirtualBusEvent& e) { events.push_back(e.arrival); });
  dm_.AddSupported(kVid, kWiredPid, L"", 101, 0);
  Scan();
  mouse->SetFault(WiredFault::kUnplug, 1);
  WiredFrame f = WiredFrame::Request(kWiredSettingsRead, 0xA5, 0x2E, 0);
  EXPECT_FALSE(dm_.ExchangeWired(f));
  EXPECT_EQ(events, (std::vector<bool>{false}));
  EXPECT_EQ(trace_[1], "R -");
  Scan();
  EXPECT_EQ(dm_.DeviceCount(), 0u);
  EXPECT_EQ(dm_.ActiveMode(), -1);
}

}  // namespace
}  // namespace tk410
