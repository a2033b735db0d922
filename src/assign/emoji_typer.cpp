#include "assign/emoji_typer.h"

#include <string>

#include "assign/emoji_table.h"
#include "base/clock.h"
#include "base/text.h"
#include "platform/text_injector.h"

namespace tk410 {
namespace {
constexpr uint32_t kPauseAfterUnitMs = 10;
}

void TypeEmoji(int number, TextInjector& injector, Clock& clock) {
  std::wstring text = EmojiText(number);
  if (text.empty()) return;
  std::erase(text, L'\r');
  for (char16_t unit : ToUtf16(text)) {
    injector.SendUnicodeUnit(unit, false);
    injector.SendUnicodeUnit(unit, true);
    clock.SleepMs(kPauseAfterUnitMs);
  }
}

}  // namespace tk410
