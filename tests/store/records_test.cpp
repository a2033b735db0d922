// Button rows, lighting rows, macros and macro steps.

#include <gtest/gtest.h>

#include "store/store_fixture.h"

namespace tk410::testing {
namespace {

KeyMacroRecord Key(int profile, int key_code, int value, int value2 = 0) {
  KeyMacroRecord record;
  record.profile = profile;
  record.key_code = key_code;
  record.layout_value = 0x1234;
  record.layout_desc = L"Ctrl+C";
  record.macro_type = 3;
  record.macro_value = value;
  record.macro_value2 = value2;
  record.macro_value3 = 9;
  record.macro_desc = L"copy";
  return record;
}

TEST_F(StoreTest, ButtonRowsKeepOneRowPerButtonOnLayerZero) {
  ASSERT_TRUE(Open());
  const int first = db_.SaveKeyRecord(Key(1, 4, 6));
  ASSERT_GT(first, 0);
  KeyMacroRecord out;
  ASSERT_TRUE(db_.GetKeyRecord(1, 0, 4, out));
  EXPECT_EQ(out.key_id, first);
  EXPECT_EQ(out.profile, 1);
  EXPECT_EQ(out.fn_layer, 0);
  EXPECT_EQ(out.key_code, 4);
  EXPECT_EQ(out.layout_value, 0x1234);
  EXPECT_EQ(out.layout_desc, L"Ctrl+C");
  EXPECT_EQ(out.macro_type, 3);
  EXPECT_EQ(out.macro_value, 6);
  EXPECT_EQ(out.macro_value2, 0);
  EXPECT_EQ(out.macro_value3, 9);
  EXPECT_EQ(out.macro_desc, L"copy");

  // Saved again: still one row, with a new key_id.
  const int second = db_.SaveKeyRecord(Key(1, 4, 0, 5));
  EXPECT_GT(second, first);
  RecordList<KeyMacroRecord> keys;
  ASSERT_EQ(db_.LoadKeyRecords(1, 0, keys), 1);
  EXPECT_EQ(keys[0]->key_id, second);
  EXPECT_EQ(keys[0]->macro_value2, 5);

  // A layer other than 0 still reads layer 0.
  EXPECT_TRUE(db_.GetKeyRecord(1, 2, 4, out));
  EXPECT_EQ(db_.LoadKeyRecords(1, 7, keys), 1);
  EXPECT_TRUE(db_.UpdateKeyDesc(1, 3, 4, L"new text"));
  ASSERT_TRUE(db_.GetKeyRecord(1, 0, 4, out));
  EXPECT_EQ(out.macro_desc, L"new text");

  // Both values 0: the row goes, nothing is inserted, the result is 0.
  EXPECT_EQ(db_.SaveKeyRecord(Key(1, 4, 0, 0)), 0);
  out = KeyMacroRecord{};
  out.macro_desc = L"untouched";
  EXPECT_FALSE(db_.GetKeyRecord(1, 0, 4, out));
  EXPECT_EQ(out.macro_desc, L"untouched");
  EXPECT_EQ(db_.LoadKeyRecords(1, 0, keys), 0);
}

TEST_F(StoreTest, DeleteProfileKeysTouchesOnlyThatProfile) {
  ASSERT_TRUE(Open());
  for (int code = 1; code <= 11; ++code) {
    ASSERT_GT(db_.SaveKeyRecord(Key(1, code, code)), 0);
    ASSERT_GT(db_.SaveKeyRecord(Key(2, code, code)), 0);
  }
  RecordList<KeyMacroRecord> keys;
  EXPECT_EQ(db_.LoadKeyRecords(1, 0, keys), 11);
  EXPECT_TRUE(db_.DeleteProfileKeys(1));
  EXPECT_EQ(db_.LoadKeyRecords(1, 0, keys), 0);
  EXPECT_EQ(db_.LoadKeyRecords(2, 0, keys), 11);
}

TEST_F(StoreTest, FailedButtonInsertKeepsTheOldAssignment) {
  ASSERT_TRUE(Open());
  const int old_id = db_.SaveKeyRecord(Key(1, 3, 8));
  ASSERT_GT(old_id, 0);
  {
    RawDb raw(FilePath());
    ASSERT_EQ(raw.Exec("CREATE TRIGGER refuse BEFORE INSERT ON t_key_macro_data "
                       "WHEN NEW.macro_desc = 'boom' BEGIN SELECT RAISE(ABORT, 'x'); END"),
              0);
  }
  KeyMacroRecord failing = Key(1, 3, 99);
  failing.macro_desc = L"boom";
  EXPECT_EQ(db_.SaveKeyRecord(failing), 0);
  KeyMacroRecord out;
  ASSERT_TRUE(db_.GetKeyRecord(1, 0, 3, out));
  EXPECT_EQ(out.key_id, old_id);
  EXPECT_EQ(out.macro_value, 8);

  // The connection is left usable: the next save of that button works.
  EXPECT_GT(db_.SaveKeyRecord(Key(1, 3, 10)), old_id);
  ASSERT_TRUE(db_.GetKeyRecord(1, 0, 3, out));
  EXPECT_EQ(out.macro_value, 10);
}

TEST_F(StoreTest, LightingOperationsWithAndWithoutRows) {
  ASSERT_TRUE(Open());
  // No lighting rows at all: nothing found, updates succeed and change nothing.
  LightRecord light;
  light.brightness = 3;
  EXPECT_EQ(db_.GetActiveLightMode(1), 0);
  EXPECT_TRUE(db_.UpdateLight(1, 2, light));
  EXPECT_TRUE(db_.SetActiveLightMode(1, 2));
  EXPECT_FALSE(db_.GetLight(1, 2, light));
  RecordList<LightRecord> lights;
  EXPECT_EQ(db_.LoadLights(1, lights), 0);

  {
    RawDb raw(FilePath());
    for (int mode = 1; mode <= 3; ++mode) {
      ASSERT_EQ(raw.Exec("INSERT INTO t_light_data(profile, name, mode, status) VALUES (1, 'm" +
                         std::to_string(mode) + "', " + std::to_string(mode) + ", " +
                         (mode == 1 ? "1" : "0") + ")"),
                0);
    }
    ASSERT_EQ(raw.Exec("INSERT INTO t_light_data(profile, mode, status) VALUES (2, 2, 1)"), 0);
  }
  EXPECT_EQ(db_.GetActiveLightMode(1), 1);
  EXPECT_TRUE(db_.SetActiveLightMode(1, 3));
  EXPECT_EQ(db_.GetActiveLightMode(1), 3);
  EXPECT_EQ(db_.GetActiveLightMode(2), 2);  // other profile untouched

  LightRecord update;
  update.name = L"ignored";
  update.status = 0;
  update.brightness = 4;
  update.speed = 5;
  update.direction = 6;
  update.colorful = 1;
  update.colorindex = 7;
  update.color_value = 0xFF8000;
  update.config_func = 8;
  update.reserved = 9;
  EXPECT_TRUE(db_.UpdateLight(1, 3, update));
  LightRecord out;
  ASSERT_TRUE(db_.GetLight(1, 3, out));
  EXPECT_EQ(out.profile, 1);
  EXPECT_EQ(out.name, L"m3");  // name and status are not updated
  EXPECT_EQ(out.mode, 3);
  EXPECT_EQ(out.status, 1);
  EXPECT_EQ(out.brightness, 4);
  EXPECT_EQ(out.speed, 5);
  EXPECT_EQ(out.direction, 6);
  EXPECT_EQ(out.colorful, 1);
  EXPECT_EQ(out.colorindex, 7);
  EXPECT_EQ(out.color_value, 0xFF8000);
  EXPECT_EQ(out.config_func, 8);
  EXPECT_EQ(out.reserved, 9);
  EXPECT_EQ(db_.LoadLights(1, lights), 3);
  EXPECT_EQ(lights[2]->light_id, out.light_id);
}

MacroEvent Step(int macro_id, int index, int value) {
  MacroEvent event;
  event.record_id = 999;  // ignored by the inserts
  event.macro_id = macro_id;
  event.type = 1;
  event.record_index = index;
  event.value = value;
  event.delay_time = 10 * index;
  event.desc = L"A";
  return event;
}

TEST_F(StoreTest, MacrosAndTheirSteps) {
  ASSERT_TRUE(Open());
  const int first = db_.AddMacro(L"first");
  ASSERT_EQ(first, 1);
  MacroRecord out;
  ASSERT_TRUE(db_.GetMacro(first, out));
  EXPECT_EQ(out.name, L"first");
  EXPECT_EQ(out.play_type, 0);
  EXPECT_EQ(out.play_times, 1);
  EXPECT_EQ(out.delay_type, 1);
  EXPECT_EQ(out.delay_time, 0);

  MacroRecord record;
  record.macro_id = 77;  // ignored
  record.name = L"second";
  record.play_type = 2;
  record.play_times = 5;
  record.delay_type = 0;
  record.delay_time = 30;
  const int second = db_.AddMacro(record);
  ASSERT_EQ(second, 2);
  EXPECT_TRUE(db_.RenameMacro(first, L"renamed"));
  record.name = L"updated";
  record.play_times = 9;
  EXPECT_TRUE(db_.UpdateMacro(second, record));
  RecordList<MacroRecord> macros;
  ASSERT_EQ(db_.LoadMacros(macros), 2);
  EXPECT_EQ(macros[0]->name, L"renamed");
  EXPECT_EQ(macros[1]->macro_id, 2);
  EXPECT_EQ(macros[1]->name, L"updated");
  EXPECT_EQ(macros[1]->play_type, 2);
  EXPECT_EQ(macros[1]->play_times, 9);
  EXPECT_EQ(macros[1]->delay_time, 30);

  // Steps inserted out of order come back sorted by record_index.
  EXPECT_GT(db_.AddMacroEvent(Step(first, 2, 20)), 0);
  db_.AddMacroEvents({Step(first, 0, 0), Step(first, 3, 30), Step(first, 1, 10),
                      Step(second, 0, 5)});
  RecordList<MacroEvent> steps;
  ASSERT_EQ(db_.LoadMacroEvents(first, steps), 4);
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(steps[i]->record_index, i);
    EXPECT_EQ(steps[i]->value, 10 * i);
    EXPECT_EQ(steps[i]->delay_time, 10 * i);
    EXPECT_EQ(steps[i]->macro_id, first);
    EXPECT_EQ(steps[i]->desc, L"A");
    EXPECT_NE(steps[i]->record_id, 999);
  }

  // Deleting a macro removes its steps and only its steps.
  EXPECT_TRUE(db_.DeleteMacro(first));
  EXPECT_FALSE(db_.GetMacro(first, out));
  EXPECT_EQ(db_.LoadMacroEvents(first, steps), 0);
  EXPECT_EQ(db_.LoadMacroEvents(second, steps), 1);
  EXPECT_TRUE(db_.DeleteMacroEvents(second));
  EXPECT_EQ(db_.LoadMacroEvents(second, steps), 0);
}

TEST_F(StoreTest, MacroInsertFailuresGiveZeroAndStepListGoesOn) {
  ASSERT_TRUE(Open());
  {
    RawDb raw(FilePath());
    ASSERT_EQ(raw.Exec("CREATE TRIGGER refuse_macro BEFORE INSERT ON t_macro_data "
                       "WHEN NEW.name = 'bad' BEGIN SELECT RAISE(ABORT, 'x'); END"),
              0);
    ASSERT_EQ(raw.Exec("CREATE TRIGGER refuse_step BEFORE INSERT ON t_macrorecord "
                       "WHEN NEW.value = 666 BEGIN SELECT RAISE(ABORT, 'x'); END"),
              0);
  }
  ASSERT_EQ(db_.AddMacro(L"good"), 1);
  EXPECT_EQ(db_.AddMacro(L"bad"), 0);
  EXPECT_EQ(db_.AddMacroEvent(Step(1, 0, 666)), 0);

  // One failing step: the others are inserted and committed.
  db_.AddMacroEvents({Step(1, 0, 1), Step(1, 1, 666), Step(1, 2, 3)});
  RecordList<MacroEvent> steps;
  ASSERT_EQ(db_.LoadMacroEvents(1, steps), 2);
  EXPECT_EQ(steps[0]->value, 1);
  EXPECT_EQ(steps[1]->value, 3);
  RawDb raw(FilePath());
  EXPECT_EQ(raw.Int("SELECT count(*) FROM t_macrorecord"), 2);  // visible to others
}

}  // namespace
}  // namespace tk410::testing
