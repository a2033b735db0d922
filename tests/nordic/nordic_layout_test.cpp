#include <gtest/gtest.h>

#include "device/nordic_layout.h"

namespace tk410 {
namespace {

// Settings block byte 4: bit 0 sensor 8, bit 4 sensor 4, bit 5 sensor 16,
// bit 6 e-sports 2, bit 7 scroll 2. 0xF1 = all of them.
TEST(NordicSettingsBlock, FlagByteReadsAndWritesOnlyTheThreeSensorBits) {
  NordicFrame block;
  block[4] = 0xF1;
  NordicSettingsBlock s;
  ASSERT_TRUE(NordicSettingsBlock::Unpack(block.data(), NordicFrame::kSize, &s));
  EXPECT_EQ(s.sensor_flag, 28);
  EXPECT_EQ(s.scroll_flag, 2);
  EXPECT_EQ(s.esports_flag, 2);

  // The default sensor_flag 53 (0x35): bits 2 and 4 travel, bit 0 and 5 do not.
  EXPECT_EQ(NordicSettingsBlock::EncodeFlags(53, 1, 1), 0x30);
  EXPECT_EQ(NordicSettingsBlock::EncodeFlags(53, 2, 2), 0xF0);
  NordicFrame written;
  written[4] = NordicSettingsBlock::EncodeFlags(53, 1, 1);
  ASSERT_TRUE(NordicSettingsBlock::Unpack(written.data(), NordicFrame::kSize, &s));
  EXPECT_EQ(s.sensor_flag, 20);
  EXPECT_EQ(s.scroll_flag, 1);
  EXPECT_EQ(s.esports_flag, 1);
}

// Bytes 4..31, 50 and 61 are managed: 5 rate, 6 always 0x1F, 7 stage, 8..31
// DPI twice per stage (little-endian); everything else stays as it was.
TEST(NordicSettingsBlock, PackWritesManagedBytesOverTheDevicesOwn) {
  std::array<uint8_t, 64> block;
  for (size_t i = 0; i < block.size(); ++i) block[i] = static_cast<uint8_t>(0x80 + i);
  const auto before = block;
  NordicSettingsBlock s;
  s.sensor_flag = 4;
  s.report_rate = 3;
  s.dpi_flag = 7;
  s.dpi_index = 2;
  s.dpi = {12000, 400, 800, 1600, 3200, 26000};
  s.liftoff_height = 2;
  s.button_respondtime = 9;
  s.PackInto(block.data());

  EXPECT_EQ(block[4], 0x10);
  EXPECT_EQ(block[5], 3);
  EXPECT_EQ(block[6], 0x1F);
  EXPECT_EQ(block[7], 2);
  EXPECT_EQ((std::vector<uint8_t>(block.begin() + 8, block.begin() + 12)),
            (std::vector<uint8_t>{0xE0, 0x2E, 0xE0, 0x2E}));
  EXPECT_EQ((std::vector<uint8_t>(block.begin() + 28, block.begin() + 32)),
            (std::vector<uint8_t>{0x90, 0x65, 0x90, 0x65}));
  EXPECT_EQ(block[50], 2);
  EXPECT_EQ(block[61], 9);
  for (size_t i : {0, 1, 2, 3, 32, 40, 49, 51, 60, 62, 63}) EXPECT_EQ(block[i], before[i]) << i;

  NordicSettingsBlock back;
  ASSERT_TRUE(NordicSettingsBlock::Unpack(block.data(), block.size(), &back));
  EXPECT_EQ(back.dpi, s.dpi);
  EXPECT_EQ(back.dpi_flag, 0x1F);
  EXPECT_FALSE(NordicSettingsBlock::Unpack(block.data(), 63, &back));
}

// Status block: 4 link bit 3, 5 battery B, 6 battery A, 7 profile, 8 stage,
// 9 rate, 10 highest rate.
TEST(NordicStatusBlock, BuildAndParseAgree) {
  NordicStatusBlock s{true, 2, 77, 3, 4, 5, 6};
  const NordicFrame f = s.Build(0x41);
  EXPECT_EQ((std::vector<uint8_t>(f.bytes.begin(), f.bytes.begin() + 11)),
            (std::vector<uint8_t>{0x41, 0, 0x8C, 0x01, 0x08, 2, 77, 3, 4, 5, 6}));
  NordicStatusBlock back;
  ASSERT_TRUE(NordicStatusBlock::Parse(f.bytes.data(), 64, &back));
  EXPECT_TRUE(back.linked);
  EXPECT_EQ(back.battery_a, 77);
  EXPECT_EQ(back.highest_rate, 6);
  EXPECT_FALSE(NordicStatusBlock::Parse(f.bytes.data(), 10, &back));
}

TEST(NordicKeyTable, SlotOfKeyCode) {
  const std::pair<int, int> cases[] = {{0, -1}, {-3, -1}, {1, 0}, {5, 4}, {6, 8}, {7, 9}, {8, 7},
                                       {9, 8},  {10, 9},  {11, 10}, {15, 14}, {16, -1}};
  for (auto [key_code, slot] : cases) EXPECT_EQ(NordicKeyTable::SlotOfKeyCode(key_code), slot) << key_code;
}

// Version reply: bytes 9 and 8 as "%x%02x", characters joined by dots; a
// second line from bytes 21 and 20 when any of 16..19 is set.
TEST(NordicVersionReply, DottedTextAndSecondLine) {
  NordicFrame reply;
  reply[9] = 0x01;
  reply[8] = 0x05;
  EXPECT_EQ(NordicVersionReply::Text(reply), L"1.0.5");
  reply[9] = 0x1A;
  reply[8] = 0x2B;
  EXPECT_EQ(NordicVersionReply::Text(reply), L"1.a.2.b");
  reply[18] = 1;
  reply[21] = 0x02;
  reply[20] = 0x00;
  EXPECT_EQ(NordicVersionReply::Text(reply), L"1.a.2.b\n2.0.0");
}

// Wire form: report 00, payload 0..62, check 0xA1 - sum; the firmware sees
// 64 bytes summing to 0xA1.
TEST(NordicFrame, CheckByteClosesTheReport) {
  NordicFrame f = nordic::Request(1, nordic::kCmdStatus, 0x81, 0x01);
  EXPECT_EQ(f[0], 0x41);
  const auto report = f.ToReport();
  EXPECT_EQ(report[0], 0);
  EXPECT_EQ(report[64], static_cast<uint8_t>(0xA1 - (0x41 + 0x81 + 0x01)));
  EXPECT_TRUE(NordicFrame::VerifyReceived(report.data() + 1, 64));
  auto broken = report;
  broken[10] ^= 1;
  EXPECT_FALSE(NordicFrame::VerifyReceived(broken.data() + 1, 64));
}

}  // namespace
}  // namespace tk410
