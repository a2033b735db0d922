#include "layouts/x11_keyboard.h"

#include <chrono>

#ifdef TK410_HAVE_X11
#include <X11/XKBlib.h>
#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>
#endif

namespace tk410::layouts {

#ifdef TK410_HAVE_X11

namespace {
Display* AsDisplay(void* p) { return static_cast<Display*>(p); }
}  // namespace

X11Keyboard::X11Keyboard() {
  Display* display = XOpenDisplay(nullptr);
  if (!display) return;
  display_ = display;
  int event = 0, error = 0, major = 0, minor = 0;
  ready_ = XTestQueryExtension(display, &event, &error, &major, &minor);
}

X11Keyboard::~X11Keyboard() {
  if (display_) XCloseDisplay(AsDisplay(display_));
}

void X11Keyboard::Key(int keycode, bool down) {
  if (!ready_) return;
  XTestFakeKeyEvent(AsDisplay(display_), static_cast<unsigned>(keycode), down ? True : False, CurrentTime);
  XSync(AsDisplay(display_), False);
}

void X11Keyboard::Tap(int keycode) {
  Key(keycode, true);
  Key(keycode, false);
}

void X11Keyboard::SetNumLock(bool on) {
  if (!ready_) return;
  const unsigned mask = XkbKeysymToModifiers(AsDisplay(display_), XK_Num_Lock);
  XkbLockModifiers(AsDisplay(display_), XkbUseCoreKbd, mask, on ? mask : 0);
  XSync(AsDisplay(display_), False);
}

uint32_t X11Keyboard::KeysymOf(int keycode, bool shift, bool num_lock) {
  if (!display_) return 0;
  // A fresh copy of the server's map: this connection's own may predate a
  // layout switch.
  XkbDescPtr xkb = XkbGetMap(AsDisplay(display_), XkbAllClientInfoMask, XkbUseCoreKbd);
  if (!xkb) return 0;
  unsigned mods = shift ? ShiftMask : 0;
  if (num_lock) mods |= XkbKeysymToModifiers(AsDisplay(display_), XK_Num_Lock);
  unsigned consumed = 0;
  KeySym keysym = NoSymbol;
  XkbTranslateKeyCode(xkb, static_cast<KeyCode>(keycode), mods, &consumed, &keysym);
  XkbFreeKeyboard(xkb, 0, True);
  return static_cast<uint32_t>(keysym);
}

#else

X11Keyboard::X11Keyboard() = default;
X11Keyboard::~X11Keyboard() = default;
void X11Keyboard::Key(int, bool) {}
void X11Keyboard::Tap(int) {}
void X11Keyboard::SetNumLock(bool) {}
uint32_t X11Keyboard::KeysymOf(int, bool, bool) { return 0; }

#endif

RawEventWaiter::RawEventWaiter(RawInputHub& hub) : hub_(hub) {
  hub_.Register(this, [this](intptr_t handle) {
    std::lock_guard<std::mutex> lock(mutex_);
    handles_.push_back(handle);
    arrived_.notify_all();
  });
}

RawEventWaiter::~RawEventWaiter() { hub_.Unregister(this); }

std::vector<intptr_t> RawEventWaiter::Next(size_t count) {
  std::vector<intptr_t> out;
  {
    std::unique_lock<std::mutex> lock(mutex_);
    arrived_.wait_for(lock, std::chrono::seconds(5), [&] { return handles_.size() >= count; });
    while (!handles_.empty() && out.size() < count) {
      out.push_back(handles_.front());
      handles_.pop_front();
    }
  }
  // The hub posts to every listener under its lock: taking it once more
  // means the other listeners' posts of these events are done.
  hub_.HasListeners();
  return out;
}

}  // namespace tk410::layouts
