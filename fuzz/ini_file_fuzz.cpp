// Settings, pointer and language files (INI): any bytes parse, are written
// back byte for byte, and a value set reads back while every other value
// stays as it was.
//
// Input: a header byte, then the file, and after the file three NUL
// separated texts: section, key and value to set.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "app/ini_file.h"
#include "base/text.h"
#include "support/check.h"

namespace {

using namespace tk410;

constexpr std::wstring_view kBlank = L" \t\r\v\f";

bool HasBlankEnds(std::wstring_view text) {
  return !text.empty() && (kBlank.find(text.front()) != std::wstring_view::npos ||
                           kBlank.find(text.back()) != std::wstring_view::npos);
}

bool HasLineBreak(std::wstring_view text) { return text.find_first_of(L"\r\n") != std::wstring_view::npos; }

// Texts the file can carry unchanged: one line, not trimmed away, a value
// not in quotes (the quotes would be taken off) and within the lookup's
// length, a key that is not a comment or section line.
bool Plain(std::wstring_view section, std::wstring_view key, std::wstring_view value) {
  if (HasLineBreak(section) || HasLineBreak(key) || HasLineBreak(value)) return false;
  if (HasBlankEnds(section) || HasBlankEnds(key) || HasBlankEnds(value)) return false;
  if (section.find(L']') != std::wstring_view::npos) return false;
  if (key.empty() || key.find(L'=') != std::wstring_view::npos || key.front() == L';' || key.front() == L'[') {
    return false;
  }
  if (value.size() > kMaxProfileText) return false;
  if (value.size() >= 2 && (value.front() == L'"' || value.front() == L'\'') && value.back() == value.front()) {
    return false;
  }
  return true;
}

std::vector<std::pair<std::wstring, std::wstring>> Names(const IniFile& ini) {
  std::vector<std::pair<std::wstring, std::wstring>> names;
  for (const auto& section : ini.sections()) {
    for (const auto& entry : section.entries) names.emplace_back(section.name, entry.first);
  }
  return names;
}

bool SameName(std::wstring_view a, std::wstring_view b) {
  return UpperAscii(std::wstring(a)) == UpperAscii(std::wstring(b));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  const size_t split = input.find(std::string_view("\0\0", 2));
  const std::string_view file = input.substr(0, split);
  const IniFile ini = IniFile::Parse(file);
  TK410_FUZZ_CHECK(ini.Serialize() == file);
  for (const auto& [section, key] : Names(ini)) {
    TK410_FUZZ_CHECK(ini.GetString(section, key).size() <= kMaxProfileText);
  }
  if (split == std::string_view::npos) return 0;

  std::vector<std::wstring> texts;
  std::string_view rest = input.substr(split + 2);
  for (int i = 0; i < 3; ++i) {
    const size_t end = rest.find('\0');
    texts.push_back(FromUtf8(rest.substr(0, end)));
    rest = end == std::string_view::npos ? std::string_view() : rest.substr(end + 1);
  }
  const std::wstring &section = texts[0], &key = texts[1], &value = texts[2];

  IniFile changed = ini;
  changed.SetString(section, key, value);
  const IniFile reread = IniFile::Parse(changed.Serialize());
  if (!Plain(section, key, value)) return 0;
  TK410_FUZZ_CHECK(reread.GetString(section, key) == value);
  for (const auto& [s, k] : Names(ini)) {
    if (SameName(s, section) && SameName(k, key)) continue;
    TK410_FUZZ_CHECK(reread.GetString(s, k) == ini.GetString(s, k));
  }
  return 0;
}
