// The Nordic routines against a mouse with real timing: the user presses
// the DPI button while a write runs, and the mouse's status report comes
// between a request and its reply.

#include <gtest/gtest.h>

#include "assign/button_function.h"
#include "device/scripted_firmware.h"
#include "nordic_rig.h"
#include "sync/sync_task.h"

namespace tk410 {
namespace {

using testing::ScriptedNordicMouse;
using testing::ScriptedReport;
using Bytes = std::vector<uint8_t>;

// Key table write: 03, 00, A5, 02, slots from byte 4. The status report:
// 01, 00, 8C, 01, link, battery B, battery A, profile, DPI stage, rate.
TEST(NordicTimingTest, StatusReportBetweenRequestAndReplyIsAppliedWithoutARetry) {
  ScriptedNordicMouse mouse;
  NordicRig rig(VirtualNordicDevice::Direct(), true, mouse.Device());
  rig.Db().SaveKeyRecord(Row(1, 1, kKindKeyboard, 0x04, 0x01));
  rig.SetConfig(L"dpi_index", L"1");
  mouse.SetShaper([](int, const Bytes& request, std::vector<ScriptedReport>& reports, NordicFirmware& firmware) {
    if (request[0] != 0x03 || request[2] != 0xA5) return;
    firmware.SetActiveStage(3);  // the user pressed the DPI button
    NordicStatusBlock status = firmware.Status();
    status.battery_a = 55;
    status.battery_b = 1;
    reports.insert(reports.begin(), ScriptedReport{ScriptedNordicMouse::Status(status)});
  });
  ASSERT_TRUE(rig.Protocol().QueryNordicLink());
  rig.Window().RunTask(kTaskWriteAll);

  int key_writes = 0;
  for (const Bytes& r : mouse.Written()) key_writes += r[0] == 0x03 && r[2] == 0xA5 ? 1 : 0;
  EXPECT_EQ(key_writes, 1);  // the report was not taken for a wrong reply
  EXPECT_EQ(rig.Battery().GetBatteryLevel(), 55);
  EXPECT_EQ(rig.Config(L"dpi_index"), L"3");
  EXPECT_TRUE(rig.Checked(ctl::kFirstDpiStage + 3));
  // The settings write that followed kept the stage the user chose.
  const auto block = mouse.WithFirmware([](NordicFirmware& f) { return f.Settings(0); });
  EXPECT_EQ(block[NordicSettingsBlock::kDpiIndexAt], 3);
}

}  // namespace
}  // namespace tk410
