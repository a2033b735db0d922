#pragma once
// Marks the first frame in the start-up trace (base/start_trace.h): when the
// first window is exposed (mapped on the screen) and when the event that
// exposed it has been handled, which for a widget window includes painting
// and flushing the first frame. Does nothing unless the trace is on.

#include <QObject>

namespace tk410 {

class FirstFrameTrace final : public QObject {
 public:
  // Watches the application's events from now on (until the first frame).
  FirstFrameTrace();
  ~FirstFrameTrace() override;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  bool installed_ = false;
};

}  // namespace tk410
