#include "platform/desktop_names.h"

#include <cctype>

namespace tk410 {

std::string DesktopFamily(std::string name) {
  for (char& c : name) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  if (name == "UNITY" || name == "UBUNTU" || name == "BUDGIE" || name == "POP" ||
      name == "GNOME-CLASSIC" || name == "GNOME-FLASHBACK")
    return "GNOME";
  if (name == "CINNAMON") return "X-CINNAMON";
  return name;
}

std::vector<std::string> DesktopFamilies(std::string_view xdg_current_desktop) {
  std::vector<std::string> names;
  size_t start = 0;
  while (start <= xdg_current_desktop.size()) {
    size_t end = xdg_current_desktop.find(':', start);
    if (end == std::string_view::npos) end = xdg_current_desktop.size();
    std::string name = DesktopFamily(std::string(xdg_current_desktop.substr(start, end - start)));
    if (!name.empty()) names.push_back(std::move(name));
    start = end + 1;
  }
  return names;
}

}  // namespace tk410
