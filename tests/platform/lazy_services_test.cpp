// Services opened on first use: the text injector is made when the first
// unit is typed, once, and a system without one says so once and types
// nothing; the pointer settings are opened on the first value read or
// written, once.

#include <gtest/gtest.h>

#include "platform/fake_pointer_settings.h"
#include "platform/fake_text_injector.h"
#include "platform/lazy_pointer_settings.h"
#include "platform/lazy_text_injector.h"

namespace tk410 {
namespace {

TEST(LazyServicesTest, TextInjectorIsMadeOnceOnTheFirstUnit) {
  FakeTextInjector* typed = nullptr;
  int made = 0;
  int unavailable = 0;
  LazyTextInjector injector(
      [&]() -> std::unique_ptr<TextInjector> {
        ++made;
        auto fake = std::make_unique<FakeTextInjector>();
        typed = fake.get();
        return fake;
      },
      [&] { ++unavailable; });
  EXPECT_EQ(made, 0);
  for (char16_t unit : std::u16string(u"ok")) {
    injector.SendUnicodeUnit(unit, false);
    injector.SendUnicodeUnit(unit, true);
  }
  EXPECT_EQ(made, 1);
  EXPECT_EQ(unavailable, 0);
  ASSERT_NE(typed, nullptr);
  EXPECT_EQ(typed->TypedUnits(), u"ok");

  // No injector on this system: said once, nothing typed, not asked again.
  int asked = 0;
  LazyTextInjector none([&]() -> std::unique_ptr<TextInjector> { ++asked; return nullptr; },
                        [&] { ++unavailable; });
  for (int i = 0; i < 3; ++i) none.SendUnicodeUnit(u'x', false);
  EXPECT_EQ(asked, 1);
  EXPECT_EQ(unavailable, 1);
}

TEST(LazyServicesTest, PointerSettingsAreOpenedOnceOnTheFirstValue) {
  int opened = 0;
  FakePointerSettings* real = nullptr;
  LazyPointerSettings pointer([&]() -> std::unique_ptr<PointerSettings> {
    ++opened;
    auto fake = std::make_unique<FakePointerSettings>();
    fake->double_click_ms = 400;
    real = fake.get();
    return fake;
  });
  EXPECT_EQ(opened, 0);
  EXPECT_EQ(pointer.GetDoubleClickTime(), 400);
  pointer.SetMouseSpeed(12);
  EXPECT_EQ(opened, 1);
  ASSERT_NE(real, nullptr);
  EXPECT_EQ(real->calls, std::vector<std::string>{"speed=12"});

  // Settings that cannot be opened read as the session's defaults.
  LazyPointerSettings none([] { return std::unique_ptr<PointerSettings>(); });
  EXPECT_EQ(none.GetMouseSpeed(), kDefaultPointerSpeed);
  EXPECT_EQ(none.GetWheelScrollLines(), kDefaultWheelLines);
}

}  // namespace
}  // namespace tk410
