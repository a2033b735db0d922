#include "app/first_frame_trace.h"

#include <QCoreApplication>
#include <QEvent>

#include "base/start_trace.h"
#include "base/trace.h"

namespace tk410 {

FirstFrameTrace::FirstFrameTrace(std::function<void()> after_first_frame)
    : after_first_frame_(std::move(after_first_frame)) {
  if ((!TraceEnabled(kTraceInfo) && !after_first_frame_) || !QCoreApplication::instance()) return;
  QCoreApplication::instance()->installEventFilter(this);
  installed_ = true;
}

FirstFrameTrace::~FirstFrameTrace() {
  if (installed_ && QCoreApplication::instance()) QCoreApplication::instance()->removeEventFilter(this);
}

bool FirstFrameTrace::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::Expose && watched->isWindowType()) {
    QCoreApplication::instance()->removeEventFilter(this);
    installed_ = false;
    TraceStartStep("first window exposed");
    // Queued behind the expose, which paints and flushes the first frame.
    QMetaObject::invokeMethod(
        this,
        [this] {
          TraceStartStep("first frame drawn");
          if (after_first_frame_) after_first_frame_();
        },
        Qt::QueuedConnection);
  }
  return false;
}

}  // namespace tk410
