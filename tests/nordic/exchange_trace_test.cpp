// The frames a well-behaved Nordic receiver with its mouse linked receives
// (and returns) for a write of everything and a read of everything, compared
// line by line with a recorded trace: changes to how replies are waited for
// and checked must not change what goes over the wire in a normal exchange.

#include <gtest/gtest.h>

#include "assign/button_function.h"
#include "macro/macro_steps.h"
#include "nordic_rig.h"
#include "support/trace_fixture.h"
#include "sync/sync_task.h"

namespace tk410 {
namespace {

TEST(NordicExchangeTrace, WriteAllAndReadAllSendTheRecordedFrames) {
  NordicRig rig(VirtualNordicDevice::Receiver(1));
  ConfigDatabase& db = rig.Db();
  const int macro = db.AddMacro(L"tap");
  db.AddMacroEvents({MacroEvent{0, macro, static_cast<int>(MacroEventType::KeyDown), 0, 0x41, 0, L""},
                     MacroEvent{0, macro, static_cast<int>(MacroEventType::Delay), 1, 30, 0, L""},
                     MacroEvent{0, macro, static_cast<int>(MacroEventType::KeyUp), 2, 0x41, 0, L""}});
  db.SaveKeyRecord(Row(1, 1, kKindKeyboard, 0x04, 0x01));
  db.SaveKeyRecord(Row(1, 5, kKindMacro, macro));
  rig.SetConfig(L"dpi_group2_value", L"5000");
  rig.SetConfig(L"report_rate", L"3");

  std::vector<std::string> trace;
  rig.Devices().SetFrameTrace([&](const std::string& line) { trace.push_back(line); });
  ASSERT_TRUE(rig.Protocol().QueryNordicLink());
  rig.Window().RunTask(kTaskWriteAll);
  rig.Window().RunTask(kTaskReadAll);
  rig.Devices().SetFrameTrace(nullptr);

  EXPECT_EQ(testing::CompareWithTraceFixture(trace, "nordic_write_read.txt"), "");
}

}  // namespace
}  // namespace tk410
