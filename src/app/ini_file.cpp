#include "app/ini_file.h"

#include <cwctype>

#include "app/app_paths.h"
#include "base/text.h"

namespace tk410 {

namespace {

// What the lookups trim around names and values.
constexpr std::wstring_view kBlank = L" \t\r\v\f";

std::wstring_view Trim(std::wstring_view text) {
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
  if (bytes.size() >= 2 && bytes.substr(0, 2) == "\xFF\xFE") {
    ini.utf16_ = true;
    ini.bom_ = std::string(bytes.substr(0, 2));
  } else if (bytes.size() >= 3 && bytes.substr(0, 3) == "\xEF\xBB\xBF") {
    ini.bom_ = std::string(bytes.substr(0, 3));
  }
  bytes.remove_prefix(ini.bom_.size());

  // Lines end at CR LF, LF or a lone CR; in UTF-16LE these are code units.
  const size_t unit = ini.utf16_ ? 2 : 1;
  auto code_at = [&](size_t i) -> unsigned {
    if (i + unit > bytes.size()) return 0xFFFF;
    return ini.utf16_ ? static_cast<unsigned char>(bytes[i]) |
                            static_cast<unsigned char>(bytes[i + 1]) << 8
                      : static_cast<unsigned char>(bytes[i]);
  };
  size_t start = 0;
  size_t i = 0;
  while (i + unit <= bytes.size()) {
    const unsigned code = code_at(i);
    if (code != '\r' && code != '\n') {
      i += unit;
      continue;
    }
    size_t end_len = unit;
    if (code == '\r' && code_at(i + unit) == '\n') end_len += unit;
    ini.lines_.push_back(
        {std::string(bytes.substr(start, i - start)), std::string(bytes.substr(i, end_len))});
    i += end_len;
    start = i;
  }
  // The last line without an end (an odd trailing byte of UTF-16 stays in it
  // and is dropped when decoded).
  if (start < bytes.size()) ini.lines_.push_back({std::string(bytes.substr(start)), {}});
  ini.Index();
  return ini;
}

void IniFile::Index() {
  sections_.clear();
  places_.clear();
  for (size_t n = 0; n < lines_.size(); ++n) {
    const std::wstring text = Decode(lines_[n].bytes);
    const std::wstring_view line = Trim(text);
    if (line.empty()) continue;
    if (line.front() == L'[') {
      const size_t close = line.find(L']');
      if (close == std::wstring_view::npos) continue;
      sections_.push_back({std::wstring(Trim(line.substr(1, close - 1))), {}});
      places_.push_back({n, {}});
      continue;
    }
    if (sections_.empty() || line.front() == L';') continue;
    const size_t eq = line.find(L'=');
    if (eq == std::wstring_view::npos) continue;
    sections_.back().entries.emplace_back(std::wstring(Trim(line.substr(0, eq))),
                                          std::wstring(Trim(line.substr(eq + 1))));
    places_.back().entries.push_back(n);
  }
}

std::wstring IniFile::Decode(const std::string& bytes) const {
  if (!utf16_) return FromUtf8(bytes);
  std::u16string units;
  units.reserve(bytes.size() / 2);
  for (size_t i = 0; i + 1 < bytes.size(); i += 2)
    units.push_back(static_cast<char16_t>(static_cast<unsigned char>(bytes[i]) |
                                          static_cast<unsigned char>(bytes[i + 1]) << 8));
  return FromUtf16(units);
}

std::string IniFile::Encode(std::wstring_view text) const {
  if (!utf16_) return ToUtf8(text);
  std::string bytes;
  for (char16_t unit : ToUtf16(text)) {
    bytes.push_back(static_cast<char>(unit & 0xFF));
    bytes.push_back(static_cast<char>(unit >> 8));
  }
  return bytes;
}

std::string IniFile::NewLineEnd() const {
  for (const Line& line : lines_)
    if (!line.end.empty()) return line.end;
  return Encode(L"\n");
}

void IniFile::InsertLine(size_t at, std::wstring_view text) {
  std::string end = NewLineEnd();
  if (at > 0) {
    Line& before = lines_[at - 1];
    if (before.end.empty()) {
      // A cut UTF-16 file may end in half a character, which reads as
      // nothing; the line end goes on a whole character, or every later
      // character would be read from the wrong pair of bytes.
      if (utf16_ && before.bytes.size() % 2 != 0) before.bytes.pop_back();
      before.end = end;
    }
    end = before.end;
  }
  lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(at), Line{Encode(text), end});
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

bool IniFile::SetString(std::wstring_view section, std::wstring_view key,
                        std::wstring_view value) {
  const Section* found = FindSection(section);
  if (!found) {
    // A new section at the end, after a blank line when the file has text.
    if (!lines_.empty() && !Trim(Decode(lines_.back().bytes)).empty())
      InsertLine(lines_.size(), L"");
    InsertLine(lines_.size(), L"[" + std::wstring(section) + L"]");
    InsertLine(lines_.size(), std::wstring(key) + L"=" + std::wstring(value));
    Index();
    return true;
  }
  const Place& place = places_[static_cast<size_t>(found - sections_.data())];
  for (size_t e = 0; e < found->entries.size(); ++e) {
    if (!EqualNoCase(found->entries[e].first, key)) continue;
    if (found->entries[e].second == value) return false;
    // Only the value text changes; the key, the spacing around '=' and any
    // blanks after the value stay as written.
    Line& line = lines_[place.entries[e]];
    const std::wstring text = Decode(line.bytes);
    size_t begin = text.find(L'=') + 1;
    while (begin < text.size() && kBlank.find(text[begin]) != std::wstring_view::npos) ++begin;
    size_t end = text.find_last_not_of(kBlank);
    end = (end == std::wstring::npos || end < begin) ? begin : end + 1;
    line.bytes = Encode(std::wstring_view(text).substr(0, begin)) + Encode(value) +
                 Encode(std::wstring_view(text).substr(end));
    Index();
    return true;
  }
  const size_t after = place.entries.empty() ? place.header : place.entries.back();
  InsertLine(after + 1, std::wstring(key) + L"=" + std::wstring(value));
  Index();
  return true;
}

std::string IniFile::Serialize() const {
  std::string bytes = bom_;
  for (const Line& line : lines_) bytes += line.bytes + line.end;
  return bytes;
}

}  // namespace tk410
