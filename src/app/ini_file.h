#pragma once
// A Windows profile (INI) file read with the GetPrivateProfileStringW rules the
// program relies on:
//  * the file is UTF-16LE when it starts with FF FE, otherwise UTF-8 (an EF BB BF
//    byte-order mark is skipped; malformed bytes read as U+FFFD);
//  * "[name]" opens a section, "key=value" is an entry; other lines are ignored;
//  * section and key names match without regard to case; the first section and
//    the first key of a name win;
//  * names and values are trimmed of spaces and tabs, and a value enclosed in
//    one pair of matching quotes ('' or "") loses them;
//  * a looked-up value is cut to `kMaxProfileText` characters (the 260-character
//    buffer of the original lookup, terminator included).
// Parsing never fails: garbage yields whatever well-formed lines it contains.
//
// The file's own lines are kept as they were read (bytes, line ends,
// byte-order mark, encoding): SetString changes only the value it sets or
// adds one line (and a section header when needed), so comments, blank lines,
// lines outside sections, other sections and unknown keys survive a write
// byte for byte.

#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "base/safe_file.h"

namespace tk410 {

inline constexpr size_t kMaxProfileText = 259;
// Larger files are not read (settings, pointer and language files are a few
// kilobytes).
inline constexpr size_t kMaxIniFileBytes = 8u << 20;

class IniFile {
 public:
  struct Section {
    std::wstring name;
    std::vector<std::pair<std::wstring, std::wstring>> entries;  // key, raw value
  };

  IniFile() = default;
  // Parses the bytes of a file (see the rules above).
  static IniFile Parse(std::string_view bytes);
  // Reads and parses a file (at most kMaxIniFileBytes, a regular file; a link at the
  // path followed or refused as `links` says); an unreadable or missing file
  // gives an empty one.
  static IniFile Load(const std::wstring& path, FileLinks links = FileLinks::kFollow);

  // The value as GetPrivateProfileStringW returns it, empty when the section
  // or the key is missing.
  std::wstring GetString(std::wstring_view section, std::wstring_view key) const;
  bool HasKey(std::wstring_view section, std::wstring_view key) const;

  // Sets a value: replaces the value text of the first entry of that name in
  // the first section of that name, else adds "key=value" after the
  // section's last entry, else adds the section at the end of the file. False
  // when the entry already held exactly `value` (nothing changed).
  bool SetString(std::wstring_view section, std::wstring_view key, std::wstring_view value);

  // The whole file: the lines as read, with the changes made, in the file's
  // encoding (UTF-8 for a new file, "\n" line ends unless the file has others).
  std::string Serialize() const;

  const std::vector<Section>& sections() const { return sections_; }

 private:
  // One line of the file in its own encoding: its text and its line end
  // ("\n", "\r\n", "\r" or nothing for an unended last line).
  struct Line {
    std::string bytes;
    std::string end;
  };
  // Where a parsed section lies: its header line and the line of each entry.
  struct Place {
    size_t header = 0;
    std::vector<size_t> entries;
  };

  // Rebuilds sections_ and places_ from lines_.
  void Index();
  std::wstring Decode(const std::string& bytes) const;
  std::string Encode(std::wstring_view text) const;
  // The line end for new lines: the file's first one, else "\n".
  std::string NewLineEnd() const;
  // Inserts a line before `at`; the line before it is ended first.
  void InsertLine(size_t at, std::wstring_view text);
  const Section* FindSection(std::wstring_view name) const;
  const std::wstring* FindRaw(std::wstring_view section, std::wstring_view key) const;

  bool utf16_ = false;
  std::string bom_;
  std::vector<Line> lines_;
  std::vector<Section> sections_;
  std::vector<Place> places_;  // parallel to sections_
};

// Decodes the bytes of a text file: UTF-16LE with its byte-order mark, else
// UTF-8 with or without one.
std::wstring DecodeTextFile(std::string_view bytes);

}  // namespace tk410
