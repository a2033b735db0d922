// Emoji texts typed through XTest on a real X server (Xvfb) arrive as the
// right characters in a focused window on the US, French and German layouts.

#include <gtest/gtest.h>

#include <string>

#include "assign/emoji_table.h"
#include "assign/emoji_typer.h"
#include "base/clock.h"
#include "platform/keysym_text.h"
#include "platform/x11_text_injector.h"
#include "support/xvfb_server.h"

#ifdef TK410_HAVE_X11
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#endif

namespace tk410 {
namespace {

#ifdef TK410_HAVE_X11

// A focused window that reads what is typed into it as any X client does:
// each key press looked up through the keyboard mapping as it is when the
// client reads the press, after the mapping changes announced before it.
class FocusedWindow {
 public:
  FocusedWindow() {
    display_ = XOpenDisplay(nullptr);
    if (!display_) return;
    window_ = XCreateSimpleWindow(display_, DefaultRootWindow(display_), 0, 0, 100, 100, 0, 0, 0);
    XSelectInput(display_, window_, KeyPressMask | StructureNotifyMask);
    XMapWindow(display_, window_);
    XEvent ev;
    do XNextEvent(display_, &ev);
    while (ev.type != MapNotify);
    XSetInputFocus(display_, window_, RevertToParent, CurrentTime);
    XSync(display_, False);
  }
  ~FocusedWindow() {
    if (display_) XCloseDisplay(display_);
  }
  bool Open() const { return display_ != nullptr; }

  // Reads every event the server has sent so far.
  void Read() {
    XSync(display_, False);
    while (XPending(display_) > 0) {
      XEvent ev;
      XNextEvent(display_, &ev);
      if (ev.type == MappingNotify) XRefreshKeyboardMapping(&ev.xmapping);
      if (ev.type != KeyPress) continue;
      char bytes[16];
      KeySym keysym = NoSymbol;
      XLookupString(&ev.xkey, bytes, sizeof(bytes), &keysym, nullptr);
      typed_ += KeysymText(static_cast<uint32_t>(keysym));
    }
  }
  const std::wstring& Typed() const { return typed_; }
  void Clear() { typed_.clear(); }

 private:
  Display* display_ = nullptr;
  Window window_ = 0;
  std::wstring typed_;
};

// The injector's pauses are when clients read the keys and the mapping
// changes: here the window reads at each of them, and no real time passes.
class ReadingClock final : public Clock {
 public:
  explicit ReadingClock(FocusedWindow& window) : window_(window) {}
  uint64_t TickMs() override { return manual_.TickMs(); }
  uint64_t TickUs() override { return manual_.TickUs(); }
  void SleepMs(uint32_t ms) override {
    window_.Read();
    manual_.SleepMs(ms);
  }

 private:
  FocusedWindow& window_;
  ManualClock manual_;
};

TEST(X11EmojiTyping, TextsArriveWhole) {
  testing::XvfbServer& xvfb = testing::SharedXvfb();
  if (!xvfb.Running()) GTEST_SKIP() << "no X server for the layout tests: " << xvfb.Failure();
  for (const char* layout : {"us", "fr", "de"}) {
    std::string why;
    ASSERT_TRUE(xvfb.SetLayout(layout, &why)) << why;
    FocusedWindow window;
    ASSERT_TRUE(window.Open());
    ReadingClock clock(window);
    X11TextInjector injector(clock);
    ASSERT_TRUE(injector.Available()) << layout;
    // Brackets and CJK words, Latin letters (placed differently on these
    // layouts), digits (shifted on the French one), the longest texts.
    for (int number : {1, 17, 40, 50, 64, 65, 71, 72, 109}) {
      window.Clear();
      TypeEmoji(number, injector, clock);
      window.Read();
      EXPECT_EQ(window.Typed(), EmojiText(number)) << layout << " emoji " << number;
    }
  }
}

#else

TEST(X11EmojiTyping, TextsArriveWhole) { GTEST_SKIP() << "built without X11"; }

#endif

}  // namespace
}  // namespace tk410
