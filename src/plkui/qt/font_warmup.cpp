#include "plkui/qt/font_warmup.h"

#ifdef TK410_HAVE_FONTCONFIG
#include <fontconfig/fontconfig.h>
#endif

namespace PLKUI::qt {

FontWarmup::FontWarmup() {
#ifdef TK410_HAVE_FONTCONFIG
  // FcInit keeps the configuration it loads as the process's current one.
  thread_ = std::thread([] { FcInit(); });
#endif
}

FontWarmup::~FontWarmup() { Wait(); }

void FontWarmup::Wait() {
  if (thread_.joinable()) thread_.join();
}

}  // namespace PLKUI::qt
