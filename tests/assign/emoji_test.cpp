#include "assign/emoji_table.h"
#include "assign/emoji_typer.h"

#include <gtest/gtest.h>

#include <set>

#include "base/clock.h"
#include "platform/fake_text_injector.h"

namespace tk410 {
namespace {

TEST(EmojiTableTest, TextsTipsAndPictures) {
  for (int n = 1; n <= kEmojiCount; ++n) {
    const std::wstring text = EmojiText(n);
    ASSERT_GE(text.size(), 3u) << n;
    EXPECT_EQ(text.front(), L'[');
    EXPECT_EQ(text.back(), L']');
    const std::wstring word = text.substr(1, text.size() - 2);
    const std::wstring tip_word = n == 26 ? L"流汗" : n == 27 ? L"憨笑" : n == 40 ? L"左哼哼" : word;
    EXPECT_EQ(EmojiTip(n), L"表情: " + tip_word) << n;
  }
  EXPECT_EQ(EmojiText(1), L"[微笑]");
  EXPECT_EQ(EmojiText(26), L"[憨笑]");
  EXPECT_EQ(EmojiText(64), L"[Emm]");
  EXPECT_EQ(EmojiText(109), L"[转圈]");
  EXPECT_EQ(EmojiPictureName(1), L"Emoji\\wechat_emoji_00.png");
  EXPECT_EQ(EmojiPictureName(109), L"Emoji\\wechat_emoji_108.png");
  for (int n : {0, 110, -1}) {
    EXPECT_EQ(EmojiText(n), L"");
    EXPECT_EQ(EmojiTip(n), L"");
    EXPECT_EQ(EmojiPictureName(n), L"");
  }
}

// Every emoji text has an emoji of its own for its picture: code points of
// Unicode's emoji blocks (a joiner or a presentation selector only after
// them), no two texts alike, none outside 1..109.
TEST(EmojiTableTest, EachTextHasItsOwnEmoji) {
  auto emoji = [](char32_t c) { return (c >= 0x1F000 && c <= 0x1FAFF) || (c >= 0x2600 && c <= 0x27BF); };
  std::set<std::u32string> seen;
  for (int n = 1; n <= kEmojiCount; ++n) {
    const std::u32string points = EmojiCodePoints(n);
    ASSERT_FALSE(points.empty()) << n;
    EXPECT_TRUE(emoji(points.front())) << n;
    for (char32_t c : points) EXPECT_TRUE(emoji(c) || c == 0x200D || c == 0xFE0F) << n;
    EXPECT_TRUE(seen.insert(points).second) << n << " shares its emoji";
  }
  // Some that a user looks for by their picture.
  const std::pair<const wchar_t*, std::u32string> known[] = {
      {L"[爱心]", U"\u2764\uFE0F"}, {L"[太阳]", U"\u2600\uFE0F"}, {L"[便便]", U"\U0001F4A9"},
      {L"[微笑]", U"\U0001F642"},    {L"[骷髅]", U"\U0001F480"}};
  for (const auto& [text, points] : known) {
    int number = 0;
    for (int n = 1; n <= kEmojiCount; ++n)
      if (EmojiText(n) == text) number = n;
    EXPECT_EQ(EmojiCodePoints(number), points) << number;
  }
  for (int n : {0, 110, -1}) EXPECT_TRUE(EmojiCodePoints(n).empty()) << n;
}

TEST(EmojiTyperTest, TypesEachCodeUnitAsPressReleaseThenWaits10Ms) {
  FakeTextInjector injector;
  ManualClock clock;
  TypeEmoji(64, injector, clock);
  EXPECT_EQ(injector.TypedUnits(), u"[Emm]");
  const auto events = injector.Events();
  ASSERT_EQ(events.size(), 10u);
  for (size_t i = 0; i < events.size(); i += 2) {
    EXPECT_FALSE(events[i].key_up);
    EXPECT_EQ(events[i + 1], (FakeTextInjector::Event{events[i].unit, true}));
  }
  EXPECT_EQ(clock.Sleeps(), (std::vector<uint32_t>(5, 10)));

  // The longest texts have six units and take 60 ms.
  injector.Clear();
  clock.ClearSleeps();
  TypeEmoji(50, injector, clock);
  EXPECT_EQ(injector.TypedUnits(), u"[破涕为笑]");
  EXPECT_EQ(clock.TotalSleptMs(), 60u);

  injector.Clear();
  clock.ClearSleeps();
  TypeEmoji(0, injector, clock);
  TypeEmoji(110, injector, clock);
  EXPECT_TRUE(injector.Events().empty());
  EXPECT_TRUE(clock.Sleeps().empty());
}

}  // namespace
}  // namespace tk410
