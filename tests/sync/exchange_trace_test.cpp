// The frames a well-behaved wired mouse receives (and returns) for a write
// of everything and a read of everything, compared line by line with a
// recorded trace: changes to how replies are waited for and checked must
// not change what goes over the wire in a normal exchange.

#include <gtest/gtest.h>

#include "assign/button_function.h"
#include "macro/macro_steps.h"
#include "support/trace_fixture.h"
#include "sync/sync_task.h"
#include "wired_rig.h"

namespace tk410 {
namespace {

using T = MacroEventType;

TEST(WiredExchangeTrace, WriteAllAndReadAllSendTheRecordedFrames) {
  WiredRig rig;
  ConfigDatabase& db = rig.Db();
  const int tap = db.AddMacro(L"tap");
  const int move = db.AddMacro(L"move");
  std::vector<MacroEvent> steps = {{0, tap, static_cast<int>(T::KeyDown), 0, 0x41, 0, L""},
                                   {0, tap, static_cast<int>(T::Delay), 1, 30, 0, L""},
                                   {0, tap, static_cast<int>(T::KeyUp), 2, 0x41, 0, L""},
                                   {0, move, static_cast<int>(T::MoveXY), 0, 0x0583, 0, L""},
                                   {0, move, static_cast<int>(T::Delay), 1, 100, 0, L""}};
  db.AddMacroEvents(steps);
  for (const auto& row : {KeyRow(1, 1, kKindKeyboard, 0x04, 0x02), KeyRow(1, 5, kKindMacro, move),
                          KeyRow(3, 4, kKindMultimedia, 3), KeyRow(3, 11, kKindMacro, tap)}) {
    db.SaveKeyRecord(row);
  }
  rig.SetConfig(L"dpi_index", L"2");
  rig.SetConfig(L"dpi_group2_value", L"3300");
  rig.SetConfig(L"report_rate", L"2");
  rig.SetConfig(L"light_mode", L"3");

  std::vector<std::string> trace;
  rig.Devices().SetFrameTrace([&](const std::string& line) { trace.push_back(line); });
  rig.Window().online.store(true);
  rig.Window().RunTask(kTaskWriteAll);
  rig.Window().RunTask(kTaskReadAll);
  rig.Devices().SetFrameTrace(nullptr);

  EXPECT_EQ(testing::CompareWithTraceFixture(trace, "wired_write_read.txt"), "");
  // No retries: only the pauses after the two tasks.
  EXPECT_EQ(rig.Manual().Sleeps(), (std::vector<uint32_t>{100, 100}));
}

}  // namespace
}  // namespace tk410
