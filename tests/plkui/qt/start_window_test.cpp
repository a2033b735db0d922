// The start window: shown and drawn before the program's window exists, then
// taken over by that window (the same native window), never by another one.

#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <QPointer>

#include "plkui/qt/control_view.h"
#include "plkui/qt/qt_runtime.h"
#include "plkui/qt/window_host.h"
#include "plkui/recording_dialog.h"
#include "support/qt_app_environment.h"

namespace tk410::test {
namespace {

using namespace PLKUI;
using PLKUI::qt::QtRuntime;
using PLKUI::qt::WindowHost;

QApplication& g_app = TestApp();

TEST(StartWindowTest, TheNamedWindowTakesTheStartWindowAsItsOwnAndOthersDoNot) {
  QtRuntime runtime;
  ScopedRuntime scoped(runtime);
  const MRect rect{40, 30, 440, 330};
  runtime.ShowStartWindow(rect, L"TEVO TK410");
  runtime.DrawStartWindow();
  QPointer<WindowHost> start = runtime.StartWindow();
  ASSERT_TRUE(start);
  EXPECT_TRUE(start->isVisible());
  EXPECT_FALSE(start->IsAttached());
  EXPECT_EQ(start->geometry(), QRect(40, 30, 400, 300));
  // It draws the window's dark backdrop, not the toolkit's grey, and nothing
  // on it: no value before the window knows it.
  const QImage frame = start->grab().toImage();
  int lit = 0;
  for (int y = 0; y < frame.height(); ++y)
    for (int x = 0; x < frame.width(); ++x) lit += QColor(frame.pixel(x, y)).lightness() > 100;
  EXPECT_EQ(lit, 0);
  // Nothing of a dialog to close yet: a close is refused.
  EXPECT_FALSE(start->close());
  const WId native = start->winId();

  // The window that will own it is named before it is made; a dialog made
  // in between (a message during the start) gets a host of its own.
  RecordingDialog main;
  main.build = [](RecordingDialog& d) {
    d.Make<MText>(L"MText", 12, L"Connected (wired)");
    d.Make<MButton>(L"MButton", 13, L"Apply")->SetVisible(false);
  };
  runtime.GiveStartWindowTo(main);
  RecordingDialog message;
  ASSERT_TRUE(message.Create(nullptr, L"message", 0, 0, MRect{0, 0, 100, 50}));
  EXPECT_NE(runtime.HostOf(message), start.data());
  EXPECT_EQ(runtime.StartWindow(), start.data());

  ASSERT_TRUE(main.Create(nullptr, L"TEVO TK410 - Virtual mouse", 0x96000000u, 0, rect));
  ASSERT_EQ(runtime.HostOf(main), start.data());
  EXPECT_EQ(runtime.StartWindow(), nullptr);
  EXPECT_TRUE(start->IsAttached());
  EXPECT_EQ(start->winId(), native);
  EXPECT_TRUE(start->isVisible());
  EXPECT_EQ(start->windowTitle(), QStringLiteral("TEVO TK410 - Virtual mouse"));
  // The shown control's view is shown on the window already on screen; the
  // hidden one's waits.
  ASSERT_NE(start->ViewOf(12), nullptr);
  EXPECT_TRUE(start->ViewOf(12)->isVisible());
  EXPECT_FALSE(start->ViewOf(13)->isVisible());
  // Now a close is the dialog's: its run would end.
  start->close();
  EXPECT_EQ(main.PendingModalEnd(), kResultCancel);

  message.DestroyWindow();
  main.DestroyWindow();
  EXPECT_FALSE(start);
}

TEST(StartWindowTest, AStartWindowNobodyTookGoesWithTheRuntime) {
  QPointer<WindowHost> start;
  {
    QtRuntime runtime;
    ScopedRuntime scoped(runtime);
    runtime.ShowStartWindow(MRect{0, 0, 200, 100}, L"TEVO TK410");
    start = runtime.StartWindow();
    ASSERT_TRUE(start);
    // Shown once only.
    runtime.ShowStartWindow(MRect{0, 0, 300, 100}, L"again");
    EXPECT_EQ(runtime.StartWindow(), start.data());
    EXPECT_EQ(start->width(), 200);
  }
  EXPECT_FALSE(start);
}

}  // namespace
}  // namespace tk410::test
