#include "base/text.h"

#include <climits>
#include <cstdarg>
#include <cwchar>
#include <vector>

namespace tk410 {

namespace {

constexpr char32_t kReplacement = 0xFFFD;

bool IsSpace(wchar_t c) {
  return c == L' ' || c == L'\t' || c == L'\n' || c == L'\r' || c == L'\v' || c == L'\f';
}

void AppendUtf8(std::string& out, char32_t cp) {
  if (cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) cp = kReplacement;
  if (cp < 0x80) {
    out.push_back(static_cast<char>(cp));
  } else if (cp < 0x800) {
    out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  } else if (cp < 0x10000) {
    out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  } else {
    out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  }
}

}  // namespace

std::wstring FromUtf8(std::string_view in) {
  std::wstring out;
  out.reserve(in.size());
  size_t i = 0;
  const size_t n = in.size();
  while (i < n) {
    const unsigned char b0 = static_cast<unsigned char>(in[i]);
    if (b0 < 0x80) {
      out.push_back(static_cast<wchar_t>(b0));
      ++i;
      continue;
    }
    size_t len = 0;
    char32_t cp = 0;
    char32_t min = 0;
    if ((b0 & 0xE0) == 0xC0) {
      len = 2; cp = b0 & 0x1F; min = 0x80;
    } else if ((b0 & 0xF0) == 0xE0) {
      len = 3; cp = b0 & 0x0F; min = 0x800;
    } else if ((b0 & 0xF8) == 0xF0) {
      len = 4; cp = b0 & 0x07; min = 0x10000;
    } else {
      out.push_back(static_cast<wchar_t>(kReplacement));
      ++i;
      continue;
    }
    size_t k = 1;
    for (; k < len && i + k < n; ++k) {
      const unsigned char b = static_cast<unsigned char>(in[i + k]);
      if ((b & 0xC0) != 0x80) break;
      cp = (cp << 6) | (b & 0x3F);
    }
    if (k < len) {  // truncated or interrupted sequence
      out.push_back(static_cast<wchar_t>(kReplacement));
      i += k;
      continue;
    }
    if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) cp = kReplacement;
    out.push_back(static_cast<wchar_t>(cp));
    i += len;
  }
  return out;
}

std::string ToUtf8(std::wstring_view in) {
  std::string out;
  out.reserve(in.size());
  for (size_t i = 0; i < in.size(); ++i) {
    char32_t cp = static_cast<char32_t>(in[i]);
    // A 16-bit wchar_t platform would carry surrogate pairs; join them.
    if (cp >= 0xD800 && cp <= 0xDBFF && i + 1 < in.size()) {
      const char32_t lo = static_cast<char32_t>(in[i + 1]);
      if (lo >= 0xDC00 && lo <= 0xDFFF) {
        cp = 0x10000 + ((cp - 0xD800) << 10) + (lo - 0xDC00);
        ++i;
      }
    }
    AppendUtf8(out, cp);
  }
  return out;
}

std::wstring FromUtf16(std::u16string_view in) {
  std::wstring out;
  out.reserve(in.size());
  for (size_t i = 0; i < in.size(); ++i) {
    char32_t cp = in[i];
    if (cp >= 0xD800 && cp <= 0xDBFF) {
      if (i + 1 < in.size() && in[i + 1] >= 0xDC00 && in[i + 1] <= 0xDFFF) {
        cp = 0x10000 + ((cp - 0xD800) << 10) + (in[i + 1] - 0xDC00);
        ++i;
      } else {
        cp = kReplacement;
      }
    } else if (cp >= 0xDC00 && cp <= 0xDFFF) {
      cp = kReplacement;
    }
    out.push_back(static_cast<wchar_t>(cp));
  }
  return out;
}

std::u16string ToUtf16(std::wstring_view in) {
  std::u16string out;
  out.reserve(in.size());
  for (wchar_t w : in) {
    char32_t cp = static_cast<char32_t>(w);
    if (cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) cp = kReplacement;
    if (cp >= 0x10000) {
      cp -= 0x10000;
      out.push_back(static_cast<char16_t>(0xD800 + (cp >> 10)));
      out.push_back(static_cast<char16_t>(0xDC00 + (cp & 0x3FF)));
    } else {
      out.push_back(static_cast<char16_t>(cp));
    }
  }
  return out;
}

int WToI(std::wstring_view t) {
  size_t i = 0;
  while (i < t.size() && IsSpace(t[i])) ++i;
  bool negative = false;
  if (i < t.size() && (t[i] == L'+' || t[i] == L'-')) {
    negative = t[i] == L'-';
    ++i;
  }
  long long v = 0;
  bool saturated = false;
  for (; i < t.size() && t[i] >= L'0' && t[i] <= L'9'; ++i) {
    if (!saturated) {
      v = v * 10 + (t[i] - L'0');
      if (v > static_cast<long long>(INT_MAX) + 1) saturated = true;
    }
  }
  if (negative) {
    if (saturated || v > static_cast<long long>(INT_MAX) + 1) return INT_MIN;
    return static_cast<int>(-v);
  }
  if (saturated || v > INT_MAX) return INT_MAX;
  return static_cast<int>(v);
}

int AToI(std::string_view t) {
  std::wstring w(t.begin(), t.end());
  return WToI(w);
}

long WcsToL16(std::wstring_view t) {
  size_t i = 0;
  while (i < t.size() && IsSpace(t[i])) ++i;
  bool negative = false;
  if (i < t.size() && (t[i] == L'+' || t[i] == L'-')) {
    negative = t[i] == L'-';
    ++i;
  }
  auto hex = [](wchar_t c) -> int {
    if (c >= L'0' && c <= L'9') return c - L'0';
    if (c >= L'a' && c <= L'f') return c - L'a' + 10;
    if (c >= L'A' && c <= L'F') return c - L'A' + 10;
    return -1;
  };
  // "0x" counts as a prefix only when a hex digit follows it; "0xZ" reads as 0.
  if (i + 2 < t.size() && t[i] == L'0' && (t[i + 1] == L'x' || t[i + 1] == L'X') &&
      hex(t[i + 2]) >= 0) {
    i += 2;
  }
  unsigned long long v = 0;
  bool saturated = false;
  for (; i < t.size(); ++i) {
    const int d = hex(t[i]);
    if (d < 0) break;
    if (!saturated) {
      v = v * 16 + static_cast<unsigned>(d);
      if (v > static_cast<unsigned long long>(LONG_MAX)) saturated = true;
    }
  }
  if (saturated) return negative ? LONG_MIN : LONG_MAX;
  const long r = static_cast<long>(v);
  return negative ? -r : r;
}

std::wstring FormatInt(long long value) { return std::to_wstring(value); }

std::wstring FormatW(const wchar_t* format, ...) {
  std::vector<wchar_t> buf(256);
  for (;;) {
    va_list args;
    va_start(args, format);
    const int n = std::vswprintf(buf.data(), buf.size(), format, args);
    va_end(args);
    if (n >= 0 && static_cast<size_t>(n) < buf.size()) return std::wstring(buf.data(), n);
    if (buf.size() > (1u << 20)) return std::wstring();  // a format that never fits
    buf.resize(buf.size() * 4);
  }
}

std::wstring UpperAscii(std::wstring_view text) {
  std::wstring out(text);
  for (auto& c : out)
    if (c >= L'a' && c <= L'z') c = static_cast<wchar_t>(c - L'a' + L'A');
  return out;
}

std::string UpperAscii(std::string_view text) {
  std::string out(text);
  for (auto& c : out)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  return out;
}

bool Contains(std::wstring_view text, std::wstring_view part) {
  return text.find(part) != std::wstring_view::npos;
}

bool StartsWith(std::wstring_view text, std::wstring_view prefix) {
  return text.substr(0, prefix.size()) == prefix;
}

bool EndsWith(std::wstring_view text, std::wstring_view suffix) {
  return text.size() >= suffix.size() && text.substr(text.size() - suffix.size()) == suffix;
}

}  // namespace tk410
