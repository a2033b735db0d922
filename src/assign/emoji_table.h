#pragma once
// The emoji texts an emoji assignment types on the computer, numbered 1 to
// 109, with the picker's tooltips, the emoji of their pictures and the
// pictures' names.

#include <string>

namespace tk410 {

inline constexpr int kEmojiCount = 109;

// The bracketed text of an emoji number; empty outside 1..109.
std::wstring EmojiText(int number);

// "表情: " and the tooltip word; empty outside 1..109.
std::wstring EmojiTip(int number);

// The code points of the Unicode emoji the text of an emoji number stands
// for (its picture is drawn from it); empty outside 1..109.
std::u32string EmojiCodePoints(int number);

// The picker's picture file, "Emoji\wechat_emoji_NN.png" with NN = number - 1;
// empty outside 1..109. The skin loads it; this program only names it.
std::wstring EmojiPictureName(int number);

}  // namespace tk410
