#include <gtest/gtest.h>

#include "assign/button_function.h"
#include "macro/macro_steps.h"
#include "nordic_rig.h"

namespace tk410 {
namespace {

using Bytes = std::vector<uint8_t>;

Bytes Head(const Bytes& request, size_t n = 5) { return Bytes(request.begin(), request.begin() + n); }

// A mouse on a cable (mode 0): no link query, target 0 in every request
// (byte 0 = command), status -> battery/profile/stage/rate, key table and
// settings stored into the current profile.
TEST(NordicCommands, DirectMouseReadsEverythingWithTargetZero) {
  NordicRig rig;
  rig.Device().WithFirmware([](NordicFirmware& f) {
    f.SetBattery(64, 1);
    f.SetActiveStage(3);
    f.SetHighestRate(4);
    return 0;
  });
  EXPECT_TRUE(rig.Protocol().ReadNordicAll());

  const auto requests = rig.Requests();
  ASSERT_EQ(requests.size(), 3u);
  EXPECT_EQ(Head(requests[0], 4), (Bytes{0x01, 0x00, 0x81, 0x01}));
  EXPECT_EQ(Head(requests[1], 4), (Bytes{0x03, 0x00, 0x81, 0x01}));
  EXPECT_EQ(Head(requests[2], 4), (Bytes{0x04, 0x00, 0x81, 0x01}));
  EXPECT_EQ(rig.State().target, 0);
  EXPECT_EQ(rig.Battery().GetBatteryLevel(), 64);
  EXPECT_EQ(rig.Battery().GetBatteryState(), 1);
  EXPECT_EQ(rig.Window().highest_rate_index.load(), 4);
  EXPECT_TRUE(rig.State().KeyTableValid());
  EXPECT_TRUE(rig.State().SettingsValid());
  // The mouse's default block: sensor 20, rate 2, stage 3, DPI 800.. 6400.
  EXPECT_EQ(rig.Config(L"sensor_flag"), L"20");
  EXPECT_EQ(rig.Config(L"scroll_flag"), L"1");
  EXPECT_EQ(rig.Config(L"report_rate"), L"2");
  EXPECT_EQ(rig.Config(L"dpi_flag"), L"31");
  EXPECT_EQ(rig.Config(L"dpi_index"), L"3");
  EXPECT_EQ(rig.Config(L"dpi_group0_value"), L"800");
  EXPECT_EQ(rig.Config(L"dpi_group5_value"), L"6400");
  EXPECT_EQ(rig.Config(L"liftoff_height"), L"1");
  EXPECT_EQ(rig.Config(L"button_respondtime"), L"4");
  // Default functions: slot 1 right click, slot 7 (key_code 8) DPI cycle.
  EXPECT_EQ(rig.Key(2).macro_type, kKindRightClick);
  EXPECT_EQ(rig.Key(2).macro_desc, L"107");
  EXPECT_EQ(rig.Key(8).macro_type, kKindDpiCycle);
  EXPECT_EQ(rig.Key(9).macro_type, kKindScrollUp);
}

// Receiver with a linked mouse: the link query 01 00 81 01 first, every
// later request 0x40 + command; labels and tabs show the link.
TEST(NordicCommands, ReceiverTargetsTheMouseBehindIt) {
  NordicRig rig(VirtualNordicDevice::Receiver(3));
  ASSERT_EQ(rig.Devices().ActiveMode(), 3);
  rig.Tabs().SetEnabled(false);
  EXPECT_TRUE(rig.Protocol().ReadNordicAll());
  const auto requests = rig.Requests();
  ASSERT_EQ(requests.size(), 4u);
  EXPECT_EQ(Head(requests[0], 4), (Bytes{0x01, 0x00, 0x81, 0x01}));
  EXPECT_EQ(requests[1][0], 0x41);
  EXPECT_EQ(requests[2][0], 0x43);
  EXPECT_EQ(requests[3][0], 0x44);
  EXPECT_EQ(rig.State().target, 1);
  EXPECT_TRUE(rig.State().linked);
  EXPECT_TRUE(rig.Tabs().IsEnabled());
  EXPECT_EQ(rig.Title(ctl::kDeviceState), L"linked");
  EXPECT_TRUE(rig.Window().connected.load());
  EXPECT_EQ(rig.Config(L"dpi_group1_value"), L"1600");
}

// A receiver that says no mouse is linked: one request, tab 0 (the home
// page, counted as shown) and disabled, text 53, connected clear, nothing
// stored.
TEST(NordicCommands, UnlinkedReceiverStopsAfterTheLinkQuery) {
  NordicRig rig(VirtualNordicDevice::Receiver(1));
  rig.Device().SetLinked(false, true);  // dropped after the scan, no report
  rig.SetConfig(L"dpi_group0_value", L"1234");
  rig.Window().connected.store(true);
  EXPECT_FALSE(rig.Protocol().ReadNordicAll());
  ASSERT_EQ(rig.Requests().size(), 1u);
  EXPECT_EQ(rig.Tabs().GetSelectItem(), 0);
  EXPECT_EQ(rig.Window().current_page.load(), 1);
  EXPECT_FALSE(rig.Tabs().IsEnabled());
  EXPECT_EQ(rig.Title(ctl::kDeviceState), L"not linked");
  EXPECT_FALSE(rig.Window().connected.load());
  EXPECT_EQ(rig.Config(L"dpi_group0_value"), L"1234");
  EXPECT_FALSE(rig.State().SettingsValid());
}

// Every request expecting a code is sent twice at most, 100 ms apart; the
// operation then goes on.
TEST(NordicCommands, RetryOnceThenGoOn) {
  NordicRig rig;
  rig.Device().SetFault(NordicFault::kNoReply, 1);
  rig.Clock().ClearSleeps();
  EXPECT_TRUE(rig.Protocol().ReadNordicAll());
  auto requests = rig.Requests();
  ASSERT_EQ(requests.size(), 4u);
  EXPECT_EQ(requests[0], requests[1]);
  const auto sleeps = rig.Clock().Sleeps();
  EXPECT_NE(std::find(sleeps.begin(), sleeps.end(), 100u), sleeps.end());

  // A reply with another code counts as a failure too; all-failing requests
  // are sent exactly twice each.
  rig.ClearRequests();
  rig.Device().SetFault(NordicFault::kWrongCode, -1);
  EXPECT_TRUE(rig.Protocol().ReadNordicAll());
  EXPECT_EQ(rig.Requests().size(), 6u);
  EXPECT_FALSE(rig.State().SettingsValid());
  EXPECT_FALSE(rig.Protocol().CommitNordic());
  rig.Device().SetFault(NordicFault::kNone, 0);
  EXPECT_TRUE(rig.Protocol().CommitNordic());
  EXPECT_EQ(rig.Firmware().Commits(), 2);  // the first one was carried out, its reply spoiled
}

// Settings write: T*64+4, 00, BB, 02, then block bytes 4..62 from the last
// read, managed bytes replaced: DPI 12000 -> E0 2E E0 2E, byte 6 0x1F.
TEST(NordicCommands, SettingsWriteKeepsTheDevicesOwnBytes) {
  NordicRig rig(VirtualNordicDevice::Receiver(1));
  NordicProtocol protocol = rig.Protocol();
  ASSERT_TRUE(protocol.ReadNordicAll());
  rig.SetConfig(L"dpi_group0_value", L"12000");
  rig.SetConfig(L"dpi_flag", L"3");
  rig.SetConfig(L"sensor_flag", L"53");
  rig.SetConfig(L"scroll_flag", L"2");
  rig.SetConfig(L"e-sports_flag", L"x");  // not a number: 0
  rig.SetConfig(L"liftoff_height", L"2");
  rig.SetConfig(L"button_respondtime", L"7");
  rig.ClearRequests();
  protocol.WriteNordicSettings();

  const auto requests = rig.Requests();
  ASSERT_EQ(requests.size(), 1u);
  const Bytes& w = requests[0];
  EXPECT_EQ(Head(w, 12), (Bytes{0x44, 0x00, 0xBB, 0x02, 0xB0, 0x02, 0x1F, 0x01, 0xE0, 0x2E, 0xE0, 0x2E}));
  const auto block = rig.Firmware().Settings(0);
  const auto original = NordicFirmware::DefaultSettings(0);
  for (size_t i = 4; i < 63; ++i) {
    if (NordicFirmware::IsDeviceOwned(i)) {
      EXPECT_EQ(block[i], original[i]) << i;
    }
  }
  EXPECT_EQ(block[50], 2);
  EXPECT_EQ(block[61], 7);

  // Read back: only sensor bits 2, 3 and 4 travel.
  ASSERT_TRUE(protocol.ReadNordicAll());
  EXPECT_EQ(rig.Config(L"sensor_flag"), L"20");
  EXPECT_EQ(rig.Config(L"dpi_group0_value"), L"12000");
  EXPECT_EQ(rig.Config(L"dpi_flag"), L"31");
}

// Without a copy the write reads the block first (then waits 100 ms); when
// that read fails too the device's bytes go out as 0.
TEST(NordicCommands, SettingsWriteWithoutCopy) {
  NordicRig rig;
  rig.Protocol().WriteNordicSettings();
  auto requests = rig.Requests();
  ASSERT_EQ(requests.size(), 2u);
  EXPECT_EQ(Head(requests[0], 4), (Bytes{0x04, 0x00, 0x81, 0x01}));
  EXPECT_EQ(requests[1][32], NordicFirmware::DefaultSettings(0)[32]);

  NordicRig failing;
  failing.Device().SetFault(NordicFault::kNoReply, 1);
  failing.Protocol().WriteNordicSettings();
  requests = failing.Requests();
  ASSERT_EQ(requests.size(), 2u);
  EXPECT_EQ(requests[1][2], 0xBB);
  EXPECT_EQ(requests[1][32], 0);
  EXPECT_EQ(failing.Firmware().Settings(0)[32], 0);
}

// Report rate alone: 04 00 82 04 rate; profile: 02 00 82 01 profile-1;
// commit: 0A 00 81 01.
TEST(NordicCommands, ReportRateProfileAndCommitRequests) {
  NordicRig rig;
  rig.SetConfig(L"report_rate", L"5");
  rig.Protocol().WriteNordicReportRate();
  rig.Window().current_profile.store(3);
  rig.Protocol().SelectNordicProfile();
  EXPECT_TRUE(rig.Protocol().CommitNordic());
  const auto requests = rig.Requests();
  ASSERT_EQ(requests.size(), 3u);
  EXPECT_EQ(Head(requests[0]), (Bytes{0x04, 0x00, 0x82, 0x04, 0x05}));
  EXPECT_EQ(Head(requests[1]), (Bytes{0x02, 0x00, 0x82, 0x01, 0x02}));
  EXPECT_EQ(Head(requests[2], 4), (Bytes{0x0A, 0x00, 0x81, 0x01}));
  const auto fw = rig.Firmware();
  EXPECT_EQ(fw.ActiveProfile(), 2);
  EXPECT_EQ(fw.Settings(0)[5], 5);
}

// Restores: 09 00 82 02 FF (buttons, then 1000 ms), 09 00 82 04 FF
// (lighting, then 1000 ms), 09 00 82 02 key_code, factory 09 00 82 FF
// (then 1500 ms); each clears the copies it makes stale.
TEST(NordicCommands, RestoresAndFactoryReset) {
  NordicRig rig;
  NordicProtocol protocol = rig.Protocol();
  ASSERT_TRUE(protocol.ReadNordicAll());
  rig.Window().reset_selector.store(NordicState::kResetButtons | NordicState::kResetLighting);
  rig.Window().selected_button.store(4);
  rig.ClearRequests();
  rig.Clock().ClearSleeps();
  EXPECT_TRUE(protocol.RestoreNordicDefaults());
  EXPECT_FALSE(rig.State().KeyTableValid());
  EXPECT_TRUE(rig.State().SettingsValid());
  EXPECT_EQ(rig.Window().selected_button.load(), 0);
  rig.Window().selected_button.store(6);
  protocol.RestoreNordicButton();
  EXPECT_TRUE(protocol.FactoryResetNordic());
  EXPECT_FALSE(rig.State().SettingsValid());

  const auto requests = rig.Requests();
  ASSERT_EQ(requests.size(), 4u);
  EXPECT_EQ(Head(requests[0]), (Bytes{0x09, 0x00, 0x82, 0x02, 0xFF}));
  EXPECT_EQ(Head(requests[1]), (Bytes{0x09, 0x00, 0x82, 0x04, 0xFF}));
  EXPECT_EQ(Head(requests[2]), (Bytes{0x09, 0x00, 0x82, 0x02, 0x06}));
  EXPECT_EQ(Head(requests[3], 4), (Bytes{0x09, 0x00, 0x82, 0xFF}));
  auto sleeps = rig.Clock().Sleeps();
  sleeps.erase(std::remove(sleeps.begin(), sleeps.end(), 16u), sleeps.end());
  EXPECT_EQ(sleeps, (std::vector<uint32_t>{1000, 1000, 1500}));
  EXPECT_EQ(rig.Firmware().RestoreRequests(), 4);
}

// Version query: 00 00 81 00 (device) or 40 00 81 00 (mouse behind); a
// receiver shows the mouse in label A, itself in label B.
TEST(NordicCommands, VersionLabels) {
  NordicRig receiver(VirtualNordicDevice::Receiver(1));
  receiver.Device().SetReceiverVersion(0x02, 0x01);
  receiver.Protocol().ShowNordicVersions();
  EXPECT_EQ(receiver.Title(ctl::kVersionLabelA), L"1.0.5");
  EXPECT_EQ(receiver.Title(ctl::kVersionLabelB), L"2.0.1");
  const auto requests = receiver.Requests();
  ASSERT_EQ(requests.size(), 2u);
  EXPECT_EQ(Head(requests[0], 4), (Bytes{0x40, 0x00, 0x81, 0x00}));
  EXPECT_EQ(Head(requests[1], 4), (Bytes{0x00, 0x00, 0x81, 0x00}));

  NordicRig direct;
  direct.Device().WithFirmware([](NordicFirmware& f) {
    f.SetVersion(0x03, 0x10);
    f.SetSecondVersion(0x01, 0x02);
    return 0;
  });
  direct.Protocol().ShowNordicVersions();
  EXPECT_EQ(direct.Title(ctl::kVersionLabelA), L"3.1.0\n1.0.2");
  EXPECT_EQ(direct.Title(ctl::kVersionLabelB), L"0.0.0");

  // No answer at all: two requests, "0.0.0".
  direct.ClearRequests();
  direct.Device().SetFault(NordicFault::kNoReply, -1);
  std::wstring text = L"x";
  direct.Devices().ReadNordicVersion(&text, 0);
  EXPECT_EQ(text, L"0.0.0");
  EXPECT_EQ(direct.Requests().size(), 2u);
}

// The scan's link probe really asks the receiver (it runs while opened is
// clear): an unlinked mouse leaves the receiver record offline.
TEST(NordicCommands, ScanProbesTheReceiverLink) {
  NordicRig rig(VirtualNordicDevice::Receiver(1), false);
  EXPECT_EQ(rig.Devices().ActiveMode(), -1);
  rig.Device().SetLinked(true, true);
  rig.Rescan();
  EXPECT_EQ(rig.Devices().ActiveMode(), 1);
}

}  // namespace
}  // namespace tk410
