#include "macro/macro_model.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "app/lang_text.h"
#include "assign/wired_key_store.h"
#include "macro/macro_steps.h"
#include "store/config_database.h"
#include "support/temp_dir.h"

namespace tk410 {
namespace {

class MacroModelTest : public ::testing::Test {
 protected:
  MacroModelTest() : texts_(2052, {{351, L"自定义"}, {31, L"复制"}}) {
    std::filesystem::create_directories(dir_.path() / "db");
    EXPECT_TRUE(db_.OpenForDevice(dir_.wide(), L"TK410"));
  }

  int MacroCount() {
    RecordList<MacroRecord> macros;
    return db_.LoadMacros(macros);
  }

  void AssignMacro(int profile, int key_code, int macro_id, const std::wstring& text) {
    KeyMacroRecord row;
    row.profile = profile;
    row.key_code = key_code;
    row.macro_type = 23;
    row.macro_value = macro_id;
    row.macro_desc = text;
    ASSERT_NE(db_.SaveKeyRecord(row), 0);
  }

  std::wstring KeyText(int profile, int key_code) {
    KeyMacroRecord row;
    return db_.GetKeyRecord(profile, 0, key_code, row) ? row.macro_desc : L"<none>";
  }

  testing::TempDir dir_;
  ConfigDatabase db_;
  InMemoryLanguageTexts texts_;
};

TEST_F(MacroModelTest, NewMacrosAreNumberedAndCopiesKeepEveryStep) {
  const MacroAddResult first = CreateMacro(db_, texts_);
  ASSERT_EQ(first.status, MacroChange::Done);
  EXPECT_EQ(first.name, L"自定义 1");
  MacroRecord stored;
  ASSERT_TRUE(db_.GetMacro(first.macro_id, stored));
  EXPECT_EQ(stored.name, L"自定义 1");
  EXPECT_EQ(stored.play_type, 0);
  EXPECT_EQ(stored.play_times, 1);
  EXPECT_EQ(stored.delay_type, 1);
  EXPECT_EQ(stored.delay_time, 0);
  EXPECT_EQ(CreateMacro(db_, texts_).name, L"自定义 2");

  stored.play_type = 0;
  stored.play_times = 7;
  stored.delay_type = 2;
  stored.delay_time = 250;
  ASSERT_TRUE(db_.UpdateMacro(first.macro_id, stored));
  std::vector<MacroEvent> steps;
  for (int i = 0; i < kMaxMacroSteps; ++i) {
    MacroEvent step;
    step.macro_id = first.macro_id;
    step.type = 1 + i % 5;
    step.record_index = i;
    step.value = 65 + i % 26;
    step.delay_time = 100000 + i / 2;  // down/up pairs share a timestamp
    step.desc = PressStepText(i % 2 == 0, L"K" + std::to_wstring(i));
    steps.push_back(step);
  }
  db_.AddMacroEvents(steps);

  const MacroAddResult copy = CopyMacro(db_, texts_, first.macro_id);
  ASSERT_EQ(copy.status, MacroChange::Done);
  EXPECT_EQ(copy.name, L"自定义 1 复制");
  MacroRecord copied;
  ASSERT_TRUE(db_.GetMacro(copy.macro_id, copied));
  EXPECT_EQ(copied.play_times, 7);
  EXPECT_EQ(copied.delay_type, 2);
  EXPECT_EQ(copied.delay_time, 250);
  RecordList<MacroEvent> copied_steps;
  ASSERT_EQ(db_.LoadMacroEvents(copy.macro_id, copied_steps), kMaxMacroSteps);
  for (int i = 0; i < kMaxMacroSteps; ++i) {
    EXPECT_EQ(copied_steps[i]->macro_id, copy.macro_id);
    EXPECT_EQ(copied_steps[i]->record_index, i);
    EXPECT_EQ(copied_steps[i]->type, steps[i].type);
    EXPECT_EQ(copied_steps[i]->value, steps[i].value);
    EXPECT_EQ(copied_steps[i]->delay_time, steps[i].delay_time);
    EXPECT_EQ(copied_steps[i]->desc, steps[i].desc);
  }
  RecordList<MacroEvent> source_steps;
  EXPECT_EQ(db_.LoadMacroEvents(first.macro_id, source_steps), kMaxMacroSteps);
  EXPECT_EQ(CopyMacro(db_, texts_, 999).status, MacroChange::NotFound);
}

TEST_F(MacroModelTest, The33rdMacroIsRefused) {
  for (int i = 0; i < kMaxMacros; ++i) ASSERT_EQ(CreateMacro(db_, texts_).status, MacroChange::Done);
  EXPECT_EQ(CreateMacro(db_, texts_).status, MacroChange::LimitReached);
  RecordList<MacroRecord> macros;
  db_.LoadMacros(macros);
  EXPECT_EQ(macros.back()->name, L"自定义 32");
  EXPECT_EQ(CopyMacro(db_, texts_, macros.front()->macro_id).status, MacroChange::LimitReached);
  EXPECT_EQ(MacroCount(), kMaxMacros);
}

TEST_F(MacroModelTest, RenameUpdatesButtonTextsOfTheCurrentProfileOnly) {
  const int id = CreateMacro(db_, texts_).macro_id;
  const int other = CreateMacro(db_, texts_).macro_id;
  AssignMacro(1, 4, id, L"自定义 1");
  AssignMacro(2, 4, id, L"自定义 1");
  AssignMacro(2, 5, id, L"自定义 1");
  AssignMacro(2, 7, other, L"自定义 2");
  KeyMacroRecord shortcut;  // a non-macro row whose value equals the id
  shortcut.profile = 2;
  shortcut.key_code = 8;
  shortcut.macro_type = 26;
  shortcut.macro_value = id;
  shortcut.macro_desc = L"185";
  ASSERT_NE(db_.SaveKeyRecord(shortcut), 0);

  EXPECT_EQ(RenameMacroAndButtons(db_, 2, id, L"Jump"), MacroChange::Done);
  MacroRecord stored;
  ASSERT_TRUE(db_.GetMacro(id, stored));
  EXPECT_EQ(stored.name, L"Jump");
  EXPECT_EQ(KeyText(2, 4), L"Jump");
  EXPECT_EQ(KeyText(2, 5), L"Jump");
  EXPECT_EQ(KeyText(1, 4), L"自定义 1");
  EXPECT_EQ(KeyText(2, 7), L"自定义 2");
  EXPECT_EQ(KeyText(2, 8), L"185");

  // An empty name changes nothing.
  EXPECT_EQ(RenameMacroAndButtons(db_, 2, id, L""), MacroChange::Failed);
  ASSERT_TRUE(db_.GetMacro(id, stored));
  EXPECT_EQ(stored.name, L"Jump");
  EXPECT_EQ(KeyText(2, 4), L"Jump");
  EXPECT_EQ(RenameMacroAndButtons(db_, 2, 999, L"x"), MacroChange::NotFound);
}

// Macro code 70 pos count mode: the position follows the macro list order.
TEST_F(MacroModelTest, DeletingTheFirstOfThreeMovesTheOthersForward) {
  const int a = CreateMacro(db_, texts_).macro_id;
  const int b = CreateMacro(db_, texts_).macro_id;
  const int c = CreateMacro(db_, texts_).macro_id;
  MacroEvent step;
  step.macro_id = a;
  step.type = 1;
  step.value = 10;
  ASSERT_NE(db_.AddMacroEvent(step), 0);
  auto code_of = [&](int macro_id) {
    KeyMacroRecord row;
    row.key_code = 1;
    row.macro_type = 23;
    row.macro_value = macro_id;
    return EncodeWiredKey(db_, row);
  };
  EXPECT_EQ(code_of(b), (WiredKeyCode{0x70, 1, 1, 0}));
  EXPECT_EQ(code_of(c), (WiredKeyCode{0x70, 2, 1, 0}));

  EXPECT_EQ(RemoveMacro(db_, a), MacroChange::Done);
  EXPECT_EQ(code_of(b), (WiredKeyCode{0x70, 0, 1, 0}));
  EXPECT_EQ(code_of(c), (WiredKeyCode{0x70, 1, 1, 0}));
  EXPECT_EQ(code_of(a), (WiredKeyCode{0x70, 0, 0, 0}));
  RecordList<MacroEvent> steps;
  EXPECT_EQ(db_.LoadMacroEvents(a, steps), 0);
  EXPECT_EQ(MacroCount(), 2);
  EXPECT_EQ(RemoveMacro(db_, 0), MacroChange::NotFound);
}

}  // namespace
}  // namespace tk410
