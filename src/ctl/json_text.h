#pragma once
// JSON output of the listing commands: quoted strings with the escapes JSON
// requires, so names with quotes or control characters stay valid.
#include <string>
#include <string_view>

namespace tk410::ctl_tool {

// `text` (UTF-8) as a JSON string literal, quotes included.
std::string JsonString(std::string_view text);
std::string JsonString(std::wstring_view text);

}  // namespace tk410::ctl_tool
