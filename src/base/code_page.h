#pragma once
// 8-bit and multibyte code pages by name (GBK, GB18030, Shift_JIS,
// Windows-1252, ISO-8859-x, ...) converted to wide text with the C library's
// iconv. Only code pages that keep ASCII as ASCII are accepted, since the
// callers find their markup (XML declarations, tags) in the raw bytes.

#include <string>
#include <string_view>

namespace tk410 {

struct CodePageDecoding {
  bool known = false;   // false: the name is no usable code page; nothing was converted
  size_t replaced = 0;  // bytes that had no character, each given as U+FFFD
};

// Appends the text of `bytes` in code page `name` to `out`. A byte that
// starts no valid sequence, and a sequence cut off by the end of the input,
// become one U+FFFD each and the conversion carries on after it.
// "GB2312" is read as GBK, the superset that editors saving under that name
// actually write.
CodePageDecoding DecodeCodePage(std::string_view bytes, std::string_view name, std::wstring* out);

}  // namespace tk410
