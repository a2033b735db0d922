#pragma once
// The desktop the session runs, from XDG_CURRENT_DESKTOP: a ':'-separated
// list of names such as "ubuntu:GNOME".

#include <string>
#include <string_view>
#include <vector>

namespace tk410 {

// The list's names in upper case, empty ones left out; a desktop built on
// another one's settings is named as that one (Unity, Ubuntu, Budgie, Pop,
// GNOME-Classic and GNOME-Flashback as GNOME; Cinnamon as X-CINNAMON).
std::vector<std::string> DesktopFamilies(std::string_view xdg_current_desktop);

// Upper case and the family name of one desktop name.
std::string DesktopFamily(std::string name);

}  // namespace tk410
