#pragma once
// What the main window works with. The program fills these from the
// process-wide objects and the user's folders; tests pass their own (a
// database on a temporary file, a device manager on the virtual bus, a manual
// clock, in-memory language texts).

#include <functional>
#include <string>

namespace tk410 {

class ConfigDatabase;
class DeviceManager;
class Clock;
class LanguageTexts;
class TextInjector;
class RawInputHub;
class PointerSettings;
class ProcessLauncher;
class LanguageFileTexts;
class SettingsStore;
class ActiveWindowSource;
class BackgroundPresence;

struct DeviceMainServices {
  ConfigDatabase* db = nullptr;              // default: ConfigDatabase::Instance()
  DeviceManager* devices = nullptr;          // default: DeviceManager::Instance()
  Clock* clock = nullptr;                    // default: the system clock
  const LanguageTexts* texts = nullptr;      // default: no texts (empty strings)
  TextInjector* injector = nullptr;          // null: emoji typing unavailable
  RawInputHub* raw_input = nullptr;          // null: no key capture or macro recording
  std::wstring data_directory;               // ends with '/'; the database lies in its db/ folder
  std::wstring catalog_path;                 // default: config.xml of the shipped data
  // The stored device type (the "DeviceType" setting); defaults keep it in memory.
  std::function<int()> read_device_type;
  std::function<void(int)> write_device_type;

  // ---- application shell: product type, settings page's desktop controls ----
  // The device type start-up records and serves (--device-type; 101 the product's own).
  int product_device_type = 101;
  // The mouse is the built-in virtual one (--simulate): the title says so.
  bool virtual_mouse = false;
  PointerSettings* pointer = nullptr;          // null: the pointer controls do nothing
  ProcessLauncher* launcher = nullptr;         // null: the mouse settings link does nothing
  LanguageFileTexts* language_files = nullptr; // null: the language cannot be changed
  const SettingsStore* settings = nullptr;     // where a language change is stored
  std::wstring config_home;                    // XDG config folder of the autostart entry; empty: none

  // ---- per-program profiles (ui/profile_follower.h, ui/background_presence.h) ----
  ActiveWindowSource* active_window = nullptr;  // null: profiles follow no program
  BackgroundPresence* presence = nullptr;       // null: no tray; closing with rules minimises
  std::string proc_root = "/proc";              // where the processes of windows are looked up
};

}  // namespace tk410
