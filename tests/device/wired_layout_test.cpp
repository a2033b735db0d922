#include "device/wired_layout.h"

#include <gtest/gtest.h>

#include "device/frame_trace.h"
#include "device/nordic_frame.h"

namespace tk410 {
namespace {

// Settings block at payload offsets 8..53: 8 profile, 9 light, 10 rate,
// 11 stage count, 12 active stage, 13..24 DPI LE, 25..42 colours (3 bytes,
// low first), 43..47 zero, 48 scroll, 49 lift-off, 50 sensor, 51 response,
// 52 sleep, 53 e-sports.
TEST(WiredLayout, SettingsBlockFieldsLandAtTheirOffsets) {
  WiredSettingsBlock b;
  b.profile_index = 2;
  b.light_mode = 3;
  b.report_rate = 4;
  b.stage_count = 6;
  b.active_stage = 5;
  b.dpi = {400, 800, 1600, 3200, 6400, 26000};
  b.colour = {0x112233, 0, 0, 0, 0, 0xABCDEF};
  b.scroll_flag = 1;
  b.liftoff_height = 2;
  b.sensor_bits = 0x31;
  b.button_respondtime = 8;
  b.sleep_light = 9;
  b.esports_flag = 1;
  WiredFrame f;
  b.PackFrame(f.data());
  EXPECT_EQ(f[8], 2);
  EXPECT_EQ(f[9], 3);
  EXPECT_EQ(f[12], 5);
  EXPECT_EQ(f[13], 400 & 0xFF);
  EXPECT_EQ(f[14], 400 >> 8);
  EXPECT_EQ(f[23], 26000 & 0xFF);
  EXPECT_EQ(f[24], 26000 >> 8);
  EXPECT_EQ(f[25], 0x33);
  EXPECT_EQ(f[26], 0x22);
  EXPECT_EQ(f[27], 0x11);
  EXPECT_EQ(f[40], 0xEF);
  EXPECT_EQ(f[42], 0xAB);
  EXPECT_EQ(f[48], 1);
  EXPECT_EQ(f[50], 0x31);
  EXPECT_EQ(f[53], 1);
  EXPECT_EQ(f[54], 0);  // nothing written past the block

  WiredSettingsBlock back;
  ASSERT_TRUE(WiredSettingsBlock::UnpackFrame(f.data(), WiredFrame::kSize, &back));
  EXPECT_EQ(back.ToBytes(), b.ToBytes());
  EXPECT_EQ(WiredSettingsBlock::FromBytes(b.ToBytes()).dpi, b.dpi);
  // A short payload is refused before it is read.
  EXPECT_FALSE(WiredSettingsBlock::UnpackFrame(f.data(), 53, &back));
}

// Check byte: sum of payload bytes 4..63 modulo 256, in byte 3.
// Nordic: the report is 0x00, payload 0..62, then 0xA1 minus their sum.
TEST(WiredLayout, CheckBytesOfBothFamilies) {
  WiredFrame f = WiredFrame::Request(kWiredSettingsWrite, 0xAE, 0x2E, 1);
  f[63] = 0xF0;
  f[20] = 0x20;
  f.FillCheck();
  EXPECT_EQ(f[WiredFrame::kCheck], (0x2E + 1 + 0xF0 + 0x20) & 0xFF);
  EXPECT_TRUE(f.CheckMatches());
  const auto report = f.ToReport();
  EXPECT_EQ(report[0], 0x00);
  EXPECT_EQ(report[1], 0x55);
  EXPECT_EQ(report[64], 0xF0);

  NordicFrame n;
  n[0] = 0x01;
  n[2] = 0x81;
  n[3] = 0x01;
  n[63] = 0x77;  // never sent
  const auto wire = n.ToReport();
  EXPECT_EQ(wire[0], 0x00);
  EXPECT_EQ(wire[3], 0x81);
  EXPECT_EQ(wire[64], static_cast<uint8_t>(0xA1 - 0x83));
  EXPECT_TRUE(NordicFrame::VerifyReceived(wire.data() + 1, 64));
  auto broken = wire;
  broken[10] ^= 1;
  EXPECT_FALSE(NordicFrame::VerifyReceived(broken.data() + 1, 64));
  EXPECT_FALSE(NordicFrame::VerifyReceived(wire.data() + 1, 63));
}

// Version reply: 0x51, -, L at 2, text from 3 (at most 18 bytes).
TEST(WiredLayout, VersionTextNeverReadsPastTheReport) {
  uint8_t reply[21] = {0x51, 0x04, 6, 'V', '1', '.', '0', '.', '5'};
  EXPECT_EQ(WiredVersionReport::Text(reply, 21), "V1.0.5");
  reply[2] = 0;
  EXPECT_EQ(WiredVersionReport::Text(reply, 21), "");
  reply[2] = 200;  // more than the report holds
  EXPECT_EQ(WiredVersionReport::Text(reply, 21).size(), 18u);
  EXPECT_EQ(WiredVersionReport::Text(reply, 7), "V1.0");  // only 4 text bytes arrived
  EXPECT_EQ(WiredVersionReport::Text(reply, 3), "");
  EXPECT_EQ(WiredVersionReport::Request(1)[2], 0xAA);
  EXPECT_EQ(WiredVersionReport::Request(3)[2], 0xAA);
  EXPECT_EQ(WiredVersionReport::Request(0)[2], 0x00);
}

// Status report: AA FA, offsets 2/3 0x38 0x38 = ignore, type 8, values 9, 10.
TEST(WiredLayout, StatusReportBuildAndParse) {
  WiredStatusReport r{WiredStatusReport::kBattery, 150, 1};
  auto bytes = r.Build();
  WiredStatusReport back;
  ASSERT_TRUE(WiredStatusReport::Parse(bytes.data(), 21, &back));
  EXPECT_EQ(back.type, 0xD0);
  EXPECT_EQ(back.value1, 150);
  EXPECT_FALSE(back.ignore);
  bytes[2] = bytes[3] = 0x38;
  ASSERT_TRUE(WiredStatusReport::Parse(bytes.data(), 21, &back));
  EXPECT_TRUE(back.ignore);
  EXPECT_FALSE(WiredStatusReport::Parse(bytes.data(), 20, &back));
  bytes[1] = 0x30;
  EXPECT_FALSE(WiredStatusReport::Parse(bytes.data(), 21, &back));
}

TEST(FrameTrace, FormatsUpperCaseHexSeparatedBySpaces) {
  const uint8_t data[] = {0x00, 0x5A, 0xAF, 0x0B};
  EXPECT_EQ(FormatTraceLine("W", data, 4), "W 00 5A AF 0B");
  EXPECT_EQ(FormatTraceLine("R", data, 0), "R -");
  EXPECT_EQ(FormatTraceLine("R", data, -1), "R -");
  EXPECT_EQ(FormatTraceLine("FG", data, 1), "FG 00");
}

}  // namespace
}  // namespace tk410
