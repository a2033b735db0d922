// macro export and macro import: one macro as a file, through the window's
// own file routines (the file text, the file name with the clock's tick, the
// import with the macro page's limits).

#include "ctl/commands.h"

#include <cstdio>
#include <limits>

#include "assign/function_text.h"
#include "base/text.h"
#include "ctl/ctl_session.h"
#include "ctl/json_text.h"
#include "ctl/terminal_text.h"
#include "store/config_database.h"
#include "ui/device_main_dlg.h"
#include "xml/macro_file.h"

namespace tk410::ctl_tool {

namespace {

void Print(const std::string& line) { std::printf("%s\n", line.c_str()); }

}  // namespace

Outcome MacroExportCommand(Session& session, const Args& args) {
  long long id = 0;
  if (args.size() != 3 || !ParseInt(args[1], &id) || id < 1 || id > std::numeric_limits<int>::max()) {
    return Outcome::Fail(kExitUsage, "macro export needs a macro id and a folder");
  }
  ConfigDatabase& db = session.Db();
  MacroRecord macro;
  if (!db.GetMacro(static_cast<int>(id), macro)) return Outcome::Fail(kExitData, "no macro " + args[1]);
  // Under the name the macro list shows, as the window exports it.
  const std::wstring name = TranslateMacroName(macro.name, session.Texts());
  const std::wstring path = MacroExportPath(FromUtf8(args[2]), name, session.Window().GetClock().TickMs());
  if (!SaveMacroFile(db, path, static_cast<int>(id), name)) {
    return Outcome::Fail(kExitData, "cannot write " + TerminalText(path));
  }
  Print(session.Options().json ? "{\"file\":" + JsonString(path) + "}" : TerminalText(path));
  return Outcome::Ok();
}

Outcome MacroImportCommand(Session& session, const Args& args) {
  if (args.size() != 2) return Outcome::Fail(kExitUsage, "macro import needs one file");
  const MacroImportResult result = ImportMacroFile(session.Db(), FromUtf8(args[1]));
  const std::string file = TerminalText(args[1]);
  if (!result.file_chosen) return Outcome::Fail(kExitData, "cannot read the macro file " + file);
  if (!result.file_read) {
    return Outcome::Fail(kExitData, "cannot import " + file + ": it cannot be read or is not a macro file");
  }
  if (result.Refused()) {
    return Outcome::Fail(kExitData, "cannot import " + file + ": " + MacroRefusalText(result.limits));
  }
  if (!result.Added()) return Outcome::Fail(kExitData, "cannot store the macro of " + file);
  const std::string id = std::to_string(result.macro_id);
  Print(session.Options().json ? "{\"id\":" + id + ",\"name\":" + JsonString(result.name) + "}"
                               : id + " " + TerminalText(result.name));
  return Outcome::Ok();
}

}  // namespace tk410::ctl_tool
