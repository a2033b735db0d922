// A window counts as in front once it stayed there for the delay: alt-tabbing
// through several windows settles once, on the last.

#include <gtest/gtest.h>

#include "platform/focus_settle.h"

namespace tk410 {
namespace {

TEST(FocusSettle, BurstOfChangesSettlesOnceAfterTheLast) {
  FocusSettle settle(500);
  EXPECT_EQ(settle.WaitMs(0), -1);  // nothing waits: sleep without end
  EXPECT_FALSE(settle.TakeSettled(10000));

  // Five windows, 150 ms apart: each change starts the wait again.
  for (uint64_t t = 1000; t <= 1600; t += 150) {
    EXPECT_FALSE(settle.TakeSettled(t)) << t;
    settle.Changed(t);
    EXPECT_EQ(settle.WaitMs(t), 500) << t;
  }
  EXPECT_EQ(settle.WaitMs(1900), 200);
  EXPECT_FALSE(settle.TakeSettled(2099));
  EXPECT_EQ(settle.WaitMs(2100), 0);
  EXPECT_TRUE(settle.TakeSettled(2100));
  EXPECT_FALSE(settle.TakeSettled(2101));
  EXPECT_EQ(settle.WaitMs(2101), -1);

  // A late look still settles (once).
  settle.Changed(3000);
  EXPECT_TRUE(settle.TakeSettled(9000));
  EXPECT_FALSE(settle.TakeSettled(9001));
}

}  // namespace
}  // namespace tk410
