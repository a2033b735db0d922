#include "ctl/json_text.h"

#include <cstdio>

#include "base/text.h"

namespace tk410::ctl_tool {

std::string JsonString(std::string_view text) {
  std::string out = "\"";
  for (const char c : text) {
    const auto u = static_cast<unsigned char>(c);
    switch (c) {
      case '"': out += "\\\""; break;
      case '\\': out += "\\\\"; break;
      case '\n': out += "\\n"; break;
      case '\r': out += "\\r"; break;
      case '\t': out += "\\t"; break;
      default:
        if (u < 0x20) {
          char escape[8];
          std::snprintf(escape, sizeof(escape), "\\u%04x", u);
          out += escape;
        } else {
          out += c;
        }
    }
  }
  return out + "\"";
}

std::string JsonString(std::wstring_view text) { return JsonString(ToUtf8(text)); }

}  // namespace tk410::ctl_tool
