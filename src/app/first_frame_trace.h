#pragma once
// Marks the first frame in the start-up trace (base/start_trace.h): when the
// first window is exposed (mapped on the screen) and when the event that
// exposed it has been handled, which for a widget window includes painting
// and flushing the first frame. Also runs what the start put off until after
// the first frame (`after_first_frame`), trace or not.

#include <QObject>
#include <functional>

namespace tk410 {

class FirstFrameTrace final : public QObject {
 public:
  // Watches the application's events from now on (until the first frame).
  explicit FirstFrameTrace(std::function<void()> after_first_frame = {});
  ~FirstFrameTrace() override;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  std::function<void()> after_first_frame_;
  bool installed_ = false;
};

}  // namespace tk410
