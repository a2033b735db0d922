#include "rules/name_compare.h"

#include <algorithm>

namespace tk410 {

namespace {

char Lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

}  // namespace

bool SameName(const std::string& a, const std::string& b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (Lower(a[i]) != Lower(b[i])) return false;
  }
  return true;
}

bool EndsWithExe(const std::string& path) {
  return path.size() > 4 && SameName(path.substr(path.size() - 4), ".exe");
}

std::string SteamAppOfClass(const std::string& wm_class) {
  static const std::string prefix = "steam_app_";
  if (wm_class.size() <= prefix.size() || !SameName(wm_class.substr(0, prefix.size()), prefix)) return "";
  return wm_class.substr(prefix.size());
}

bool NameLess::operator()(const std::string& a, const std::string& b) const {
  const size_t n = std::min(a.size(), b.size());
  for (size_t i = 0; i < n; ++i) {
    if (Lower(a[i]) != Lower(b[i])) return Lower(a[i]) < Lower(b[i]);
  }
  if (a.size() != b.size()) return a.size() < b.size();
  return a < b;
}

}  // namespace tk410
