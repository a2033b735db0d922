#include "macro/macro_model.h"

#include <vector>

#include "app/lang_text.h"
#include "assign/button_function.h"
#include "base/text.h"
#include "macro/macro_steps.h"
#include "store/config_database.h"

namespace tk410 {
namespace {

constexpr int kTextNewMacro = 351;
constexpr int kTextCopy = 31;

bool AtMacroLimit(ConfigDatabase& db) {
  RecordList<MacroRecord> macros;
  return db.LoadMacros(macros) >= kMaxMacros;
}

}  // namespace

std::wstring NewMacroName(const LanguageTexts& texts, int macro_count) {
  return texts.GetLangText(kTextNewMacro) + L" " + FormatInt(macro_count + 1);
}

std::wstring CopyMacroName(const std::wstring& source_name, const LanguageTexts& texts) {
  return source_name + L" " + texts.GetLangText(kTextCopy);
}

MacroAddResult CreateMacro(ConfigDatabase& db, const LanguageTexts& texts) {
  RecordList<MacroRecord> macros;
  const int count = db.LoadMacros(macros);
  if (count >= kMaxMacros) return {MacroChange::LimitReached, 0, {}};

  MacroRecord macro;
  macro.name = NewMacroName(texts, count);
  macro.play_type = kPlayRepeat;
  macro.play_times = 1;
  macro.delay_type = kDelayRecorded;
  macro.delay_time = 0;
  const int id = db.AddMacro(macro);
  if (id <= 0) return {MacroChange::Failed, 0, {}};
  return {MacroChange::Done, id, macro.name};
}

MacroAddResult CopyMacro(ConfigDatabase& db, const LanguageTexts& texts, int source_id) {
  if (AtMacroLimit(db)) return {MacroChange::LimitReached, 0, {}};
  MacroRecord copy;
  if (!db.GetMacro(source_id, copy)) return {MacroChange::NotFound, 0, {}};
  copy.name = CopyMacroName(copy.name, texts);
  const int id = db.AddMacro(copy);
  if (id <= 0) return {MacroChange::Failed, 0, {}};

  RecordList<MacroEvent> steps;
  db.LoadMacroEvents(source_id, steps);
  std::vector<MacroEvent> copied;
  copied.reserve(steps.size());
  for (const auto& step : steps) {
    MacroEvent event = *step;
    event.record_id = 0;
    event.macro_id = id;
    copied.push_back(std::move(event));
  }
  if (!copied.empty()) db.AddMacroEvents(copied);
  return {MacroChange::Done, id, copy.name};
}

MacroChange RenameMacroAndButtons(ConfigDatabase& db, int profile, int macro_id,
                                  const std::wstring& name) {
  if (name.empty()) return MacroChange::Failed;
  MacroRecord macro;
  if (!db.GetMacro(macro_id, macro)) return MacroChange::NotFound;

  RecordList<KeyMacroRecord> keys;
  db.LoadKeyRecords(profile, 0, keys);
  for (const auto& key : keys)
    if (key->macro_type == kKindMacro && key->macro_value == macro_id)
      db.UpdateKeyDesc(profile, 0, key->key_code, name);
  return db.RenameMacro(macro_id, name) ? MacroChange::Done : MacroChange::Failed;
}

MacroChange RemoveMacro(ConfigDatabase& db, int macro_id) {
  if (macro_id <= 0) return MacroChange::NotFound;
  return db.DeleteMacro(macro_id) ? MacroChange::Done : MacroChange::Failed;
}

}  // namespace tk410
