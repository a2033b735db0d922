// Macro files as the import reads them: any bytes are read as a new macro
// (or refused with nothing stored), exported again, and the macro written
// to a virtual mouse as the next write does. Inputs of even length go to the
// wired family, odd ones to the Nordic family.
//
// Checked: a refused file stores nothing; an imported macro exports to a
// file that imports as the same macro with the same steps.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "base/text.h"
#include "support/check.h"
#include "support/mouse_rig.h"
#include "support/scratch.h"
#include "xml/macro_file.h"

namespace {

using namespace tk410;

bool SameSteps(ConfigDatabase& db, int a, int b) {
  RecordList<MacroEvent> first, second;
  db.LoadMacroEvents(a, first);
  db.LoadMacroEvents(b, second);
  if (first.size() != second.size()) return false;
  for (size_t i = 0; i < first.size(); ++i) {
    const MacroEvent &x = *first[i], &y = *second[i];
    if (x.type != y.type || x.value != y.value || x.record_index != y.record_index ||
        x.delay_time != y.delay_time || x.desc != y.desc) {
      return false;
    }
  }
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  fuzz::MouseRig& rig = fuzz::RigForInput(size);
  ConfigDatabase& db = rig.Db();

  const std::string path =
      fuzz::WriteScratchFile("macro.xml", std::string_view(reinterpret_cast<const char*>(data), size));
  if (path.empty()) return 0;
  const MacroImportResult imported = ImportMacroFile(db, FromUtf8(path));
  RecordList<MacroRecord> macros;
  if (!imported.Added()) {
    TK410_FUZZ_CHECK(db.LoadMacros(macros) == 0);
    return 0;
  }
  TK410_FUZZ_CHECK(!imported.Refused() && db.LoadMacros(macros) == 1);

  const std::string exported = fuzz::ScratchDir() + "exported-macro.xml";
  TK410_FUZZ_CHECK(SaveMacroFile(db, FromUtf8(exported), imported.macro_id, imported.name));
  const MacroImportResult again = ImportMacroFile(db, FromUtf8(exported));
  TK410_FUZZ_CHECK(again.Added() && again.name == imported.name);
  MacroRecord a, b;
  TK410_FUZZ_CHECK(db.GetMacro(imported.macro_id, a) && db.GetMacro(again.macro_id, b));
  TK410_FUZZ_CHECK(a.play_type == b.play_type && a.play_times == b.play_times &&
                   a.delay_type == b.delay_type && a.delay_time == b.delay_time);
  TK410_FUZZ_CHECK(SameSteps(db, imported.macro_id, again.macro_id));

  rig.WriteToMouse(true);
  return 0;
}
