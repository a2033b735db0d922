#include "app/app_entry.h"

#include <cerrno>
#include <climits>
#include <cstdlib>

#include "app/app_paths.h"
#include "app/language_files.h"
#include "app/settings_store.h"
#include "device/product.h"
#include "plkui/manager.h"

namespace tk410 {

namespace {

constexpr char kHide[] = "-hide";
constexpr char kDeviceTypeOption[] = "--device-type";

// A device type given on the command line: a positive decimal number.
bool ParseDeviceType(const std::string& text, int* type) {
  if (text.empty()) return false;
  errno = 0;
  char* end = nullptr;
  const long value = std::strtol(text.c_str(), &end, 10);
  if (errno != 0 || *end != '\0' || value <= 0 || value > INT_MAX) return false;
  *type = static_cast<int>(value);
  return true;
}

}  // namespace

StartupOptions ParseStartupOptions(const std::vector<std::string>& arguments) {
  StartupOptions options;
  options.device_type = kProductDeviceType;
  for (size_t i = 0; i < arguments.size(); ++i) {
    const std::string& argument = arguments[i];
    if (argument.find(kHide) != std::string::npos) options.start_hidden = true;

    std::string value;
    bool has_value = false;
    if (argument == kDeviceTypeOption) {
      if (i + 1 < arguments.size()) {
        value = arguments[++i];
        has_value = true;
        if (value.find(kHide) != std::string::npos) options.start_hidden = true;
      } else {
        options.warnings.push_back("--device-type needs a number");
      }
    } else if (argument.rfind(std::string(kDeviceTypeOption) + "=", 0) == 0) {
      value = argument.substr(sizeof(kDeviceTypeOption));
      has_value = true;
    }
    if (has_value && !ParseDeviceType(value, &options.device_type)) {
      options.warnings.push_back("--device-type: \"" + value + "\" is not a device type; using " +
                                 std::to_string(kProductDeviceType));
      options.device_type = kProductDeviceType;
    }
  }
  return options;
}

StartupOptions ParseStartupOptions(int argc, char** argv) {
  std::vector<std::string> arguments;
  for (int i = 1; i < argc; ++i) arguments.emplace_back(argv[i] ? argv[i] : "");
  return ParseStartupOptions(arguments);
}

ShellStart PrepareShell(const SettingsStore& settings, int user_ui_language,
                        const std::wstring& data_directory) {
  ShellStart start;
  start.language = ChooseStartupLanguage(settings, user_ui_language);
  PLKUI::Manager::SetFontName(kInterfaceFontName);
  start.data_folder_ready = CreateDirectoryPath(data_directory + L"db");
  return start;
}

}  // namespace tk410
