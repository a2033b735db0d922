#pragma once
// Creating, copying, renaming and deleting macros in the settings database,
// with the naming rules of new and copied macros and the button texts that
// follow a rename.

#include <string>

namespace tk410 {

class ConfigDatabase;
class LanguageTexts;

// Text 351, a space and macro_count + 1 ("%s %d").
std::wstring NewMacroName(const LanguageTexts& texts, int macro_count);
// The source name, a space and text 31.
std::wstring CopyMacroName(const std::wstring& source_name, const LanguageTexts& texts);

enum class MacroChange {
  Done,
  LimitReached,  // 32 macros exist already; nothing changed
  NotFound,      // no macro with that id
  Failed,        // the database refused the change
};

struct MacroAddResult {
  MacroChange status = MacroChange::Failed;
  int macro_id = 0;
  std::wstring name;
};

// A new macro: the next default name, play_type 0, play_times 1,
// delay_type 1, delay_time 0, no steps.
MacroAddResult CreateMacro(ConfigDatabase& db, const LanguageTexts& texts);

// A copy of macro `source_id`: its name with the copy word, its play and delay
// settings, and every step with unchanged index, text, value and timestamp.
MacroAddResult CopyMacro(ConfigDatabase& db, const LanguageTexts& texts, int source_id);

// Stores a new name. Before that, every macro assignment of `profile` (layer 0)
// that names this macro shows the new name; other profiles keep their texts.
// An empty name is refused and changes nothing.
MacroChange RenameMacroAndButtons(ConfigDatabase& db, int profile, int macro_id,
                                  const std::wstring& name);

// Removes the macro and its steps; assignments naming it stay as they are.
MacroChange RemoveMacro(ConfigDatabase& db, int macro_id);

}  // namespace tk410
