#include "platform/x11_raw_input.h"

#include <poll.h>
#include <unistd.h>

#include <cstdlib>

#include "base/text.h"
#include "platform/physical_key_event.h"

#ifdef TK410_HAVE_X11
#include <X11/XKBlib.h>
#include <X11/Xlib.h>
#include <X11/extensions/XInput2.h>
#include <X11/keysym.h>
#endif

namespace tk410 {

X11RawInput::~X11RawInput() { Stop(); }

#ifdef TK410_HAVE_X11

bool X11RawInput::Start(RawInputHub& hub) {
  if (thread_.joinable()) return true;
  const char* session = std::getenv("XDG_SESSION_TYPE");
  if (session && std::string(session) == "wayland") return false;  // XWayland sees only its own clients
  Display* display = XOpenDisplay(nullptr);
  if (!display) return false;
  int event = 0, error = 0;
  int major = 2, minor = 0;
  if (!XQueryExtension(display, "XInputExtension", &xi_opcode_, &event, &error) ||
      XIQueryVersion(display, &major, &minor) != Success) {
    XCloseDisplay(display);
    return false;
  }
  unsigned char bits[XIMaskLen(XI_LASTEVENT)] = {};
  XIEventMask mask;
  mask.deviceid = XIAllMasterDevices;
  mask.mask_len = sizeof(bits);
  mask.mask = bits;
  XISetMask(bits, XI_RawKeyPress);
  XISetMask(bits, XI_RawKeyRelease);
  XISetMask(bits, XI_RawButtonPress);
  XISetMask(bits, XI_RawButtonRelease);
  XISelectEvents(display, DefaultRootWindow(display), &mask, 1);
  // Keyboard state changes (Shift, Num Lock, layout group), in order with the raw events.
  int xkb_opcode = 0, xkb_error = 0, xkb_major = XkbMajorVersion, xkb_minor = XkbMinorVersion;
  xkb_event_base_ = -1;
  modifiers_ = 0;
  group_ = 0;
  if (XkbQueryExtension(display, &xkb_opcode, &xkb_event_base_, &xkb_error, &xkb_major, &xkb_minor)) {
    XkbSelectEventDetails(display, XkbUseCoreKbd, XkbStateNotify, XkbAllStateComponentsMask,
                          XkbModifierStateMask | XkbGroupStateMask);
    XkbStateRec state;
    if (XkbGetState(display, XkbUseCoreKbd, &state) == Success) {
      modifiers_ = state.mods;
      group_ = state.group;
    }
  }
  XFlush(display);
  if (pipe(wake_fds_) != 0) {
    XCloseDisplay(display);
    return false;
  }
  display_ = display;
  hub_ = &hub;
  held_ = HeldPhysicalKeys();
  stopping_.store(false);
  thread_ = std::thread([this] { Run(); });
  return true;
}

void X11RawInput::Stop() {
  if (!thread_.joinable()) return;
  stopping_.store(true);
  const char wake = 1;
  if (write(wake_fds_[1], &wake, 1) < 0) {
  }
  thread_.join();
  XCloseDisplay(static_cast<Display*>(display_));
  display_ = nullptr;
  close(wake_fds_[0]);
  close(wake_fds_[1]);
  wake_fds_[0] = wake_fds_[1] = -1;
}

void X11RawInput::Run() {
  Display* display = static_cast<Display*>(display_);
  const Window root = DefaultRootWindow(display);
  pollfd fds[2] = {{ConnectionNumber(display), POLLIN, 0}, {wake_fds_[0], POLLIN, 0}};
  while (!stopping_.load()) {
    if (XPending(display) == 0) {
      if (poll(fds, 2, -1) < 0) continue;
      if (fds[1].revents) break;
      if (XPending(display) == 0) continue;
    }
    XEvent ev;
    XNextEvent(display, &ev);
    if (xkb_event_base_ >= 0 && ev.type == xkb_event_base_) {
      const auto& xkb = reinterpret_cast<const XkbEvent&>(ev);
      if (xkb.any.xkb_type == XkbStateNotify) {
        modifiers_ = xkb.state.mods;
        group_ = xkb.state.group;
      }
      continue;
    }
    XGenericEventCookie* cookie = &ev.xcookie;
    if (cookie->type != GenericEvent || cookie->extension != xi_opcode_ || !XGetEventData(display, cookie))
      continue;
    const auto* raw = static_cast<const XIRawEvent*>(cookie->data);
    RawInputEvent out;
    switch (cookie->evtype) {
      case XI_RawKeyPress:
      case XI_RawKeyRelease:
        out = KeyEvent(raw->detail, cookie->evtype == XI_RawKeyPress);
        break;
      case XI_RawButtonPress:
      case XI_RawButtonRelease: {
        out.device = RawDevice::Mouse;
        out.button_flags = RawButtonFlags(raw->detail, cookie->evtype == XI_RawButtonPress);
        Window r, child;
        int rx = 0, ry = 0, wx = 0, wy = 0;
        unsigned int state = 0;
        if (XQueryPointer(display, root, &r, &child, &rx, &ry, &wx, &wy, &state)) {
          out.has_cursor = true;
          out.cursor_x = rx;
          out.cursor_y = ry;
        }
        break;
      }
      default:
        break;
    }
    XFreeEventData(display, cookie);
    const bool useful = out.device == RawDevice::Keyboard ? (out.virtual_key != 0 || !out.system_name.empty())
                                                          : out.button_flags != 0;
    if (out.device != RawDevice::Other && useful) hub_->Publish(out);
  }
}

RawInputEvent X11RawInput::KeyEvent(int keycode, bool pressed) {
  Display* display = static_cast<Display*>(display_);
  const auto code = static_cast<KeyCode>(keycode);
  // What the layout's current group gives unshifted; a key with fewer groups
  // falls back to its first.
  KeySym keysym = XkbKeycodeToKeysym(display, code, group_, 0);
  if (keysym == NoSymbol && group_ != 0) keysym = XkbKeycodeToKeysym(display, code, 0, 0);
  const unsigned num_lock = XkbKeysymToModifiers(display, XK_Num_Lock);
  const bool keypad_digits = KeypadTypesDigits(num_lock != 0 && (modifiers_ & num_lock) != 0,
                                               (modifiers_ & ShiftMask) != 0);
  RawInputEvent out = PhysicalKeyEvent(keycode, pressed, keypad_digits, static_cast<uint32_t>(keysym));
  out.virtual_key = pressed ? held_.Press(keycode, out.virtual_key) : held_.Release(keycode, out.virtual_key);
  if (const char* name = XKeysymToString(keysym)) out.system_name = FromUtf8(name);
  return out;
}

#else

bool X11RawInput::Start(RawInputHub&) { return false; }
void X11RawInput::Stop() {}
void X11RawInput::Run() {}
RawInputEvent X11RawInput::KeyEvent(int, bool) { return {}; }

#endif

}  // namespace tk410
