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

// Writes `content` into `profile` as one step (under the database lock, so
// the sync worker never sees half of it): the button rows are replaced (all
// removed when the file has none), existing lighting rows updated, and the
// configuration texts stored as found.
void ApplyProfileContent(ConfigDatabase& db, int profile, const ProfileFileContent& content);

// The sync task that makes the pages (and a Nordic-family device) follow an
// import: 5 for the wired family, 17 above device type 200.
int ProfileImportTask(int device_type);

// Export with the save dialog; false when the dialog was cancelled or the
// file could not be written (an existing file then stays as it was).
// `written` receives the path tried (untouched when cancelled).
bool ExportProfile(ConfigDatabase& db, FileDialogs& dialogs, int key_profile, int current_profile,
                   const std::wstring& name, std::wstring* written = nullptr);
// Import with the open dialog into `current_profile`. Returns the sync task to
// queue, or nullopt when nothing changed (cancelled, missing or bad file).
std::optional<int> ImportProfile(ConfigDatabase& db, FileDialogs& dialogs, int current_profile,
                                 int device_type);

}  // namespace tk410
