#include "app/ini_file.h"

#include <cwctype>

#include "app/app_paths.h"
#include "base/text.h"

namespace tk410 {

namespace {

std::wstring_view Trim(std::wstring_view text) {
  constexpr std::wstring_view kBlank = L" \t\r\v\f";
  const size_t first = text.find_first_not_of(kBlank);
  if (first == std::wstring_view::npos) return {};
  const size_t last = text.find_last_not_of(kBlank);
  return text.substr(first, last - first + 1);
}

bool EqualNoCase(std::wstring_view a, std::wstring_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (std::towlower(static_cast<wint_t>(a[i])) != std::towlower(static_cast<wint_t>(b[i])))
      return false;
  return true;
}

}  // namespace

std::wstring DecodeTextFile(std::string_view bytes) {
  if (bytes.size() >= 2 && static_cast<unsigned char>(bytes[0]) == 0xFF &&
      static_cast<unsigned char>(bytes[1]) == 0xFE) {
    std::u16string units;
    units.reserve((bytes.size() - 2) / 2);
    for (size_t i = 2; i + 1 < bytes.size(); i += 2)  // an odd last byte is dropped
      units.push_back(static_cast<char16_t>(static_cast<unsigned char>(bytes[i]) |
                                            static_cast<unsigned char>(bytes[i + 1]) << 8));
    return FromUtf16(units);
  }
  if (bytes.size() >= 3 && bytes.substr(0, 3) == "\xEF\xBB\xBF") bytes.remove_prefix(3);
  return FromUtf8(bytes);
}

IniFile IniFile::Parse(std::string_view bytes) {
  IniFile ini;
  const std::wstring text = DecodeTextFile(bytes);
  Section* current = nullptr;
  size_t pos = 0;
  while (pos < text.size()) {
    size_t end = text.find_first_of(L"\r\n", pos);
    if (end == std::wstring::npos) end = text.size();
    const std::wstring_view line = Trim(std::wstring_view(text).substr(pos, end - pos));
    pos = end + 1;
    if (line.empty()) continue;
    if (line.front() == L'[') {
      const size_t close = line.find(L']');
      if (close == std::wstring_view::npos) continue;
      ini.sections_.push_back({std::wstring(Trim(line.substr(1, close - 1))), {}});
      current = &ini.sections_.back();
      continue;
    }
    if (!current || line.front() == L';') continue;
    const size_t eq = line.find(L'=');
    if (eq == std::wstring_view::npos) continue;
    current->entries.emplace_back(std::wstring(Trim(line.substr(0, eq))),
                                  std::wstring(Trim(line.substr(eq + 1))));
  }
  return ini;
}

IniFile IniFile::Load(const std::wstring& path, FileLinks links) {
  std::string bytes;
  if (!ReadFileBytes(path, bytes, kMaxIniFileBytes, links)) return IniFile();
  return Parse(bytes);
}

const IniFile::Section* IniFile::FindSection(std::wstring_view name) const {
  for (const Section& section : sections_)
    if (EqualNoCase(section.name, name)) return &section;
  return nullptr;
}

const std::wstring* IniFile::FindRaw(std::wstring_view section, std::wstring_view key) const {
  const Section* found = FindSection(section);
  if (!found) return nullptr;
  for (const auto& [name, value] : found->entries)
    if (EqualNoCase(name, key)) return &value;
  return nullptr;
}

bool IniFile::HasKey(std::wstring_view section, std::wstring_view key) const {
  return FindRaw(section, key) != nullptr;
}

std::wstring IniFile::GetString(std::wstring_view section, std::wstring_view key) const {
  const std::wstring* raw = FindRaw(section, key);
  if (!raw) return {};
  std::wstring_view value = *raw;
  if (value.size() >= 2 && (value.front() == L'"' || value.front() == L'\'') &&
      value.back() == value.front())
    value = value.substr(1, value.size() - 2);
  return std::wstring(value.substr(0, kMaxProfileText));
}

void IniFile::SetString(std::wstring_view section, std::wstring_view key,
                        std::wstring_view value) {
  Section* target = const_cast<Section*>(FindSection(section));
  if (!target) {
    sections_.push_back({std::wstring(section), {}});
    target = &sections_.back();
  }
  for (auto& [name, old] : target->entries) {
    if (EqualNoCase(name, key)) {
      old = value;
      return;
    }
  }
  target->entries.emplace_back(std::wstring(key), std::wstring(value));
}

std::string IniFile::Serialize() const {
  std::wstring text;
  for (const Section& section : sections_) {
    if (!text.empty()) text += L'\n';
    text += L'[' + section.name + L"]\n";
    for (const auto& [key, value] : section.entries) text += key + L'=' + value + L'\n';
  }
  return ToUtf8(text);
}

}  // namespace tk410
