#include "base/clock.h"

#include <gtest/gtest.h>

namespace tk410 {
namespace {

TEST(ClockTest, ManualClockRecordsSleepsAndMovesOnlyWhenTold) {
  ManualClock clock(5000);
  EXPECT_EQ(clock.TickMs(), 5000u);
  clock.SleepMs(100);
  clock.SleepMs(1000);
  EXPECT_EQ(clock.TickMs(), 6100u);
  EXPECT_EQ(clock.Sleeps(), (std::vector<uint32_t>{100, 1000}));
  clock.AdvanceUs(1500);
  EXPECT_EQ(clock.TickUs(), 6101500u);
  EXPECT_EQ(clock.TotalSleptMs(), 1100u);
  clock.ClearSleeps();
  EXPECT_TRUE(clock.Sleeps().empty());
}

TEST(ClockTest, SystemClockIsMonotonic) {
  auto& c = SystemClockInstance();
  const uint64_t a = c.TickUs();
  const uint64_t b = c.TickUs();
  EXPECT_LE(a, b);
}

}  // namespace
}  // namespace tk410
