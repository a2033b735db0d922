#pragma once
// Waits, on the test's thread, for something another thread does: checks
// `condition` until it holds or `bound` of real time has passed, giving the
// processor away between checks (no sleep). True when the condition held.

#include <chrono>
#include <thread>

namespace tk410::testing {

template <class Condition>
bool WaitFor(Condition condition, std::chrono::milliseconds bound) {
  const auto deadline = std::chrono::steady_clock::now() + bound;
  while (!condition()) {
    if (std::chrono::steady_clock::now() >= deadline) return condition();
    std::this_thread::yield();
  }
  return true;
}

}  // namespace tk410::testing
