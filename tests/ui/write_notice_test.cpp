// The notice after a write to the mouse: it says so when macros of the
// database did not fit into the mouse (more than 32, or a full macro image).

#include <gtest/gtest.h>

#include "base/text.h"
#include "assign/button_function.h"
#include "device/scripted_firmware.h"
#include "device/wired_layout.h"
#include "macro/macro_steps.h"
#include "sim/virtual_nordic_device.h"
#include "sync/sync_task.h"
#include "ui/message_box.h"
#include "window_fixture.h"

namespace tk410::testing {
namespace {

TEST(WrittenNoticeTest, SecondLineOnlyWhenMacrosAreMissing) {
  struct Case {
    MacroShortfall shortfall;
    std::wstring text;
    std::wstring expected;
  };
  const Case cases[] = {
      {{0, 0}, L"%d of %d", L"done"},
      {{32, 32}, L"%d of %d", L"done"},
      {{32, 40}, L"%d of %d", L"done\n32 of 40"},
      {{5, 7}, L"only %d", L"done\nonly 5"},
      // Only "%d" is replaced: a stray "%s" in a language file stays text.
      {{1, 2}, L"%s %d %d %d", L"done\n%s 1 2 %d"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(WrittenNotice(L"done", c.text, c.shortfall), c.expected) << ToUtf8(c.text);
  }
}

TEST(WrittenNoticeTest, ShortfallTravelsInTheMessageParameter) {
  EXPECT_EQ((MacroShortfall{32, 32}).ToParam(), 0u);
  EXPECT_EQ((MacroShortfall{40, 33}).ToParam(), 0u);
  const MacroShortfall back = MacroShortfall::FromParam((MacroShortfall{32, 300}).ToParam());
  EXPECT_EQ(back.written, 32);
  EXPECT_EQ(back.given, 300);
  EXPECT_FALSE(MacroShortfall::FromParam(0).Any());
}

// Answers the message box the window shows next with OK; its title and text.
std::pair<std::wstring, std::wstring> AnswerNotice(PLKUI::HeadlessRuntime& runtime) {
  std::wstring title, body;
  runtime.AnswerNextModal(1, [&](PLKUI::MWindow& w) {
    auto& box = dynamic_cast<PLKUI::MDialog&>(w);
    title = box.GetControlAs<PLKUI::MText>(CUIMessageBox::kTitle)->GetTitle();
    body = box.GetControlAs<PLKUI::MText>(CUIMessageBox::kMessage)->GetTitle();
  });
  runtime.PumpMessages();
  return {title, body};
}

// The window after start-up with a mouse; the written notice's texts.
class NoticeFixture : public WindowFixture {
 protected:
  void SetUpWindow() {
    texts_.SetText(115, L"Saved");
    texts_.SetText(210, L"Written.");
    texts_.SetText(909, L"Only %d of %d macros fit.");
    MakeWindow();
    StartUp();
    RunQueue();  // the initial read
  }

  // `count` macros of `presses` key presses each (A down, A up); their ids.
  std::vector<int> AddMacros(int count, int presses = 1) {
    std::vector<int> ids;
    for (int i = 0; i < count; ++i) {
      const int id = db_.AddMacro(L"m" + FormatInt(i));
      EXPECT_GT(id, 0);
      std::vector<MacroEvent> steps;
      for (int p = 0; p < presses; ++p) {
        MacroEvent down;
        down.macro_id = id;
        down.type = static_cast<int>(MacroEventType::KeyDown);
        down.value = 0x41;
        down.record_index = 2 * p;
        MacroEvent up = down;
        up.type = static_cast<int>(MacroEventType::KeyUp);
        up.record_index = 2 * p + 1;
        steps.push_back(down);
        steps.push_back(up);
      }
      db_.AddMacroEvents(steps);
      ids.push_back(id);
    }
    return ids;
  }
  void AssignMacro(int key_code, int macro_id) {
    KeyMacroRecord row;
    row.profile = window_->current_profile.load();
    row.key_code = key_code;
    row.macro_type = kKindMacro;
    row.macro_value = macro_id;
    db_.SaveKeyRecord(row);
  }

  // Runs WriteAll on the worker's turn and returns the notice's body.
  std::wstring WriteAndReadNotice() {
    window_->Enqueue(kTaskWriteAll);
    RunQueue();
    const auto [title, body] = AnswerNotice(runtime_);
    EXPECT_EQ(title, L"Saved");
    return body;
  }

};

class WriteNoticeTest : public NoticeFixture {
 protected:
  void SetUp() override {
    mouse_ = AttachMouse();
    SetUpWindow();
  }

  size_t MacrosInMouse() {
    return mouse_->WithFirmware([](WiredFirmware& f) { return f.StoredMacros().size(); });
  }

  std::shared_ptr<VirtualWiredMouse> mouse_;
};

TEST_F(WriteNoticeTest, AllMacrosWrittenShowsThePlainNotice) {
  AddMacros(32);
  EXPECT_EQ(WriteAndReadNotice(), L"Written.");
  EXPECT_EQ(window_->results, (std::vector<intptr_t>{1}));
  EXPECT_EQ(MacrosInMouse(), 32u);
}

TEST_F(WriteNoticeTest, MoreMacrosThanTheMouseHoldsAreNamedInTheNotice) {
  AddMacros(34);
  EXPECT_EQ(WriteAndReadNotice(), L"Written.\nOnly 32 of 34 macros fit.");
  EXPECT_EQ(MacrosInMouse(), 32u);  // the ones that fit
}

// A macro too large for the rest of the image is left out with every later
// one (their table entries stay 0): a button of such a macro keeps its
// default code instead of naming a macro the mouse does not hold.
TEST_F(WriteNoticeTest, ButtonOfAMacroLeftOutOfAFullImageKeepsItsDefault) {
  const int small = AddMacros(1).front();
  const int huge = AddMacros(1, 600).front();  // 1200 entries: more than the image holds
  AssignMacro(2, small);
  AssignMacro(1, huge);
  EXPECT_EQ(WriteAndReadNotice(), L"Written.\nOnly 1 of 2 macros fit.");
  const auto keys = mouse_->WithFirmware([](WiredFirmware& f) { return f.Keys(0); });
  const auto& defaults = WiredKeyTable::DefaultCodes();
  EXPECT_EQ(std::vector<uint8_t>(keys.begin(), keys.begin() + 4),
            std::vector<uint8_t>(defaults[0].begin(), defaults[0].end()));
  EXPECT_EQ(std::vector<uint8_t>(keys.begin() + 4, keys.begin() + 8),
            (std::vector<uint8_t>{0x70, 0x00, 0x01, 0x00}));  // the small macro, position 0
}

// The Nordic family: a macro above 246 steps reaches the mouse cut short, and
// the notice says that not every macro fit, as for the wired family.
class NordicWriteNoticeTest : public NoticeFixture {
 protected:
  void SetUp() override {
    auto mouse = std::make_shared<VirtualNordicDevice>(VirtualNordicDevice::Direct());
    bus_->Attach(mouse);
    product_type_ = 201;
    SetUpWindow();
  }
};

TEST_F(NordicWriteNoticeTest, MacroCutShortIsNamedInTheNotice) {
  ASSERT_TRUE(window_->IsNordicFamily());
  ASSERT_TRUE(window_->connected.load());
  const int small = AddMacros(1).front();
  AssignMacro(4, small);
  EXPECT_EQ(WriteAndReadNotice(), L"Written.");

  const int big = AddMacros(1, 150).front();  // 300 steps
  AssignMacro(5, big);
  EXPECT_EQ(WriteAndReadNotice(), L"Written.\nOnly 1 of 2 macros fit.");
  EXPECT_EQ(window_->macros_not_written.Get(), std::vector<int>{big});
}

// The mouse stops answering in the middle of a write: the notice says the
// settings were not all written, and a restore against the silent mouse
// says so too. Neither claims success.
class WriteFailureNoticeTest : public WindowFixture {
 protected:
  void SetUp() override {
    for (const auto& [id, text] : std::vector<std::pair<int, std::wstring>>{
             {115, L"Saved"}, {210, L"Written."}, {112, L"Restore"}, {212, L"Restored."},
             {950, L"Not written"}, {951, L"The mouse stopped answering."},
             {952, L"Not restored"}, {953, L"The mouse stopped answering during the restore."}}) {
      texts_.SetText(id, text);
    }
    attach_ids_.push_back(bus_->Attach(mouse_.Device()));
    MakeWindow();
    StartUp();
    RunQueue();  // the initial read
  }

  std::pair<std::wstring, std::wstring> RunAndReadNotice(int task) {
    window_->Enqueue(task);
    RunQueue();
    return AnswerNotice(runtime_);
  }

  ScriptedWiredMouse mouse_;
};

TEST_F(WriteFailureNoticeTest, SilentMouseIsReportedAsNotWritten) {
  // A normal write first: the plain notice.
  EXPECT_EQ(RunAndReadNotice(kTaskWriteAll), std::make_pair(std::wstring(L"Saved"), std::wstring(L"Written.")));

  // From the fourth request of the next write on, nothing comes back.
  const int first = static_cast<int>(mouse_.Written().size()) + 1;
  mouse_.SetShaper([first](int n, const std::vector<uint8_t>&, std::vector<ScriptedReport>& reports,
                           WiredFirmware&) {
    if (n >= first + 3) reports.clear();
  });
  EXPECT_EQ(RunAndReadNotice(kTaskWriteAll),
            std::make_pair(std::wstring(L"Not written"), std::wstring(L"The mouse stopped answering.")));
  EXPECT_EQ(RunAndReadNotice(kTaskRestoreProfile),
            std::make_pair(std::wstring(L"Not restored"),
                           std::wstring(L"The mouse stopped answering during the restore.")));
  ASSERT_EQ(window_->results.size(), 3u);
  EXPECT_EQ(window_->results[0], 1);
  EXPECT_NE(window_->results[1], 1);
  EXPECT_NE(window_->results[2], 2);
}

}  // namespace
}  // namespace tk410::testing
