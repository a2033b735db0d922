#pragma once
// Program and class names compare without regard to ASCII case: Windows
// file names under Wine keep no case, and window classes are written both
// ways ("firefox", "Firefox").

#include <string>

namespace tk410 {

bool SameName(const std::string& a, const std::string& b);
// True when `path` ends with ".exe" in any case.
bool EndsWithExe(const std::string& path);

// The app id of a window class "steam_app_<id>" (Steam gives its games'
// windows that class); empty for any other class.
std::string SteamAppOfClass(const std::string& wm_class);

// Ordering for sorted lists of names, case aside (ties by the exact text).
struct NameLess {
  bool operator()(const std::string& a, const std::string& b) const;
};

}  // namespace tk410
