#include "sim/uhid_wired_front_end.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>

#include "device/report_descriptor.h"

namespace tk410 {
namespace {

class UhidFrontEndTest : public ::testing::Test {
 protected:
  // What hidraw hands over for hid_write: report number 0, then the 64
  // payload bytes (check byte filled).
  static uhid_event Output(WiredFrame request) {
    request.FillCheck();
    uhid_event e;
    std::memset(&e, 0, sizeof(e));
    e.type = UHID_OUTPUT;
    e.u.output.rtype = UHID_OUTPUT_REPORT;
    e.u.output.size = WiredFrame::kReportSize;
    std::memcpy(e.u.output.data + 1, request.data(), WiredFrame::kSize);
    return e;
  }
  static WiredFrame Payload(const uhid_event& e) {
    EXPECT_EQ(e.type, UHID_INPUT2);
    EXPECT_EQ(e.u.input2.size, WiredFrame::kSize);
    WiredFrame f;
    std::memcpy(f.data(), e.u.input2.data, WiredFrame::kSize);
    return f;
  }
  static WiredFrame BatteryRequest() { return WiredFrame::Request(kWiredBattery, 0xA5, 0x2E, 0); }

  WiredFirmware firmware_;
};

// UHID_CREATE2: vendor 0x1209 product 0x0001 on USB (bus 3), HID_PHYS naming
// USB interface 1, and a descriptor with one top-level collection 0xFF01/0x10
// whose 64-byte reports carry no report id and whose feature report is 0x51.
TEST_F(UhidFrontEndTest, CreateDescribesTheVendorCollectionOfTheWiredMode) {
  UhidWiredFrontEnd front(firmware_, {});
  const uhid_event e = front.CreateEvent();
  ASSERT_EQ(e.type, UHID_CREATE2);
  EXPECT_EQ(e.u.create2.vendor, 0x1209u);
  EXPECT_EQ(e.u.create2.product, 0x0001u);
  EXPECT_EQ(e.u.create2.bus, 0x03);
  EXPECT_STREQ(reinterpret_cast<const char*>(e.u.create2.phys), "usb-0000:00:14.0-2/input1");
  const auto collections = ParseReportDescriptor(e.u.create2.rd_data, e.u.create2.rd_size);
  ASSERT_TRUE(collections.has_value());
  ASSERT_EQ(collections->size(), 1u);
  EXPECT_EQ(collections->front().usage_page, 0xFF01);
  EXPECT_EQ(collections->front().usage, 0x10);
  EXPECT_TRUE(collections->front().has_unnumbered);
  EXPECT_EQ(collections->front().report_ids, (std::set<uint8_t>{0x51}));
  EXPECT_EQ(UhidWiredFrontEnd::DestroyEvent().type, UHID_DESTROY);
}

// Reply payload: byte 0 0xAA, byte 1 the command echoed. A request with a
// wrong check byte or a report number other than 0 gets nothing.
TEST_F(UhidFrontEndTest, OutputReportsAreAnsweredByTheFirmware) {
  UhidWiredFrontEnd front(firmware_, {});
  auto replies = front.OnEvent(Output(BatteryRequest()), 0);
  ASSERT_EQ(replies.size(), 1u);
  EXPECT_TRUE(Payload(replies[0]).IsReplyTo(kWiredBattery));

  uhid_event bad_check = Output(BatteryRequest());
  bad_check.u.output.data[1 + WiredFrame::kCheck] ^= 0x01;
  EXPECT_TRUE(front.OnEvent(bad_check, 0).empty());
  uhid_event numbered = Output(BatteryRequest());
  numbered.u.output.data[0] = 0x51;
  EXPECT_TRUE(front.OnEvent(numbered, 0).empty());

  // A 64-byte buffer is the payload alone.
  uhid_event bare = Output(BatteryRequest());
  std::memmove(bare.u.output.data, bare.u.output.data + 1, WiredFrame::kSize);
  bare.u.output.size = WiredFrame::kSize;
  EXPECT_EQ(front.OnEvent(bare, 0).size(), 1u);
  EXPECT_EQ(front.Answered(), 2);
}

// Only the chosen reply waits; it comes out once its time has come, and the
// replies after it are not held.
TEST_F(UhidFrontEndTest, TheChosenReplyArrivesLate) {
  UhidWiredFrontEnd front(firmware_, UhidMouseOptions{.late_reply = 2, .late_ms = 1500});
  EXPECT_EQ(front.OnEvent(Output(BatteryRequest()), 100).size(), 1u);
  EXPECT_TRUE(front.OnEvent(Output(BatteryRequest()), 200).empty());
  EXPECT_EQ(front.NextDue(), std::optional<uint64_t>(1700));
  EXPECT_EQ(front.OnEvent(Output(BatteryRequest()), 300).size(), 1u);
  EXPECT_TRUE(front.TakeDue(1699).empty());
  const auto due = front.TakeDue(1700);
  ASSERT_EQ(due.size(), 1u);
  EXPECT_TRUE(Payload(due[0]).IsReplyTo(kWiredBattery));
  EXPECT_FALSE(front.NextDue().has_value());
}

// Feature 0x51: a set with selector 0xAA at byte 2 picks the receiver's text;
// the get reply is 0x51 0x04 L text. Other report numbers or types fail
// with EIO, and every reply carries the request's id.
TEST_F(UhidFrontEndTest, VersionFeatureReportThroughGetAndSetReport) {
  UhidWiredFrontEnd front(firmware_, {});
  uhid_event set;
  std::memset(&set, 0, sizeof(set));
  set.type = UHID_SET_REPORT;
  set.u.set_report = {.id = 7, .rnum = 0x51, .rtype = UHID_FEATURE_REPORT, .size = 21, .data = {}};
  const auto request = WiredVersionReport::Request(1);
  std::memcpy(set.u.set_report.data, request.data(), request.size());
  auto replies = front.OnEvent(set, 0);
  ASSERT_EQ(replies.size(), 1u);
  EXPECT_EQ(replies[0].type, UHID_SET_REPORT_REPLY);
  EXPECT_EQ(replies[0].u.set_report_reply.id, 7u);
  EXPECT_EQ(replies[0].u.set_report_reply.err, 0);

  uhid_event get;
  std::memset(&get, 0, sizeof(get));
  get.type = UHID_GET_REPORT;
  get.u.get_report = {.id = 8, .rnum = 0x51, .rtype = UHID_FEATURE_REPORT};
  replies = front.OnEvent(get, 0);
  ASSERT_EQ(replies.size(), 1u);
  const uhid_get_report_reply_req& answer = replies[0].u.get_report_reply;
  EXPECT_EQ(answer.id, 8u);
  EXPECT_EQ(answer.err, 0);
  EXPECT_EQ(WiredVersionReport::Text(answer.data, answer.size), "R2.0.1");

  get.u.get_report.rnum = 0x52;
  EXPECT_EQ(front.OnEvent(get, 0)[0].u.get_report_reply.err, EIO);
  set.u.set_report.rtype = UHID_INPUT_REPORT;
  EXPECT_EQ(front.OnEvent(set, 0)[0].u.set_report_reply.err, EIO);
}

// Status report: 0xAA 0xFA, type 0x10 at offset 8, stage at 9, rate at 10;
// the firmware's active stage and rate change with it.
TEST_F(UhidFrontEndTest, StageReportChangesTheFirmwareFirst) {
  UhidWiredFrontEnd front(firmware_, {});
  const uhid_event e = front.RaiseStageAndRate(3, 2);
  WiredStatusReport report;
  ASSERT_TRUE(WiredStatusReport::Parse(e.u.input2.data, e.u.input2.size, &report));
  EXPECT_EQ(report.type, WiredStatusReport::kStageAndRate);
  EXPECT_EQ(report.value1, 3);
  EXPECT_EQ(report.value2, 2);
  const auto& block = firmware_.Settings(firmware_.ActiveProfile());
  EXPECT_EQ(block[WiredSettingsBlock::kActiveStageAt - WiredSettingsBlock::kFrameOffset], 3);
  EXPECT_EQ(block[WiredSettingsBlock::kReportRateAt - WiredSettingsBlock::kFrameOffset], 2);

  front.RaiseBattery(40, 1);
  EXPECT_EQ(firmware_.BatteryLevel(), 40);
}

}  // namespace
}  // namespace tk410
