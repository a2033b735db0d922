#pragma once
// Text helpers shared by the whole program.
//
// Wide text (std::wstring) is the in-memory form of every user-visible text;
// UTF-8 is the form in SQLite, files and device paths. Numbers are stored as
// decimal text written with "%d" and read back with the _wtoi rules, so a
// missing or non-numeric text reads as 0.

#include <cstdint>
#include <string>
#include <string_view>

namespace tk410 {

// UTF-8 -> wide. Malformed sequences become U+FFFD; never reads past the input.
std::wstring FromUtf8(std::string_view utf8);
// Wide -> UTF-8. Code points outside Unicode and lone surrogates become U+FFFD.
std::string ToUtf8(std::wstring_view wide);

// UTF-16 code units <-> wide text (for files and device strings in UTF-16).
std::wstring FromUtf16(std::u16string_view utf16);
std::u16string ToUtf16(std::wstring_view wide);

// _wtoi: leading white space, an optional sign, then decimal digits up to the
// first non-digit; 0 when there are none. Out-of-range values saturate at the
// int limits.
int WToI(std::wstring_view text);
int AToI(std::string_view text);

// wcstol(text, nullptr, 16): leading white space, an optional sign, an optional
// "0x"/"0X" prefix, then hexadecimal digits (either case) up to the first
// non-hex character; 0 when there are none. Saturates at the long limits.
long WcsToL16(std::wstring_view text);

// "%d" formatting.
std::wstring FormatInt(long long value);

// printf-style formatting into wide text (vswprintf with a growing buffer).
std::wstring FormatW(const wchar_t* format, ...);

// Upper-cases ASCII letters only (device paths and catalogue texts).
std::wstring UpperAscii(std::wstring_view text);
std::string UpperAscii(std::string_view text);

// True when `text` contains `part` (an empty part is always contained).
bool Contains(std::wstring_view text, std::wstring_view part);
bool StartsWith(std::wstring_view text, std::wstring_view prefix);
bool EndsWith(std::wstring_view text, std::wstring_view suffix);

}  // namespace tk410
