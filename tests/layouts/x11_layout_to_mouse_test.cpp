// End to end on a real X server (Xvfb): keys pressed with XTest on a given
// layout reach the assignment dialog and the macro recorder through the
// XInput2 source, and the wired download sends the mouse the usage of the
// physical key that was pressed.

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "app/lang_text.h"
#include "assign/button_function.h"
#include "assign/mouse_key_config_dlg.h"
#include "assign/wired_key_codec.h"
#include "layouts/x11_keyboard.h"
#include "platform/x11_raw_input.h"
#include "plkui/controls.h"
#include "plkui/headless_runtime.h"
#include "support/xvfb_server.h"
#include "sync/wired_rig.h"
#include "ui/device_main_dlg.h"
#include "ui/macro_page.h"

namespace tk410 {
namespace {

constexpr int kEacuteKey = 11;  // the "2" key, "é" on the French layout
constexpr int kKeypad1 = 87;

// The main window without its device start-up (the test runs the downloads).
class LayoutWindow : public DeviceMainDlg {
 public:
  using DeviceMainDlg::DeviceMainDlg;
  intptr_t OnInitDialog() override { return 1; }
};

// A headless main window over a wired rig, with the X server's raw input.
class X11LayoutToMouseTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!xvfb_.Running()) GTEST_SKIP() << "no X server for the layout tests: " << xvfb_.Failure();
    ASSERT_TRUE(source_.Start(hub_));
    DeviceMainServices services;
    services.db = &rig_.Db();
    services.devices = &rig_.Devices();
    services.clock = &rig_.Manual();
    services.texts = &texts_;
    services.raw_input = &hub_;
    window_ = std::make_unique<LayoutWindow>(services);
    window_->SetRuntime(&runtime_);
    // Created, so that raw input can be posted to it.
    ASSERT_TRUE(window_->Create(nullptr, L"TEVO TK410", 0, 0, PLKUI::MRect{0, 0, 1121, 780}));
    window_->current_device_type.store(101);
    window_->RefreshProfileList();
    window_->FillFunctionLists();
  }
  void TearDown() override {
    source_.Stop();
    window_.reset();
  }
  void UseLayout(const std::string& layout) {
    std::string why;
    ASSERT_TRUE(xvfb_.SetLayout(layout, &why)) << why;
    keyboard_ = std::make_unique<layouts::X11Keyboard>();
    ASSERT_TRUE(keyboard_->Ready());
  }
  // Taps the key and lets the window thread see its press and release.
  void Tap(int keycode) {
    keyboard_->Tap(keycode);
    ASSERT_EQ(waiter_.Next(2).size(), 2u) << "keycode " << keycode << " did not arrive";
    runtime_.PumpMessages();
  }
  // The 4-byte code the mouse holds for a button of the current profile.
  WiredKeyCode MouseCode(int key_code) {
    const auto slots = rig_.Firmware().Keys(window_->current_profile.load() - 1);
    const int slot = WiredKeySlot(key_code);
    WiredKeyCode code{};
    std::copy(slots.begin() + slot * 4, slots.begin() + slot * 4 + 4, code.begin());
    return code;
  }
  void Choose(int key_code, int kind) {
    auto* combo = window_->Control<PLKUI::MComboBox>(ctl::KeyComboId(key_code));
    ASSERT_NE(combo, nullptr);
    for (int i = 0; i < combo->GetItemCount(); ++i)
      if (combo->GetItemData(i) == kind) return combo->PerformSelect(i);
    FAIL() << "kind " << kind << " not offered";
  }

  testing::XvfbServer& xvfb_ = testing::SharedXvfb();
  WiredRig rig_;
  InMemoryLanguageTexts texts_{1033, {{351, L"Macro"}, {160, L"Keyboard key"}}};
  PLKUI::HeadlessRuntime runtime_;
  RawInputHub hub_;
  layouts::RawEventWaiter waiter_{hub_};
  X11RawInput source_;
  std::unique_ptr<layouts::X11Keyboard> keyboard_;
  std::unique_ptr<LayoutWindow> window_;
};

// Wired button code of a keyboard assignment: 0x10, modifier bits, HID
// usage, 0x00. The "2" key has usage 0x1F whatever the layout types with it.
TEST_F(X11LayoutToMouseTest, ButtonAssignedOnTheFrenchLayoutToEacuteSendsItsUsage) {
  UseLayout("fr");
  keyboard_->SetNumLock(false);
  std::wstring shown;
  runtime_.AnswerNextModalByEnd([&](PLKUI::MWindow& w) {
    auto& dialog = dynamic_cast<MouseKeyConfigDlg&>(w);
    auto* field = dialog.GetControlAs<PLKUI::MEdit>(MouseKeyConfigDlg::kKeyField);
    ASSERT_NE(field, nullptr);
    field->PerformEditEntered();
    Tap(kEacuteKey);
    shown = field->GetEditText();
    field->PerformEditFinished();
    dialog.GetControl(MouseKeyConfigDlg::kOk)->PerformClick();
  });
  Choose(4, kKindKeyboard);
  EXPECT_EQ(shown, L"é");

  KeyMacroRecord row;
  ASSERT_TRUE(rig_.Db().GetKeyRecord(window_->current_profile.load(), 0, 4, row));
  EXPECT_EQ(row.macro_type, kKindKeyboard);
  EXPECT_EQ(row.macro_value, 0x1F);
  EXPECT_EQ(row.macro_value2, 0);
  EXPECT_EQ(row.macro_desc, L"é");

  WiredRoutines(*window_).KeyDownload();
  EXPECT_EQ(MouseCode(4), (WiredKeyCode{0x10, 0x00, 0x1F, 0x00}));
}

// Wired macro entry: delay before the next entry, class (0x40 press, 0x02
// key, 0x80 last), code = HID usage. Keypad 1 with Num Lock on is 0x59.
TEST_F(X11LayoutToMouseTest, MacroRecordedFromKeypadOneWithNumLockOnPlaysItsUsage) {
  UseLayout("us");
  keyboard_->SetNumLock(true);
  window_->GetControl(ctl::kMacroNew)->PerformClick();
  window_->GetControl(ctl::kRecord)->PerformClick();
  ASSERT_TRUE(window_->MacroEditor().Recording());
  Tap(kKeypad1);
  window_->GetControl(ctl::kRecord)->PerformClick();
  ASSERT_FALSE(window_->MacroEditor().Recording());

  RecordList<MacroRecord> macros;
  ASSERT_EQ(rig_.Db().LoadMacros(macros), 1);
  RecordList<MacroEvent> steps;
  rig_.Db().LoadMacroEvents(macros[0]->macro_id, steps);
  ASSERT_EQ(steps.size(), 2u);
  EXPECT_EQ(steps[0]->value, 97);
  EXPECT_EQ(steps[0]->desc, L"↓  Num 1");

  EXPECT_TRUE(WiredRoutines(*window_).MacroDownload().Complete());
  const auto stored = rig_.Firmware().StoredMacros();
  ASSERT_EQ(stored.size(), 1u);
  ASSERT_EQ(stored[0].size(), 2u);
  EXPECT_EQ(stored[0][0].kind, 0x42);
  EXPECT_EQ(stored[0][0].code, 0x59);
  EXPECT_EQ(stored[0][1].kind, 0x82);
  EXPECT_EQ(stored[0][1].code, 0x59);
}

}  // namespace
}  // namespace tk410
