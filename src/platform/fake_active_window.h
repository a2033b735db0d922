#pragma once
// The active-window source of tests: the test says which window settled in
// front (on its own thread, as the real source's thread would) and whether
// the display can tell.

#include <mutex>

#include "platform/active_window_source.h"

namespace tk410 {

class FakeActiveWindow : public ActiveWindowSource {
 public:
  // `startable` false: Start fails as without a display, telling `why`.
  explicit FakeActiveWindow(bool startable = true, WindowWatch why = WindowWatch::kNoDisplay);

  bool Start(ActiveWindowListener listener) override;
  void Stop() override;
  std::optional<WindowIdentity> Current() const override;

  // A window comes to the front; `settle` false: it is seen but has not yet
  // stayed there (Current() shows it, the listener hears nothing).
  void Bring(const WindowIdentity& window, bool settle = true);
  void SetAvailable(WindowWatch watch);
  bool Started() const;
  int StartCount() const;     // successful starts
  int StartAttempts() const;  // every call of Start

 private:
  const bool startable_;
  const WindowWatch why_;
  mutable std::mutex mutex_;
  ActiveWindowListener listener_;
  bool started_ = false;
  int starts_ = 0;
  int attempts_ = 0;
  std::optional<WindowIdentity> current_;
};

}  // namespace tk410
