#include <gtest/gtest.h>

#include <filesystem>

#include "base/clock.h"
#include "device/device_manager.h"
#include "device/nordic_layout.h"
#include "sim/virtual_hid_bus.h"
#include "sim/virtual_nordic_device.h"
#include "support/temp_dir.h"

namespace tk410 {
namespace {

// The firmware takes the 64 bytes after the report number: payload 0..62
// and the check byte 0xA1 - sum; anything else is refused without a reply.
TEST(NordicFirmware, RefusesABrokenCheckByte) {
  NordicFirmware fw;
  NordicFrame request = nordic::Request(0, nordic::kCmdCommit, 0x81, 0x01);
  request[63] = NordicFrame::CheckByte(request.data());
  ASSERT_TRUE(fw.Handle(request.data(), 64).has_value());
  request[63] ^= 0x01;
  EXPECT_FALSE(fw.Handle(request.data(), 64).has_value());
  EXPECT_FALSE(fw.Handle(request.data(), 63).has_value());
  EXPECT_EQ(fw.Commits(), 1);
  EXPECT_EQ(fw.RejectedRequests(), 2);
}

// Macro chunks: 07, chunk, 0x80 | (n + 2), 02, slot, data; assembled per
// slot; a chunk reaching past 1024 bytes is refused and counted.
TEST(NordicFirmware, AssemblesMacroChunksPerSlot) {
  NordicFirmware fw;
  auto send = [&](uint8_t chunk, uint8_t code, uint8_t slot, uint8_t fill) {
    NordicFrame f = nordic::Request(1, nordic::kCmdMacro, code, 0x02, {slot});
    f[1] = chunk;
    for (size_t i = 5; i < 63; ++i) f[i] = fill;
    f[63] = NordicFrame::CheckByte(f.data());
    fw.Handle(f.data(), 64);
  };
  send(0, 0xBC, 2, 0x11);
  send(1, 0x84, 2, 0x22);
  send(0, 0x86, 5, 0x33);
  EXPECT_EQ(fw.Macros().at(2).received, 60u);
  EXPECT_EQ(fw.Macros().at(2).bytes[57], 0x11);
  EXPECT_EQ(fw.Macros().at(2).bytes[58], 0x22);
  EXPECT_EQ(fw.Macros().at(2).bytes[60], 0x00);
  EXPECT_EQ(fw.Macros().at(5).received, 4u);
  send(17, 0xBC, 2, 0x44);  // 986 + 58 > 1024
  EXPECT_EQ(fw.OversizeChunks(), 1);
}

TEST(VirtualNordicDevice, StateSurvivesSaveAndLoad) {
  testing::TempDir dir;
  const std::string path = (dir.path() / "nordic.state").string();
  VirtualNordicDevice a(VirtualNordicDevice::Receiver(3));
  a.SetLinked(false, true);
  a.WithFirmware([](NordicFirmware& f) {
    f.SetBattery(12, 1);
    f.SetReportRate(4);
    NordicFrame m = nordic::Request(1, nordic::kCmdMacro, 0x86, 0x02, {3, 0x01, 0x02});
    m[63] = NordicFrame::CheckByte(m.data());
    f.Handle(m.data(), 64);
    return 0;
  });
  ASSERT_TRUE(a.SaveToFile(path));
  VirtualNordicDevice b(VirtualNordicDevice::Receiver(3));
  ASSERT_TRUE(b.LoadFromFile(path));
  EXPECT_FALSE(b.Linked());
  const NordicFirmware fw = b.WithFirmware([](NordicFirmware& f) { return f; });
  EXPECT_EQ(fw.Status().battery_a, 12);
  EXPECT_EQ(fw.Status().report_rate, 4);
  EXPECT_EQ(fw.Macros().at(3).bytes[1], 0x02);
  EXPECT_EQ(fw.Save(), a.WithFirmware([](NordicFirmware& f) { return f.Save(); }));

  std::filesystem::resize_file(path, 20);
  EXPECT_FALSE(b.LoadFromFile(path));
  EXPECT_TRUE(b.WithFirmware([](NordicFirmware& f) { return f.Status().battery_a == 12; }));
}

// On the bus: a receiver answers its own link query (target 0) and passes
// target 1 to the mouse only while it is linked; the collection is the
// Nordic vendor one, 0xFF0A / 0x01.
TEST(VirtualNordicDevice, ReceiverAnswersForItselfAndTheLinkedMouse) {
  ManualClock clock;
  auto bus = std::make_shared<VirtualHidBus>(clock);
  auto receiver = std::make_shared<VirtualNordicDevice>(VirtualNordicDevice::Receiver(1));
  bus->Attach(receiver);
  bool vendor = false;
  for (const auto& c : bus->Enumerate()) vendor |= c.usage_page == 0xFF0A && c.usage == 0x01;
  EXPECT_TRUE(vendor);

  DeviceManager devices(bus, clock);
  devices.SetCurrentDeviceType(201);
  devices.AddSupported(0x1209, 0x0004, L"", 201, 1);
  devices.EnumerateDevice();
  devices.SetOpened(true);
  NordicFrame link = nordic::Request(0, nordic::kCmdStatus, 0x81, 0x01);
  ASSERT_TRUE(devices.ExchangeNordic(link));
  EXPECT_EQ(link[2], 0x8C);
  EXPECT_EQ(link[4] & 0x08, 0x08);

  receiver->SetLinked(false, true);
  NordicFrame behind = nordic::Request(1, nordic::kCmdSettings, 0x81, 0x01);
  EXPECT_FALSE(devices.ExchangeNordic(behind));
  link = nordic::Request(0, nordic::kCmdStatus, 0x81, 0x01);
  ASSERT_TRUE(devices.ExchangeNordic(link));
  EXPECT_EQ(link[4] & 0x08, 0);

  // A short reply is no reply.
  receiver->SetLinked(true, true);
  receiver->SetFault(NordicFault::kShortReply, 1);
  behind = nordic::Request(1, nordic::kCmdSettings, 0x81, 0x01);
  EXPECT_FALSE(devices.ExchangeNordic(behind));
  EXPECT_TRUE(devices.ExchangeNordic(behind));
  EXPECT_EQ(behind[2], 0xBB);
}

}  // namespace
}  // namespace tk410
