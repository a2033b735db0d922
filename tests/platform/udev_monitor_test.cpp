#include "platform/udev_hidraw_monitor.h"

#include <gtest/gtest.h>

namespace tk410 {
namespace {

// The real monitor starts and stops cleanly whether or not any hidraw device
// exists (no event needs to arrive), and can be started again.
TEST(UdevHidrawMonitorTest, StartsAndStopsCleanly) {
  UdevHidrawMonitor monitor;
  int calls = 0;
  const bool started = monitor.Start([&](const std::wstring&, bool) { ++calls; });
  if (!started) GTEST_SKIP() << "no udev netlink socket in this environment";
  EXPECT_TRUE(monitor.IsRunning());
  EXPECT_FALSE(monitor.Start([](const std::wstring&, bool) {}));  // already running
  monitor.Stop();
  EXPECT_FALSE(monitor.IsRunning());
  monitor.Stop();  // twice is harmless
  EXPECT_TRUE(monitor.Start([&](const std::wstring&, bool) { ++calls; }));
  EXPECT_FALSE(monitor.ProbeArrival(L"HID\\VID_1209&PID_0001\\NOT-A-NODE", VendorCollectionOf(201)));
}

}  // namespace
}  // namespace tk410
