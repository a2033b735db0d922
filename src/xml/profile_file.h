#pragma once
// Profile files: a profile's button rows with the lighting rows, DPI stages
// and performance values written to an XML file, and such a file read back
// into the current profile.
//
// Layout (UTF-8 without byte-order mark, one element per line, CR LF, no
// indentation; every value an attribute, numbers in decimal):
//   <profile>
//   <profileinfo name="...">
//   <keyitems>            one <item key_code macro_type macro_value
//   </keyitems>            macro_value2 macro_value3 macro_desc/> per button row
//   <Lightitems light_mode="...">   one <item light_mode brightness speed
//   </Lightitems>                    direction colorful colorindex color_value/>
//   <Mouse_DPI dpi_flag dpi_index dpi_count>  <DPI1 value color/> ... <DPI6 .../>
//   </Mouse_DPI>
//   <Mouse>  <button_respondtime value/> <report_rate/> <sensor_flag/>
//            <liftoff_height/> <scroll_flag/> <e-sports_flag/> <leftbtn_lock/>
//   </Mouse>
//   </profileinfo>
//   </profile>
// (empty sections are written as empty-element tags).

#include <array>
#include <optional>
#include <string>
#include <vector>

#include "platform/file_dialogs.h"
#include "store/config_database.h"
#include "store/records.h"

namespace tk410 {

// The dialogs' type lists.
extern const FileFilter kProfileExportFilter;  // "Profile (*.xml)"
extern const FileFilter kProfileImportFilter;  // "MouseKey (*.xml)"

// The configuration keys of the Mouse section, in file order.
extern const std::array<const wchar_t*, 7> kProfileMouseKeys;

// What a profile file holds, as read. Sections and children the file lacks
// are absent (nullopt); attributes it lacks are empty texts or 0.
struct ProfileFileContent {
  std::wstring name;
  std::vector<KeyMacroRecord> keys;  // profile and layout fields left 0/empty
  bool has_lights = false;
  int active_light_mode = 0;
  std::vector<LightRecord> lights;  // mode and the six values of each item
  bool has_dpi = false;
  std::wstring dpi_flag, dpi_index, dpi_count;
  struct Stage {
    std::wstring value, color;
  };
  std::array<std::optional<Stage>, 6> stages;
  bool has_mouse = false;
  std::array<std::optional<std::wstring>, 7> mouse;  // by kProfileMouseKeys
};

// The file text for the button rows of `key_profile` and the lighting and
// configuration of `current_profile`, named `name`.
std::wstring BuildProfileDocument(ConfigDatabase& db, int key_profile, int current_profile,
                                  const std::wstring& name);
bool WriteProfileFile(ConfigDatabase& db, int key_profile, int current_profile,
                      const std::wstring& name, const std::wstring& path);

// Reads a profile file; nullopt when it is missing, too large, ill-formed,
// or has no profile root with a profileinfo element.
std::optional<ProfileFileContent> ReadProfileFile(const std::wstring& path);

// Writes `content` into `profile` in one transaction, under the database lock
// (so the sync worker never sees half of it): the button rows are replaced
// (all removed when the file has none; of a repeated key code the last item
// counts), existing lighting rows updated, and the configuration texts stored
// as found. When any statement fails, or the process dies before the commit,
// the profile stays as it was. True when committed. The key codes are not
// checked here (see ForeignKeyCodes).
bool ApplyProfileContent(ConfigDatabase& db, int profile, const ProfileFileContent& content);

// The key codes of `content` that name no button of the `device_type` family,
// ascending, each once.
std::vector<int> ForeignKeyCodes(const ProfileFileContent& content, int device_type);
// "0, 12, 300": key codes for a message; past the first ten, "…" stands for
// the rest.
std::wstring KeyCodeListText(const std::vector<int>& codes);

// The sync task that makes the pages (and a Nordic-family device) follow an
// import: 5 for the wired family, 17 above device type 200.
int ProfileImportTask(int device_type);

// How an import ended.
enum class ProfileImportStatus {
  kCancelled,        // no file chosen
  kUnreadable,       // missing, unreadable, ill-formed, or not a profile file
  kForeignKeyCodes,  // names buttons the mouse does not have
  kNotStored,        // the database refused a row
  kImported,
};

struct ProfileImportReport {
  ProfileImportStatus status = ProfileImportStatus::kCancelled;
  std::vector<int> foreign_key_codes;  // kForeignKeyCodes: ascending, each once
  int task = 0;                        // kImported: the sync task to queue
};

// Reads `path` and checks it whole against the buttons of the `device_type`
// family; only then writes it into `profile`. Anything but kImported leaves
// the database as it was.
ProfileImportReport ImportProfileFromFile(ConfigDatabase& db, const std::wstring& path, int profile,
                                          int device_type);

// Export with the save dialog; false when the dialog was cancelled or the
// file could not be written (an existing file then stays as it was).
// `written` receives the path tried (untouched when cancelled).
bool ExportProfile(ConfigDatabase& db, FileDialogs& dialogs, int key_profile, int current_profile,
                   const std::wstring& name, std::wstring* written = nullptr);
// Import with the open dialog into `current_profile`. Returns the sync task to
// queue, or nullopt when nothing changed (cancelled, missing, bad or refused
// file, database failure); `report`, when given, says which.
std::optional<int> ImportProfile(ConfigDatabase& db, FileDialogs& dialogs, int current_profile,
                                 int device_type, ProfileImportReport* report = nullptr);

}  // namespace tk410
