#include "platform/active_window_source.h"

namespace tk410 {

const char* WindowWatchText(WindowWatch watch) {
  switch (watch) {
    case WindowWatch::kAvailable: return "the window in front is known";
    case WindowWatch::kNoDisplay: return "there is no X11 display";
    case WindowWatch::kNoActiveWindow: return "the window manager does not tell which window is in front";
    case WindowWatch::kDisplayClosed: return "the X11 display closed";
    case WindowWatch::kNotBuilt: return "this build has no X11 support";
  }
  return "unknown";
}

}  // namespace tk410
