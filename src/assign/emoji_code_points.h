#pragma once
// The Unicode emoji each emoji text stands for: the emoji picker's pictures
// are drawn from these (scripts and the build's picture maker), so a picture
// shows what its text says.

#include <string>

namespace tk410 {

// The code points of the emoji a bracketed emoji text ("[爱心]") stands for;
// empty for a text that is not one of the 109.
std::u32string EmojiCodePoints(const std::wstring& text);

}  // namespace tk410
