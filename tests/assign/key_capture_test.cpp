// Key capture: raw events published by a scripted source reach a registered
// window as raw input messages and decode into CapturedInput records.

#include <gtest/gtest.h>

#include "assign/key_capture.h"
#include "assign/virtual_keys.h"
#include "platform/fake_raw_input.h"
#include "plkui/dialog.h"
#include "plkui/headless_runtime.h"

namespace tk410 {
namespace {

// A window that decodes every raw input message it receives.
class CaptureWindow : public PLKUI::MDialog {
 public:
  explicit CaptureWindow(RawInputHub& hub) : capture(&hub) {}
  intptr_t OnWindowMessage(unsigned message, uintptr_t wparam, intptr_t lparam) override {
    if (message == kMsgRawInput) {
      CapturedInput input;
      capture.DecodeRawInput(lparam, input);
      decoded.push_back(input);
      return 0;
    }
    return MDialog::OnWindowMessage(message, wparam, lparam);
  }
  KeyCapture capture;
  std::vector<CapturedInput> decoded;
};

class KeyCaptureTest : public ::testing::Test {
 protected:
  KeyCaptureTest() : window(hub) {
    window.SetRuntime(&runtime);
    window.Create(nullptr, L"capture", 0, 0, PLKUI::MRect{0, 0, 100, 100});
    source.Start(hub);
  }
  ~KeyCaptureTest() override { hub.Unregister(&window); }
  std::vector<CapturedInput> Pump() {
    runtime.PumpMessages();
    auto out = window.decoded;
    window.decoded.clear();
    return out;
  }

  PLKUI::HeadlessRuntime runtime;
  RawInputHub hub;
  ScriptedRawInput source;
  CaptureWindow window;
};

TEST_F(KeyCaptureTest, NothingArrivesBeforeStartCapture) {
  EXPECT_EQ(source.KeyDown('A'), 0);
  EXPECT_TRUE(Pump().empty());
  window.capture.StartCapture(window);
  EXPECT_NE(source.KeyDown('A'), 0);
  EXPECT_EQ(Pump().size(), 1u);
}

TEST_F(KeyCaptureTest, HeldKeyGivesOnePressThenRepeatsUntilRelease) {
  window.capture.StartCapture(window);
  source.KeyDown('A');
  source.KeyDown('A');
  source.KeyDown('A');
  source.KeyUp('A');
  source.KeyDown('A');
  auto got = Pump();
  ASSERT_EQ(got.size(), 5u);
  EXPECT_EQ(got[0].kind, kCapturedKeyboard);
  EXPECT_EQ(got[0].released, 0);
  EXPECT_EQ(got[0].text, L"A");
  EXPECT_EQ(got[1].kind, kCapturedIgnore);
  EXPECT_EQ(got[2].kind, kCapturedIgnore);
  EXPECT_EQ(got[3].kind, kCapturedKeyboard);
  EXPECT_EQ(got[3].released, 1);
  EXPECT_EQ(got[4].kind, kCapturedKeyboard);  // pressed anew after the release
  EXPECT_EQ(window.capture.HeldKeyCount(), 1u);
  // A new start forgets the held keys.
  window.capture.StartCapture(window);
  EXPECT_EQ(window.capture.HeldKeyCount(), 0u);
}

TEST_F(KeyCaptureTest, ModifierCodesAndNames) {
  window.capture.StartCapture(window);
  struct Case {
    int vk;
    int code;
    const wchar_t* name;
  } cases[] = {
      {16, 160, L"Shift"}, {161, 161, L"RShift"}, {17, 162, L"Ctrl"}, {163, 163, L"RCtrl"},
      {18, 164, L"Alt"},   {165, 165, L"RAlt"},   {91, 91, L"Windows"}, {92, 92, L"RWindows"},
      {93, 93, L"Application"}, {44, 44, L"Print Screen"}, {19, 19, L"Pause"},
      {144, 144, L"Num Lock"}, {46, 46, L"Delete"}, {110, 110, L"Num Del"}, {113, 113, L"F2"},
  };
  for (const Case& c : cases) {
    // The source's own name never overrides the capture's names.
    source.KeyDown(c.vk, L"system");
    source.KeyUp(c.vk);
    auto got = Pump();
    ASSERT_EQ(got.size(), 2u);
    EXPECT_EQ(got[0].code, c.code) << c.vk;
    EXPECT_EQ(got[0].text, c.name) << c.vk;
  }
  // A key our table does not know takes the system's name, else a number.
  source.KeyDown(0xE2, L"less");
  source.KeyDown(0xE3);
  auto got = Pump();
  EXPECT_EQ(got[0].text, L"less");
  EXPECT_EQ(got[1].text, L"Key 227");
}

TEST_F(KeyCaptureTest, MouseButtonsWheelAndOtherDevices) {
  window.capture.StartCapture(window);
  struct Case {
    int flags;
    int mask;
    int released;
    const wchar_t* name;
  } cases[] = {
      {kRawLeftDown, 1, 0, L"LB"},           {kRawLeftUp, 1, 1, L"LB"},
      {kRawRightDown, 2, 0, L"RB"},          {kRawRightUp, 2, 1, L"RB"},
      {kRawMiddleDown, 4, 0, L"MB"},         {kRawMiddleUp, 4, 1, L"MB"},
      {kRawButton4Down, 8, 0, L"Backward"},  {kRawButton4Up, 8, 1, L"Backward"},
      {kRawButton5Down, 16, 0, L"Forward"},  {kRawButton5Up, 16, 1, L"Forward"},
      // Several flags in one event: middle down is tested before right down.
      {kRawRightDown | kRawMiddleDown, 4, 0, L"MB"},
  };
  for (const Case& c : cases) source.Mouse(c.flags);
  auto got = Pump();
  ASSERT_EQ(got.size(), std::size(cases));
  for (size_t i = 0; i < got.size(); ++i) {
    EXPECT_EQ(got[i].kind, kCapturedMouse);
    EXPECT_EQ(got[i].code, cases[i].mask) << i;
    EXPECT_EQ(got[i].released, cases[i].released) << i;
    EXPECT_EQ(got[i].text, cases[i].name) << i;
  }

  // A wheel turn: kind 1, no name, the caller's code untouched.
  const intptr_t wheel = source.Wheel(120);
  CapturedInput input;
  input.code = 77;
  window.capture.DecodeRawInput(wheel, input);
  EXPECT_EQ(input.kind, kCapturedMouse);
  EXPECT_EQ(input.text, L"");
  EXPECT_EQ(input.code, 77);

  const intptr_t other = source.OtherDevice();
  window.capture.DecodeRawInput(other, input);
  EXPECT_EQ(input.kind, kCapturedOther);

  // An unknown handle leaves the record as it was.
  CapturedInput untouched;
  untouched.kind = 9;
  untouched.text = L"x";
  window.capture.DecodeRawInput(999999, untouched);
  EXPECT_EQ(untouched.kind, 9);
  EXPECT_EQ(untouched.text, L"x");
  Pump();
}

TEST(RawInputHub, KeepsOnlyRecentEventsAndStopsPostingAfterUnregister) {
  RawInputHub hub;
  int posted = 0;
  int owner = 0;
  ASSERT_TRUE(hub.Register(&owner, [&](intptr_t) { ++posted; }));
  EXPECT_FALSE(hub.Register(&posted, nullptr));
  RawInputEvent e;
  e.device = RawDevice::Keyboard;
  const intptr_t first = hub.Publish(e);
  for (size_t i = 0; i < RawInputHub::kKeptEvents; ++i) hub.Publish(e);
  RawInputEvent out;
  EXPECT_FALSE(hub.GetRawInputData(first, out));
  EXPECT_TRUE(hub.GetRawInputData(first + 1, out));
  EXPECT_EQ(posted, static_cast<int>(RawInputHub::kKeptEvents) + 1);
  hub.Unregister(&owner);
  EXPECT_EQ(hub.Publish(e), 0);
  EXPECT_EQ(posted, static_cast<int>(RawInputHub::kKeptEvents) + 1);
}

// keysym, Qt key, virtual-key code.
TEST(VirtualKeys, KeysymsAndQtKeysMapThroughOneTable) {
  struct Row {
    uint32_t keysym;
    int qt_key;
    int vk;
  } rows[] = {
      {0x61, 0x41, 'A'},             {0x41, 0x41, 'A'},          {0x31, 0x31, '1'},
      {0x21, 0x21, '1'},             {0xffe1, 0, 160},           {0xffe2, 0, 161},
      {0xffe3, 0, 162},              {0xffe4, 0, 163},           {0xffe9, 0, 164},
      {0xffea, 0, 165},              {0xff0d, 0x01000004, 13},   {0xffff, 0x01000007, 46},
      {0xffbe, 0x01000030, 112},     {0xffd5, 0x01000047, 135},  {0xffb5, 0, 101},
      {0xff55, 0x01000016, 33},      {0x1008ff14, 0x01000080, 179}, {0x20, 0x20, 32},
  };
  for (const Row& r : rows) {
    EXPECT_EQ(VirtualKeyOfKeysym(r.keysym), r.vk) << std::hex << r.keysym;
    if (r.qt_key) {
      EXPECT_EQ(VirtualKeyOfQtKey(r.qt_key), r.vk) << std::hex << r.qt_key;
    }
  }
  // Qt's generic modifiers stay generic; capture turns them into the left-hand codes.
  EXPECT_EQ(VirtualKeyOfQtKey(0x01000020), 16);
  EXPECT_EQ(VirtualKeyOfQtKey(0x01000021), 17);
  EXPECT_EQ(VirtualKeyOfQtKey(0x01000023), 18);
  EXPECT_EQ(VirtualKeyOfKeysym(0x12345), 0);
  // Back from the code to a keysym that maps to the same code.
  for (int vk : {int{'A'}, int{'7'}, 13, 46, 112, 160, 161, 99, 186})
    EXPECT_EQ(VirtualKeyOfKeysym(KeysymOfVirtualKey(vk)), vk) << vk;
}

}  // namespace
}  // namespace tk410
