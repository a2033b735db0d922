#pragma once
// Plain (non-JSON) output of texts that come from files, the database or a
// device: control characters would reach the terminal and could set its
// title, its clipboard or its screen. They are printed as \xNN (C1 controls
// as \u0080..\u009f), and a backslash is doubled so such an escape cannot be
// forged.
#include <string>
#include <string_view>

namespace tk410::ctl_tool {

// `text` (UTF-8) with control characters escaped.
std::string TerminalText(std::string_view text);
std::string TerminalText(std::wstring_view text);

}  // namespace tk410::ctl_tool
