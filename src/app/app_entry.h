#pragma once
// What the program entry does before and after the main window runs, apart
// from the window itself:
//   1. single instance (single_instance.h): a second start activates the first
//      and ends with exit code 0;
//   2. the interface language (stored choice or the locale) and the font;
//   3. the settings database folder "<data directory>db";
//   4. the start-up options: "-hide" and "--device-type N";
//   5. the main window runs; when it ends the window object is destroyed and
//      the entry returns.
// The Windows entry also enabled a debug privilege, started GDI+ and
// initialised COM and OLE. None of these exist or are needed on Linux: the
// privilege was never used, drawing is Qt's, and no COM object is created.
// The entry therefore has nothing to start or shut down for them.

#include <string>
#include <vector>

namespace tk410 {

struct StartupOptions {
  // "-hide" appeared anywhere in the command line, also inside a longer
  // argument: the window starts without being shown.
  bool start_hidden = false;
  // The device type the window serves and records as "DeviceType" at
  // start-up: the product's own (101) unless "--device-type N" or
  // "--device-type=N" names another.
  int device_type = 0;
  // Problems with the options, for the user (the start goes on).
  std::vector<std::string> warnings;
};

// `arguments` without the program path (argv[1..]).
StartupOptions ParseStartupOptions(const std::vector<std::string>& arguments);
StartupOptions ParseStartupOptions(int argc, char** argv);

class SettingsStore;

struct ShellStart {
  int language = 0;             // the interface language chosen
  bool data_folder_ready = false;
};

// Steps 2 and 3 of the entry: chooses the interface language (stored, else
// `user_ui_language`), sets the interface font and creates
// `data_directory` + "db" with every missing level. A folder that cannot be
// created does not stop the start; the database then fails to open.
ShellStart PrepareShell(const SettingsStore& settings, int user_ui_language,
                        const std::wstring& data_directory);

}  // namespace tk410
