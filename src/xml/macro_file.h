#pragma once
// Macro files: one macro with its steps written to an XML file in a chosen
// folder, and such a file read back as a new macro.
//
// Layout (UTF-8 without byte-order mark, one element per line, CR LF, no
// indentation; every value an attribute, numbers in decimal):
//   <macro>
//   <macroinfo macro_name macro_type play_times delay_type delay_time/>
//   <macroitems>     one <item desc index type value timestamp/> per step,
//   </macroitems>    in ascending step index
//   </macro>
// macro_type carries the macro's play_type; an item's timestamp its
// delay_time.

#include <cstdint>
#include <string>
#include <string_view>

#include "base/clock.h"
#include "macro/macro_limits.h"
#include "platform/file_dialogs.h"
#include "store/config_database.h"

namespace tk410 {

extern const FileFilter kMacroImportFilter;  // "Macros (*.xml)"
inline constexpr wchar_t kMacroFolderTitle[] = L"Macro";

// A file-name-safe form of a macro name: path separators, characters that
// file systems refuse (< > : " / \ | ? * and control characters) become '_',
// leading dots (hidden files, "." and "..") and trailing dots and spaces
// become '_' too, an empty name becomes "_", and the result is cut to
// `max_utf8_bytes` bytes of UTF-8. It never names a folder other than a plain
// entry of the folder it is put in.
std::wstring SafeFileName(std::wstring_view name, size_t max_utf8_bytes = 200);

// "<folder>/<safe name>-<tick>.xml" (no doubled separator when the folder
// ends with '/').
std::wstring MacroExportPath(const std::wstring& folder, std::wstring_view name, uint64_t tick);

// The file text of macro `macro_id` under the name shown in the list (all
// values 0 when the macro does not exist).
std::wstring BuildMacroDocument(ConfigDatabase& db, int macro_id, const std::wstring& name);

// Writes the file text of macro `macro_id` to `path`; false when the file
// could not be saved.
bool SaveMacroFile(ConfigDatabase& db, const std::wstring& path, int macro_id, const std::wstring& name);

// Export with the folder dialog to MacroExportPath(folder, name, tick of
// `clock`). False when the folder dialog was cancelled or the file could not
// be written (an existing file of that name then stays as it was);
// `written` receives the path tried (untouched when cancelled).
bool ExportMacro(ConfigDatabase& db, FileDialogs& dialogs, Clock& clock, int macro_id,
                 const std::wstring& name, std::wstring* written = nullptr);

struct MacroImportResult {
  bool file_chosen = false;  // the dialog gave an existing file
  bool file_read = false;    // it was read as a macro file
  MacroLimitCheck limits;    // what was refused, when the macro broke a limit
  int macro_id = 0;          // the new macro, 0 when none was created
  std::wstring name;         // its name, for the macro list
  bool Added() const { return macro_id > 0; }
  bool Refused() const { return !limits.Ok(); }
};

// Reads `path` as a new macro with its steps (nothing when the file is
// missing, too large, ill-formed or not a macro file). A macro past the
// limits of the macro page is refused (nothing stored, `limits` says why),
// and so is a 33rd macro; values the page's edits clamp are clamped.
MacroImportResult ImportMacroFile(ConfigDatabase& db, const std::wstring& path);
// Import with the open dialog.
MacroImportResult ImportMacro(ConfigDatabase& db, FileDialogs& dialogs);

}  // namespace tk410
