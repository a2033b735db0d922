#include "sim/virtual_wired_mouse.h"

#include <sys/stat.h>

#include <gtest/gtest.h>

#include <filesystem>

#include "device/device_manager.h"
#include "sim/state_text.h"
#include "sim/virtual_hid_bus.h"
#include "support/file_size_limit.h"
#include "support/temp_dir.h"

namespace tk410 {
namespace {

class VirtualWiredMouseTest : public ::testing::Test {
 protected:
  VirtualWiredMouseTest()
      : bus_(std::make_shared<VirtualHidBus>(clock_)),
        mouse_(std::make_shared<VirtualWiredMouse>()),
        dm_(bus_, clock_) {
    bus_->Attach(mouse_);
    dm_.SetCurrentDeviceType(101);
    dm_.AddSupported(0x1209, 0x0001, L"", 101, 0);
    dm_.EnumerateDevice();
    dm_.SetOpened(true);
  }

  WiredFrame Exchange(WiredFrame request) {
    EXPECT_TRUE(dm_.ExchangeWired(request));
    EXPECT_TRUE(request.IsReplyTo(request[WiredFrame::kCommand]));
    return request;
  }

  ManualClock clock_;
  std::shared_ptr<VirtualHidBus> bus_;
  std::shared_ptr<VirtualWiredMouse> mouse_;
  DeviceManager dm_;
};

// 0x0E reply: the 46-byte block at 8..53. Fresh blocks are erased flash:
// 0xFF everywhere except offset 8 (the profile index).
TEST_F(VirtualWiredMouseTest, SettingsWriteThenReadReturnsWhatWasWritten) {
  WiredFrame fresh = Exchange(WiredFrame::Request(kWiredSettingsRead, 0xA5, 0x2E, 2));
  EXPECT_EQ(fresh[8], 2);
  EXPECT_TRUE(WiredSettingsBlock::IsBlank(fresh.data()));
  EXPECT_FALSE(WiredSettingsBlock::HoldsNothing(fresh.data()));

  WiredSettingsBlock b;
  b.profile_index = 2;
  b.light_mode = 3;
  b.report_rate = 4;
  b.stage_count = 6;
  b.active_stage = 2;
  b.dpi = {400, 800, 1600, 3200, 6400, 12000};
  b.colour = {0xFF0000, 0x00FF00, 0x0000FF, 0xFFFF00, 0x00FFFF, 0xFF00FF};
  b.sensor_bits = 0x31;
  b.esports_flag = 1;
  WiredFrame write = WiredFrame::Request(kWiredSettingsWrite, 0xAE, 0x2E, 2);
  b.PackFrame(write.data());
  Exchange(write);

  EXPECT_EQ(mouse_->WithFirmware([](WiredFirmware& f) { return f.Settings(2); }), b.ToBytes());
  WiredFrame read = Exchange(WiredFrame::Request(kWiredSettingsRead, 0xA5, 0x2E, 2));
  WiredSettingsBlock back;
  ASSERT_TRUE(WiredSettingsBlock::UnpackFrame(read.data(), WiredFrame::kSize, &back));
  EXPECT_EQ(back.ToBytes(), b.ToBytes());
  // Other profiles stay blank.
  WiredFrame other = Exchange(WiredFrame::Request(kWiredSettingsRead, 0xA5, 0x2E, 0));
  EXPECT_TRUE(WiredSettingsBlock::IsBlank(other.data()));

  // Single-value writes change the block: 0x22 stage 3 = 0x0C80 (3200),
  // 0x23 rate, 0x21 light, value at offset 10 (DPI at 11, 12).
  WiredFrame stage = WiredFrame::Request(kWiredDpiStage, 0xAE, 0x03, 2);
  stage[10] = 3;
  stage.Set16(11, 3300);
  Exchange(stage);
  WiredFrame rate = WiredFrame::Request(kWiredReportRate, 0xAE, 0x03, 2);
  rate[10] = 1;
  Exchange(rate);
  WiredFrame light = WiredFrame::Request(kWiredLightMode, 0xA5, 0x03, 2);
  light[10] = 5;
  Exchange(light);
  read = Exchange(WiredFrame::Request(kWiredSettingsRead, 0xA5, 0x2E, 2));
  EXPECT_EQ(read[12], 3);
  EXPECT_EQ(read.Get16(17), 3300);
  EXPECT_EQ(read[10], 1);
  EXPECT_EQ(read[9], 5);
}

TEST_F(VirtualWiredMouseTest, WrongCheckByteGetsNoValidReply) {
  WiredFrame request = WiredFrame::Request(kWiredSettingsWrite, 0xAE, 0x2E, 0);
  request[9] = 7;
  request.FillCheck();
  request[WiredFrame::kCheck] ^= 0x01;
  const auto report = request.ToReport();
  HidDevice* device = dm_.ActiveHandle();
  ASSERT_NE(device, nullptr);
  ASSERT_EQ(device->Write(report.data(), report.size()), 65);
  uint8_t buffer[65];
  EXPECT_EQ(dm_.ReadReport(device, buffer, sizeof(buffer), 1000), 0);
  mouse_->WithFirmware([](WiredFirmware& f) {
    EXPECT_EQ(f.RejectedRequests(), 1);
    EXPECT_EQ(f.Settings(0)[1], 0xFF);  // not stored
    return 0;
  });
}

// Key table: slot s at offsets 8 + 4s .. 11 + 4s. The default-key form
// (offsets 5, 6 = 1, 1, length 0x20) writes slots 0..7 only.
TEST_F(VirtualWiredMouseTest, KeyTablesPerProfile) {
  WiredFrame read = Exchange(WiredFrame::Request(kWiredKeyRead, 0xA5, 0x2C, 5));
  EXPECT_EQ(read[WiredKeyTable::SlotOffset(10)], 0x21);
  EXPECT_EQ(read[WiredKeyTable::SlotOffset(10) + 1], 0x62);

  WiredFrame write = WiredFrame::Request(kWiredKeyWrite, 0xA5, 0x2C, 4);
  for (size_t i = 0; i < WiredKeyTable::kSize; ++i) write[8 + i] = static_cast<uint8_t>(i + 1);
  Exchange(write);
  read = Exchange(WiredFrame::Request(kWiredKeyRead, 0xA5, 0x2C, 4));
  EXPECT_EQ(read[8], 1);
  EXPECT_EQ(read[51], 44);

  WiredFrame defaults = WiredFrame::Request(kWiredKeyWrite, 0xA5, 0x20, 4);
  defaults[5] = 1;
  defaults[6] = 1;
  for (int s = 0; s < WiredKeyTable::kDefaultFormSlots; ++s) {
    const auto& code = WiredKeyTable::DefaultCodes()[s];
    std::copy(code.begin(), code.end(), defaults.bytes.begin() + WiredKeyTable::SlotOffset(s));
  }
  Exchange(defaults);
  read = Exchange(WiredFrame::Request(kWiredKeyRead, 0xA5, 0x2C, 4));
  EXPECT_EQ(read[8], 0x20);
  EXPECT_EQ(read[39], 0x00);                           // slot 7 default
  EXPECT_EQ(read[WiredKeyTable::SlotOffset(8)], 33);  // slot 8 kept
  // Profile index 6 does not exist.
  WiredFrame bad = WiredFrame::Request(kWiredKeyRead, 0xA5, 0x2C, 6);
  EXPECT_FALSE(dm_.ExchangeWired(bad));
}

// 0x0D: length at 4, image offset at 5..6 LE, data at 8..63; 0x10 ends.
TEST_F(VirtualWiredMouseTest, MacroChunksAssembleIntoTheImageOnEnd) {
  std::vector<uint8_t> image(72, 0);
  image[0] = 64;
  const uint8_t entries[] = {0x0A, 0x00, 0x42, 0x04, 0x00, 0x00, 0x82, 0x04};
  std::copy(std::begin(entries), std::end(entries), image.begin() + 64);
  for (size_t offset = 0; offset < image.size(); offset += WiredMacroImage::kChunkSize) {
    const size_t n = std::min(WiredMacroImage::kChunkSize, image.size() - offset);
    WiredFrame chunk = WiredFrame::Request(kWiredMacroChunk, 0x00, static_cast<uint8_t>(n), 0);
    chunk.Set16(WiredFrame::kOffsetLow, static_cast<uint16_t>(offset));
    std::copy(image.begin() + offset, image.begin() + offset + n, chunk.bytes.begin() + 8);
    Exchange(chunk);
  }
  EXPECT_EQ(mouse_->WithFirmware([](WiredFirmware& f) { return f.MacroLength(); }), 0u);
  Exchange(WiredFrame::Request(kWiredMacroEnd, 0xA5, 0x00, 0));
  mouse_->WithFirmware([&](WiredFirmware& f) {
    EXPECT_EQ(f.MacroLength(), 72u);
    EXPECT_TRUE(std::equal(image.begin(), image.end(), f.Macros().begin()));
    return 0;
  });
  // A chunk pointing past the image is cut to what fits.
  WiredFrame far = WiredFrame::Request(kWiredMacroChunk, 0x00, 56, 0);
  far.Set16(WiredFrame::kOffsetLow, 4200);
  far[8] = 0x77;
  Exchange(far);
  Exchange(WiredFrame::Request(kWiredMacroEnd, 0xA5, 0x00, 0));
  mouse_->WithFirmware([](WiredFirmware& f) {
    EXPECT_EQ(f.MacroLength(), WiredMacroImage::kSize);
    EXPECT_EQ(f.Macros()[4200], 0x77);
    EXPECT_EQ(f.Macros()[0], 0);  // a new download starts from a clear image
    return 0;
  });
}

// 0x30: level at 8, state at 9. 0x03: ASCII digits at 23..25.
TEST_F(VirtualWiredMouseTest, BatteryAndFirmwareVersion) {
  mouse_->WithFirmware([](WiredFirmware& f) {
    f.SetBattery(64, 2);
    f.SetFirmwareDigits("1A9");
    return 0;
  });
  WiredFrame battery = Exchange(WiredFrame::Request(kWiredBattery, 0xA5, 0x2E, 0));
  EXPECT_EQ(battery[8], 64);
  EXPECT_EQ(battery[9], 2);
  WiredFrame firmware = Exchange(WiredFrame::Request(kWiredFirmwareVersion, 0x00, 0x00, 0));
  EXPECT_EQ(firmware[23], '1');
  EXPECT_EQ(firmware[24], 'A');
  EXPECT_EQ(firmware[25], '9');
}

// Status report: AA FA, type at 8, values at 9 and 10.
TEST_F(VirtualWiredMouseTest, StatusReportsReachTheReader) {
  mouse_->RaiseStageAndRate(4, 2);
  mouse_->RaiseLighting(9);
  mouse_->RaiseEmoji(7, true);
  mouse_->RaiseBattery(150, 1);
  const uint8_t types[] = {0x10, 0x11, 0x60, 0xD0};
  for (uint8_t type : types) {
    uint8_t buffer[65] = {};
    ASSERT_EQ(dm_.ReadReport(dm_.ActiveHandle(), buffer, WiredStatusReport::kReadLength, 1000), 21);
    WiredStatusReport r;
    ASSERT_TRUE(WiredStatusReport::Parse(buffer, 21, &r));
    EXPECT_EQ(r.type, type);
  }
  WiredFrame read = Exchange(WiredFrame::Request(kWiredSettingsRead, 0xA5, 0x2E, 0));
  EXPECT_EQ(read[12], 4);  // the device's own stage change is in its block
  EXPECT_EQ(read[10], 2);
}

TEST_F(VirtualWiredMouseTest, StateSurvivesSaveAndLoad) {
  WiredFrame write = WiredFrame::Request(kWiredSettingsWrite, 0xAE, 0x2E, 1);
  write[9] = 4;
  write.Set16(13, 1600);
  Exchange(write);
  mouse_->WithFirmware([](WiredFirmware& f) {
    f.SetBattery(33, 1);
    f.SetVersionText("V9.9", "");
    return 0;
  });
  testing::TempDir dir;
  const std::string path = (dir.path() / "mouse.state").string();
  ASSERT_TRUE(mouse_->WithFirmware([&](WiredFirmware& f) { return f.SaveToFile(path); }));

  WiredFirmware later;
  ASSERT_TRUE(later.LoadFromFile(path));
  EXPECT_EQ(later.Settings(1), mouse_->WithFirmware([](WiredFirmware& f) { return f.Settings(1); }));
  EXPECT_EQ(later.BatteryLevel(), 33);
  EXPECT_EQ(later.Save(), mouse_->WithFirmware([](WiredFirmware& f) { return f.Save(); }));

  // Malformed files leave the state alone.
  const std::string good = later.Save();
  for (const std::string& bad :
       {std::string("not a mouse\n"), good + "settings 9 00\n", good + "keys 0 XYZ\n",
        good + "battery 300 0\n", good + "unknown\n"}) {
    EXPECT_FALSE(later.Load(bad));
    EXPECT_EQ(later.Save(), good);
  }
  EXPECT_FALSE(later.LoadFromFile((dir.path() / "missing").string()));

  // A save that fails half way (the disk is full) leaves the last state whole.
  {
    testing::ScopedFileSizeLimit limit(good.size() / 2);
    ASSERT_TRUE(limit.ok());
    EXPECT_FALSE(later.SaveToFile(path));
  }
  WiredFirmware again;
  EXPECT_TRUE(again.LoadFromFile(path));
  EXPECT_EQ(again.Save(), good);
}

// A state file edited by hand may hold lines of blanks; they are passed
// over like empty lines, whatever blanks they hold.
TEST(VirtualMouseStateFile, LinesOfBlanksArePassedOver) {
  WiredFirmware firmware;
  firmware.SetBattery(42, 1);
  const std::string saved = firmware.Save();
  const size_t header_end = saved.find('\n') + 1;
  for (const std::string blanks : {" ", "\t", "  \t \r", "\v\f"}) {
    const std::string text = saved.substr(0, header_end) + blanks + "\n" + saved.substr(header_end) + blanks;
    WiredFirmware loaded;
    EXPECT_TRUE(loaded.Load(text)) << ::testing::PrintToString(blanks);
    EXPECT_EQ(loaded.Save(), saved);
  }
}

// A state file that is a named pipe or a link to an endless device is
// refused at once, like a missing one; the firmware keeps its state.
TEST(VirtualMouseStateFile, PipesAndDevicesAreRefused) {
  testing::TempDir dir;
  const std::string fifo = (dir.path() / "pipe.state").string();
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  const std::string zero = (dir.path() / "zero.state").string();
  std::filesystem::create_symlink("/dev/zero", zero);
  WiredFirmware firmware;
  const std::string before = firmware.Save();
  for (const std::string& path : {fifo, zero}) {
    std::string text = "old";
    EXPECT_FALSE(sim_state::ReadFile(path, &text)) << path;
    EXPECT_FALSE(firmware.LoadFromFile(path)) << path;
    EXPECT_EQ(firmware.Save(), before);
  }
}

// With the system clock the bus waits in real time; a reply that is already
// there is returned at once.
TEST(VirtualHidBusRealTime, ReplyAvailableAtOnce) {
  auto bus = std::make_shared<VirtualHidBus>(SystemClockInstance());
  auto mouse = std::make_shared<VirtualWiredMouse>();
  bus->Attach(mouse);
  DeviceManager dm(bus, SystemClockInstance());
  dm.SetCurrentDeviceType(101);
  dm.AddSupported(0x1209, 0x0001, L"", 101, 0);
  dm.EnumerateDevice();
  dm.SetOpened(true);
  WiredFrame f = WiredFrame::Request(kWiredBattery, 0xA5, 0x2E, 0);
  EXPECT_TRUE(dm.ExchangeWired(f));
  EXPECT_TRUE(f.IsReplyTo(kWiredBattery));
}

}  // namespace
}  // namespace tk410
