#pragma once
// Byte <-> wide text conversion of XML files: byte-order marks, the encoding
// named in the XML declaration, UTF-8, UTF-16 in either byte order, and any
// other code page the declaration names (GBK, Shift_JIS, Windows-1252, ...),
// read through iconv. A name no converter knows is read as Latin-1; saving
// in such a code page writes Latin-1 (the program's own files are UTF-8).

#include <string>
#include <string_view>

namespace tk410 {

enum class XmlEncoding { kUtf8, kUtf16Le, kUtf16Be, kAnsi };

// The value of the encoding attribute of an XML declaration at the start of
// `head` (only the first 1024 characters are looked at); empty when none.
std::string DeclaredEncoding(std::string_view head);
std::string DeclaredEncoding(std::wstring_view head);

// UTF-8 when `name` is empty or names UTF-8; UTF-16 names map to the byte
// orders; every other name is an 8-bit or multibyte code page ("ANSI").
XmlEncoding EncodingFromName(std::string_view name);

// File bytes -> document text. Appends result words ("bom", "endian_swap",
// "utf8_detection", "converted_from", "truncation_error", "nulls_removed",
// "conversion_loss" for bytes of a code page that stand for no character and
// became U+FFFD, "unknown_encoding" for a code page read as Latin-1) to
// `log`, each followed by a space.
std::wstring DecodeXmlBytes(std::string_view bytes, std::wstring* log);

// Document text -> file bytes in the declared encoding, no byte-order mark.
// Appends "converted_to" and "conversion_loss" to `log` where they apply.
std::string EncodeXmlText(std::wstring_view text, std::wstring* log);

}  // namespace tk410
