#include "platform/x11_text_injector.h"

#include "base/clock.h"
#include "base/trace.h"

#ifdef TK410_HAVE_X11
#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>
#endif

namespace tk410 {

namespace {
// Time the clients get to pick up a changed keyboard mapping.
constexpr uint32_t kMappingPauseMs = 12;
}  // namespace

unsigned long KeysymOfCodePoint(char32_t cp) {
  if (cp == U'\t') return 0xFF09;  // XK_Tab
  if (cp == U'\n') return 0xFF0D;  // XK_Return
  if (cp < 0x20 || (cp >= 0x7F && cp < 0xA0)) return 0;
  if (cp >= 0xD800 && cp <= 0xDFFF) return 0;
  if (cp > 0x10FFFF) return 0;
  if (cp <= 0xFF) return cp;
  return 0x01000000ul + cp;
}

#ifdef TK410_HAVE_X11

namespace {
Display* AsDisplay(void* p) { return static_cast<Display*>(p); }
}  // namespace

X11TextInjector::X11TextInjector(Clock& clock) : clock_(clock) {
  Display* display = XOpenDisplay(nullptr);
  if (!display) return;
  display_ = display;
  int event_base = 0, error_base = 0, major = 0, minor = 0;
  if (!XTestQueryExtension(display, &event_base, &error_base, &major, &minor)) {
    Trace(kTraceInfo, "XTest extension missing: typing unavailable");
    return;
  }
  int min_keycode = 0, max_keycode = 0;
  XDisplayKeycodes(display, &min_keycode, &max_keycode);
  int per_keycode = 0;
  KeySym* map = XGetKeyboardMapping(display, static_cast<KeyCode>(min_keycode),
                                    max_keycode - min_keycode + 1, &per_keycode);
  if (!map) return;
  // The highest keycode without any keysym: the least likely to be in use.
  for (int keycode = max_keycode; keycode >= min_keycode && spare_keycode_ == 0; --keycode) {
    bool empty = true;
    for (int j = 0; j < per_keycode; ++j)
      if (map[(keycode - min_keycode) * per_keycode + j] != NoSymbol) empty = false;
    if (empty) spare_keycode_ = keycode;
  }
  XFree(map);
  if (spare_keycode_ == 0) Trace(kTraceInfo, "no spare keycode: typing unavailable");
}

X11TextInjector::~X11TextInjector() {
  if (!display_) return;
  if (bound_) Bind(NoSymbol);
  XCloseDisplay(AsDisplay(display_));
}

void X11TextInjector::Bind(unsigned long keysym) {
  KeySym symbols[2] = {keysym, keysym};
  XChangeKeyboardMapping(AsDisplay(display_), spare_keycode_, 2, symbols, 1);
  XSync(AsDisplay(display_), False);
  bound_ = keysym != NoSymbol;
  clock_.SleepMs(kMappingPauseMs);
}

void X11TextInjector::Press(bool down) {
  XTestFakeKeyEvent(AsDisplay(display_), static_cast<unsigned>(spare_keycode_), down ? True : False,
                    CurrentTime);
  XSync(AsDisplay(display_), False);
}

void X11TextInjector::SendUnicodeUnit(char16_t unit, bool key_up) {
  if (!Available()) return;
  char32_t cp = unit;
  if (unit >= 0xD800 && unit <= 0xDBFF) {
    if (!key_up) pending_high_ = unit;
    return;
  }
  if (unit >= 0xDC00 && unit <= 0xDFFF) {
    if (pending_high_ == 0) return;
    cp = 0x10000 + ((static_cast<char32_t>(pending_high_) - 0xD800) << 10) + (unit - 0xDC00);
    if (key_up) pending_high_ = 0;
  } else if (!key_up) {
    pending_high_ = 0;
  }
  const unsigned long keysym = KeysymOfCodePoint(cp);
  if (keysym == 0) return;
  if (!key_up) {
    Bind(keysym);
    Press(true);
  } else if (bound_) {
    Press(false);
    // Unbound again only after the release has reached the clients.
    clock_.SleepMs(kMappingPauseMs);
    Bind(NoSymbol);
  }
}

std::unique_ptr<TextInjector> CreateSystemTextInjector(Clock& clock) {
  auto injector = std::make_unique<X11TextInjector>(clock);
  if (!injector->Available()) return nullptr;
  return injector;
}

#else  // built without X11

X11TextInjector::X11TextInjector(Clock& clock) : clock_(clock) {}
X11TextInjector::~X11TextInjector() = default;
void X11TextInjector::Bind(unsigned long) {}
void X11TextInjector::Press(bool) {}
void X11TextInjector::SendUnicodeUnit(char16_t, bool) {}
std::unique_ptr<TextInjector> CreateSystemTextInjector(Clock&) { return nullptr; }

#endif

}  // namespace tk410
