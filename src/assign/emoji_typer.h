#pragma once
// Types the text of an emoji assignment into the focused window; called on
// the sync worker when the mouse reports the press of an emoji button.

namespace tk410 {

class Clock;
class TextInjector;

// Types EmojiText(number) without carriage returns, one press/release pair
// per UTF-16 code unit with a 10 ms pause after each (injected characters are
// lost when sent faster). A number without a text types nothing.
void TypeEmoji(int number, TextInjector& injector, Clock& clock);

}  // namespace tk410
