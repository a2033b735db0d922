#include "sim/uhid_nordic_front_end.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>

#include "device/report_descriptor.h"

namespace tk410 {
namespace {

using namespace nordic;

// What hidraw hands over for hid_write: report number 0, then payload bytes
// 0..62 and the check byte.
uhid_event Output(const NordicFrame& request) {
  const auto report = request.ToReport();
  uhid_event e;
  std::memset(&e, 0, sizeof(e));
  e.type = UHID_OUTPUT;
  e.u.output.rtype = UHID_OUTPUT_REPORT;
  e.u.output.size = static_cast<uint16_t>(report.size());
  std::memcpy(e.u.output.data, report.data(), report.size());
  return e;
}

NordicStatusBlock StatusOf(const uhid_event& e) {
  EXPECT_EQ(e.type, UHID_INPUT2);
  EXPECT_EQ(e.u.input2.size, NordicFrame::kSize);
  NordicStatusBlock status;
  EXPECT_TRUE(NordicStatusBlock::Parse(e.u.input2.data, e.u.input2.size, &status));
  return status;
}

// UHID_CREATE2: the receiver 1209:0004 on USB, named as a receiver, with one
// top-level collection 0xFF0A/0x01 whose reports carry no report id.
TEST(UhidNordicFrontEnd, CreateDescribesTheReceiversVendorCollection) {
  NordicReceiverFirmware firmware(true);
  UhidNordicFrontEnd front(firmware, 0x1209, 0x0004);
  const uhid_event e = front.CreateEvent();
  ASSERT_EQ(e.type, UHID_CREATE2);
  EXPECT_EQ(e.u.create2.vendor, 0x1209u);
  EXPECT_EQ(e.u.create2.product, 0x0004u);
  EXPECT_EQ(e.u.create2.bus, 0x03);
  EXPECT_STREQ(reinterpret_cast<const char*>(e.u.create2.name), "TEVO TK410N Receiver");
  const auto collections = ParseReportDescriptor(e.u.create2.rd_data, e.u.create2.rd_size);
  ASSERT_TRUE(collections.has_value());
  ASSERT_EQ(collections->size(), 1u);
  EXPECT_EQ(collections->front().usage_page, 0xFF0A);
  EXPECT_EQ(collections->front().usage, 0x01);
  EXPECT_TRUE(collections->front().has_unnumbered);
  EXPECT_TRUE(collections->front().report_ids.empty());
}

// Status reply/report: byte 0 the source (request byte 0, 0x01 the receiver,
// 0x41 the mouse behind it), byte 2 0x8C, byte 4 bit 0x08 linked. Target 0
// is the receiver, target 1 the mouse, which is silent while unlinked.
TEST(UhidNordicFrontEnd, ReceiverAnswersItselfAndPassesTheMouseOnWhileLinked) {
  NordicReceiverFirmware firmware(true);
  UhidNordicFrontEnd front(firmware, 0x1209, 0x0004);
  const NordicFrame receiver_status = Request(kTargetDevice, kCmdStatus, kCodeRead, kSubRead);
  const NordicFrame mouse_version = Request(kTargetBehind, kCmdVersion, kCodeRead, kSubVersion);

  auto replies = front.OnEvent(Output(receiver_status), 0);
  ASSERT_EQ(replies.size(), 1u);
  EXPECT_TRUE(StatusOf(replies[0]).linked);
  replies = front.OnEvent(Output(mouse_version), 0);
  ASSERT_EQ(replies.size(), 1u);
  EXPECT_EQ(replies[0].u.input2.data[kCodeAt], kCodeVersion);
  EXPECT_EQ(replies[0].u.input2.data[kTargetCommandAt], mouse_version[kTargetCommandAt]);

  const auto unlinked = front.SetLinked(false);
  ASSERT_TRUE(unlinked.has_value());
  EXPECT_EQ(unlinked->u.input2.data[0], NordicReceiverFirmware::kReceiverSource);
  EXPECT_FALSE(StatusOf(*unlinked).linked);
  EXPECT_TRUE(front.OnEvent(Output(mouse_version), 0).empty());
  EXPECT_FALSE(front.RaiseMouseStatus().has_value());
  replies = front.OnEvent(Output(receiver_status), 0);
  ASSERT_EQ(replies.size(), 1u);
  EXPECT_FALSE(StatusOf(replies[0]).linked);

  ASSERT_TRUE(front.SetLinked(true).has_value());
  const auto mouse = front.RaiseMouseStatus();
  ASSERT_TRUE(mouse.has_value());
  EXPECT_EQ(mouse->u.input2.data[0], NordicReceiverFirmware::kMouseBehindSource);
  EXPECT_EQ(front.Answered(), 3);
}

// Nothing answers a broken check byte, a numbered report, a short buffer or
// a feature report (the vendor collection has none).
TEST(UhidNordicFrontEnd, RefusesMalformedRequests) {
  NordicReceiverFirmware firmware(true);
  UhidNordicFrontEnd front(firmware, 0x1209, 0x0004);
  const NordicFrame status = Request(kTargetDevice, kCmdStatus, kCodeRead, kSubRead);

  uhid_event bad_check = Output(status);
  bad_check.u.output.data[NordicFrame::kReportSize - 1] ^= 0x01;
  EXPECT_TRUE(front.OnEvent(bad_check, 0).empty());
  uhid_event numbered = Output(status);
  numbered.u.output.data[0] = 0x02;
  EXPECT_TRUE(front.OnEvent(numbered, 0).empty());
  uhid_event short_buffer = Output(status);
  short_buffer.u.output.size = 3;
  EXPECT_TRUE(front.OnEvent(short_buffer, 0).empty());
  EXPECT_EQ(firmware.RejectedRequests(), 2);

  uhid_event get;
  std::memset(&get, 0, sizeof(get));
  get.type = UHID_GET_REPORT;
  get.u.get_report.id = 7;
  get.u.get_report.rnum = 0x51;
  get.u.get_report.rtype = UHID_FEATURE_REPORT;
  const auto reply = front.OnEvent(get, 0);
  ASSERT_EQ(reply.size(), 1u);
  EXPECT_EQ(reply[0].type, UHID_GET_REPORT_REPLY);
  EXPECT_EQ(reply[0].u.get_report_reply.id, 7u);
  EXPECT_EQ(reply[0].u.get_report_reply.err, EIO);
  EXPECT_EQ(front.Answered(), 0);
}

}  // namespace
}  // namespace tk410
