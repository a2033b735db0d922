#include <gtest/gtest.h>

#include "nordic_rig.h"

namespace tk410 {
namespace {

// Reports: byte 0 source (01 the receiver or a mouse on a cable, 41 the
// mouse behind a receiver), 2 = 8C, 4 bit 3 link, 5 battery B, 6 battery A
// (0: no data), 8 DPI stage, 9 report-rate code.

// Without force a report is read at most every 200 ms.
TEST(NordicStatus, IdlePollReadsAtMostEvery200Ms) {
  NordicRig rig;
  NordicProtocol protocol = rig.Protocol();
  rig.Device().PressDpiButton(2);
  protocol.PollNordicStatus(false);
  EXPECT_EQ(rig.Config(L"dpi_index"), L"2");
  rig.Device().PressDpiButton(4);
  rig.Clock().AdvanceMs(10);
  protocol.PollNordicStatus(false);
  EXPECT_EQ(rig.Config(L"dpi_index"), L"2");
  rig.Clock().AdvanceMs(190);
  protocol.PollNordicStatus(false);
  EXPECT_EQ(rig.Config(L"dpi_index"), L"4");
  // A forced poll does not wait.
  rig.Device().PressDpiButton(1);
  protocol.PollNordicStatus(true);
  EXPECT_EQ(rig.Config(L"dpi_index"), L"1");
}

// Stage 7: stored as 7, shown on the control of stage 1 (id 102). Rate 6:
// stored, no button. Battery from bytes 6 and 5.
TEST(NordicStatus, StageAndRateWithoutControls) {
  NordicRig rig;
  NordicProtocol protocol = rig.Protocol();
  rig.Device().ChangeBattery(55, 1);
  rig.Device().PressDpiButton(7);
  for (int i = 0; i < 2; ++i) protocol.PollNordicStatus(true);
  std::vector<bool> checked;
  for (int id = ctl::kFirstRate; id <= ctl::kLastRate; ++id) checked.push_back(rig.Checked(id));
  rig.Device().SwitchReportRate(6);
  protocol.PollNordicStatus(true);
  EXPECT_EQ(rig.Config(L"dpi_index"), L"7");
  EXPECT_TRUE(rig.Checked(ctl::kFirstDpiStage + 1));
  EXPECT_EQ(rig.Window().current_dpi_control.load(), ctl::kFirstDpiStage + 1);
  EXPECT_EQ(rig.Config(L"report_rate"), L"6");
  for (int id = ctl::kFirstRate; id <= ctl::kLastRate; ++id) {
    EXPECT_EQ(rig.Checked(id), checked[id - ctl::kFirstRate]) << id;
  }
  EXPECT_FALSE(rig.Checked(ctl::kFirstRate + 6));
  EXPECT_EQ(rig.Battery().GetBatteryLevel(), 55);
  EXPECT_EQ(rig.Battery().GetBatteryState(), 1);

  rig.Device().SwitchReportRate(3);
  protocol.PollNordicStatus(true);
  EXPECT_TRUE(rig.Checked(ctl::kFirstRate + 3));
  EXPECT_EQ(rig.Config(L"report_rate"), L"3");
}

// Byte 6 = 0: no battery data, and neither stage nor rate change. Values
// already shown are not stored again.
TEST(NordicStatus, ReportWithoutBatteryDataChangesNothing) {
  NordicRig rig;
  NordicProtocol protocol = rig.Protocol();
  rig.Device().ChangeBattery(40, 0);
  protocol.PollNordicStatus(true);
  rig.Device().WithFirmware([](NordicFirmware& f) {
    f.SetActiveStage(5);
    f.SetReportRate(4);
    return 0;
  });
  rig.Device().ChangeBattery(0, 3);
  protocol.PollNordicStatus(true);
  EXPECT_EQ(rig.Battery().GetBatteryLevel(), 40);
  EXPECT_EQ(rig.Config(L"dpi_index"), L"1");
  EXPECT_NE(rig.Config(L"report_rate"), L"4");

  // Unchanged values are not written again.
  rig.SetConfig(L"dpi_index", L"9");
  rig.Device().ChangeBattery(41, 0);  // stage 5 and rate 4 now arrive
  protocol.PollNordicStatus(true);
  EXPECT_EQ(rig.Config(L"dpi_index"), L"5");
  rig.SetConfig(L"dpi_index", L"9");
  rig.Device().ChangeBattery(42, 0);
  protocol.PollNordicStatus(true);
  EXPECT_EQ(rig.Config(L"dpi_index"), L"9");
  EXPECT_EQ(rig.Battery().GetBatteryLevel(), 42);
}

// Receiver link down: receivers offline (no active choice), tab 0 and
// disabled, text 53, battery (0, 2), connected clear. Link up again: the
// program reads everything and enables the tabs.
TEST(NordicStatus, ReceiverLinkDownAndUp) {
  NordicRig rig(VirtualNordicDevice::Receiver(1));
  NordicProtocol protocol = rig.Protocol();
  ASSERT_TRUE(protocol.ReadNordicAll());
  ASSERT_TRUE(rig.Tabs().IsEnabled());

  rig.Device().SetLinked(false);
  protocol.PollNordicStatus(true);
  EXPECT_EQ(rig.Devices().ActiveMode(), -1);
  EXPECT_FALSE(rig.Tabs().IsEnabled());
  EXPECT_EQ(rig.Tabs().GetSelectItem(), 0);
  EXPECT_EQ(rig.Title(ctl::kDeviceState), L"not linked");
  EXPECT_EQ(rig.Battery().GetBatteryLevel(), 0);
  EXPECT_EQ(rig.Battery().GetBatteryState(), 2);
  EXPECT_FALSE(rig.Window().connected.load());
  EXPECT_FALSE(rig.State().linked);

  // The mouse's settings change while it is away.
  rig.Device().WithFirmware([](NordicFirmware& f) {
    f.SetReportRate(1);
    return 0;
  });
  rig.ClearRequests();
  rig.Device().SetLinked(true);
  protocol.PollNordicStatus(false);
  protocol.PollNordicStatus(true);
  EXPECT_EQ(rig.Devices().ActiveMode(), 1);
  EXPECT_TRUE(rig.Tabs().IsEnabled());
  EXPECT_EQ(rig.Title(ctl::kDeviceState), L"linked");
  EXPECT_TRUE(rig.Window().connected.load());
  EXPECT_EQ(rig.Config(L"report_rate"), L"1");
  EXPECT_EQ(rig.Title(ctl::kVersionLabelA), L"1.0.5");
  const auto requests = rig.Requests();
  ASSERT_GE(requests.size(), 4u);
  EXPECT_EQ(requests[0][0], 0x01);
  EXPECT_EQ(requests[1][0], 0x41);
}

// A mouse on a cable: its report (source 01) only updates battery, stage
// and rate; the link bit means nothing there.
TEST(NordicStatus, DirectMouseReportIgnoresTheLinkBit) {
  NordicRig rig;
  rig.Tabs().SetEnabled(true);
  rig.Device().PressDpiButton(3);
  rig.Protocol().PollNordicStatus(true);
  EXPECT_TRUE(rig.Tabs().IsEnabled());
  EXPECT_EQ(rig.Devices().ActiveMode(), 0);
  EXPECT_EQ(rig.Config(L"dpi_index"), L"3");
}

}  // namespace
}  // namespace tk410
