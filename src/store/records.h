#pragma once
// In-memory rows of the settings database. Every field starts at 0 / empty.
// Lists are vectors of owned records; a loader first empties the vector.

#include <memory>
#include <string>
#include <vector>

namespace tk410 {

// A row of t_profile_data.
struct ProfileRecord {
  int profile = 0;
  std::wstring name;
  std::wstring app;
  int type = 0;
  int status = 0;
};

// A row of t_key_macro_data: what one button of one profile does.
struct KeyMacroRecord {
  int key_id = 0;
  int profile = 0;
  int fn_layer = 0;
  int key_code = 0;
  int layout_value = 0;
  std::wstring layout_desc;
  int macro_type = 0;
  int macro_value = 0;
  int macro_value2 = 0;
  int macro_value3 = 0;
  std::wstring macro_desc;
};

// A row of t_light_data.
struct LightRecord {
  int light_id = 0;
  int profile = 0;
  std::wstring name;
  int mode = 0;
  int brightness = 0;
  int speed = 0;
  int direction = 0;
  int colorful = 0;
  int colorindex = 0;
  int color_value = 0;
  int config_func = 0;
  int reserved = 0;
  int status = 0;
};

// A row of t_macro_data.
struct MacroRecord {
  int macro_id = 0;
  std::wstring name;
  int play_type = 0;
  int play_times = 0;
  int delay_type = 0;
  int delay_time = 0;
};

// A row of t_macrorecord: one macro step. delay_time is the step's timestamp
// (a pairing key shared by a down/up pair), not a delay.
struct MacroEvent {
  int record_id = 0;
  int macro_id = 0;
  int type = 0;
  int record_index = 0;
  int value = 0;
  int delay_time = 0;
  std::wstring desc;
};

// A row of t_app_rule: which profile the mouse takes while a program's
// window is in front. match_type says what match_text names (see
// rules/app_rule.h); profile 0 is never stored.
struct AppRuleRecord {
  int rule_id = 0;
  int match_type = 0;
  std::wstring match_text;
  int profile = 0;
};

template <typename T>
using RecordList = std::vector<std::unique_ptr<T>>;

}  // namespace tk410
