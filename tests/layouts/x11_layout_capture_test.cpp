// Key capture through the XInput2 raw events of a real X server (Xvfb):
// layouts switched with setxkbmap, keys pressed by keycode with XTest, each
// decoded by the capture into the key code stored, its usage and its name.

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "assign/key_capture.h"
#include "assign/key_tables.h"
#include "layouts/layout_cases.h"
#include "layouts/x11_keyboard.h"
#include "platform/x11_raw_input.h"
#include "support/xvfb_server.h"

namespace tk410 {
namespace {

using layouts::kLayoutCases;
using layouts::CaseName;
using layouts::LayoutCase;

TEST(X11LayoutCapture, KeysAreStoredByPhysicalKeyOnUsFrenchAndGermanLayouts) {
  testing::XvfbServer& xvfb = testing::SharedXvfb();
  if (!xvfb.Running()) GTEST_SKIP() << "no X server for the layout tests: " << xvfb.Failure();
  RawInputHub hub;
  layouts::RawEventWaiter waiter(hub);
  X11RawInput source;
  ASSERT_TRUE(source.Start(hub)) << "no XInput2 on " << xvfb.Display();
  KeyCapture capture(&hub);

  std::string layout;
  std::unique_ptr<layouts::X11Keyboard> keyboard;
  for (const LayoutCase& c : kLayoutCases) {
    if (layout != c.layout) {
      std::string why;
      ASSERT_TRUE(xvfb.SetLayout(c.layout, &why)) << why;
      layout = c.layout;
      keyboard = std::make_unique<layouts::X11Keyboard>();
      ASSERT_TRUE(keyboard->Ready());
    }
    // The keysym the Qt test gives its synthesized event is the server's.
    EXPECT_EQ(keyboard->KeysymOf(c.keycode, c.shift, c.num_lock), c.keysym) << CaseName(c);

    keyboard->SetNumLock(c.num_lock);
    if (c.shift) keyboard->Key(layouts::kLeftShiftKeycode, true);
    keyboard->Tap(c.keycode);
    if (c.shift) keyboard->Key(layouts::kLeftShiftKeycode, false);
    const size_t count = c.shift ? 4 : 2;
    const std::vector<intptr_t> handles = waiter.Next(count);
    ASSERT_EQ(handles.size(), count) << CaseName(c);

    std::vector<CapturedInput> inputs(count);
    for (size_t i = 0; i < count; ++i) capture.DecodeRawInput(handles[i], inputs[i]);
    const CapturedInput& press = inputs[c.shift ? 1 : 0];
    EXPECT_EQ(press.kind, kCapturedKeyboard) << CaseName(c);
    EXPECT_EQ(press.released, 0) << CaseName(c);
    EXPECT_EQ(press.code, c.code) << CaseName(c);
    EXPECT_EQ(VirtualKeyToUsage(press.code), c.usage) << CaseName(c);
    EXPECT_EQ(press.text, c.name) << CaseName(c);
    EXPECT_EQ(capture.HeldKeyCount(), 0u) << CaseName(c) << ": a release decoded as another key";
  }
  source.Stop();
}

// Shift + keypad 1 with Num Lock on is End; Shift released first, the key is
// still released as End, so the capture does not keep End held (and take its
// next press for an auto-repeat).
TEST(X11LayoutCapture, KeyIsReleasedAsItWasPressed) {
  testing::XvfbServer& xvfb = testing::SharedXvfb();
  if (!xvfb.Running()) GTEST_SKIP() << "no X server for the layout tests: " << xvfb.Failure();
  std::string why;
  ASSERT_TRUE(xvfb.SetLayout("us", &why)) << why;
  RawInputHub hub;
  layouts::RawEventWaiter waiter(hub);
  X11RawInput source;
  ASSERT_TRUE(source.Start(hub));
  layouts::X11Keyboard keyboard;
  ASSERT_TRUE(keyboard.Ready());
  keyboard.SetNumLock(true);
  constexpr int kKeypad1 = 87;
  keyboard.Key(layouts::kLeftShiftKeycode, true);
  keyboard.Key(kKeypad1, true);
  keyboard.Key(layouts::kLeftShiftKeycode, false);
  keyboard.Key(kKeypad1, false);
  keyboard.Tap(kKeypad1);
  const std::vector<intptr_t> handles = waiter.Next(6);
  ASSERT_EQ(handles.size(), 6u);
  KeyCapture capture(&hub);
  std::vector<std::pair<int, int>> got;  // (kind, code)
  for (intptr_t handle : handles) {
    CapturedInput input;
    capture.DecodeRawInput(handle, input);
    got.emplace_back(input.kind, input.code);
  }
  const std::vector<std::pair<int, int>> expected = {
      {kCapturedKeyboard, 160}, {kCapturedKeyboard, 35}, {kCapturedKeyboard, 160},
      {kCapturedKeyboard, 35},  {kCapturedKeyboard, 97}, {kCapturedKeyboard, 97}};
  EXPECT_EQ(got, expected);
  source.Stop();
}

}  // namespace
}  // namespace tk410
