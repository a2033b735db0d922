#include "ctl/terminal_text.h"

#include <cstdio>

#include "base/text.h"

namespace tk410::ctl_tool {

namespace {

constexpr unsigned char kDelete = 0x7F;
// UTF-8 of U+0080..U+009F: C2 80 .. C2 9F.
constexpr unsigned char kC1Lead = 0xC2;
constexpr unsigned char kC1First = 0x80;
constexpr unsigned char kC1Last = 0x9F;

std::string Escape(const char* format, unsigned value) {
  char escape[8];
  std::snprintf(escape, sizeof(escape), format, value);
  return escape;
}

}  // namespace

std::string TerminalText(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    const auto c = static_cast<unsigned char>(text[i]);
    if (c == '\\') {
      out += "\\\\";
    } else if (c < 0x20 || c == kDelete) {
      out += Escape("\\x%02x", c);
    } else if (c == kC1Lead && i + 1 < text.size() && static_cast<unsigned char>(text[i + 1]) >= kC1First &&
               static_cast<unsigned char>(text[i + 1]) <= kC1Last) {
      out += Escape("\\u%04x", static_cast<unsigned char>(text[++i]));
    } else {
      out += text[i];
    }
  }
  return out;
}

std::string TerminalText(std::wstring_view text) { return TerminalText(ToUtf8(text)); }

}  // namespace tk410::ctl_tool
