#include "assign/function_text.h"

#include <gtest/gtest.h>

#include "app/lang_text.h"

namespace tk410 {
namespace {

KeyMacroRecord Row(int kind, int value, std::wstring desc = L"") {
  KeyMacroRecord row;
  row.macro_type = kind;
  row.macro_value = value;
  row.macro_desc = std::move(desc);
  return row;
}

TEST(ModifierTextTest, JoinsWordsWithTheirOwnSpacing) {
  struct Case { int bits; const wchar_t* key; const wchar_t* text; };
  const Case cases[] = {
      {0x00, L"A", L"A"},
      {0x00, L"", L""},
      {0x02, L"", L"Shift"},
      {0x03, L"", L"Shift+ Ctrl"},
      {0x05, L"A", L"Ctrl+ Alt + A"},
      {0x0F, L"F5", L"Shift+ Ctrl+ Win+ Alt + F5"},
      {0x08, L"E", L"Win + E"},
      {0x10, L"A", L"A"},           // right-hand bits are not named
      {0x31, L"C", L"Ctrl + C"},
  };
  for (const auto& c : cases) EXPECT_EQ(ModifierText(c.bits, c.key), c.text) << c.bits;
}

TEST(BuildFunctionTextTest, StoresTextIdsOrTheGivenText) {
  InMemoryLanguageTexts texts(1033);
  struct Case { int kind; int value; const wchar_t* given; const wchar_t* stored; };
  const Case cases[] = {
      {1, 1, L"x", L"121"},   {2, 1, L"", L"123"},    {3, 1, L"", L"122"},
      {4, 1, L"", L"111"},    {5, 1, L"", L"124"},    {6, 1, L"", L"125"},
      {7, 1, L"", L"127"},    {8, 1, L"", L"128"},    {9, 1, L"", L"90"},
      {10, 1, L"", L"91"},    {11, 1, L"", L"156"},   {12, 1, L"mine", L"mine"},
      {13, 1, L"", L"129"},   {14, 1, L"", L"130"},   {15, 1, L"", L"150"},
      {16, 1, L"", L"151"},   {17, 1, L"", L"152"},   {18, 1, L"", L"152"},
      {19, 1, L"", L"153"},   {20, 1, L"", L"154"},   {21, 1, L"", L"155"},
      {22, 4, L"Ctrl + A", L"Ctrl + A"},              {24, 1, L"", L"162"},
      {25, 1, L"", L"178"},   {25, 8, L"", L"177"},   {25, 9, L"kept", L"kept"},
      {26, 4, L"", L"189"},   {26, 11, L"", L"31"},   {26, 13, L"", L"36"},
      {26, 14, L"kept", L"kept"},                     {27, 5, L"[色]", L"[色]"},
      {103, 1, L"", L"151"},  {103, 5, L"", L"155"},  {103, 6, L"kept", L"kept"},
      {104, 9, L"", L"161"},  {101, 1, L"kept", L"kept"}, {999, 1, L"kept", L"kept"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(BuildFunctionText(Row(c.kind, c.value, c.given), texts), c.stored) << c.kind;
}

TEST(BuildFunctionTextTest, MacroNamesReadInTheCurrentLanguage) {
  InMemoryLanguageTexts zh(2052, {{351, L"自定义"}});
  EXPECT_EQ(BuildFunctionText(Row(23, 7, L"Custom 3"), zh), L"自定义 3");
  // The cut keeps the space before the suffix: two spaces in a row.
  EXPECT_EQ(BuildFunctionText(Row(23, 7, L"Custom 3 Copy"), zh), L"自定义 3  复制");
  EXPECT_EQ(BuildFunctionText(Row(23, 7, L"自定義 2 複製"), zh), L"自定义 2  复制");
  EXPECT_EQ(BuildFunctionText(Row(23, 7, L"自定义 1 复制"), zh), L"自定义 1 复制");  // already Chinese

  InMemoryLanguageTexts en(1033, {{351, L"Custom"}});
  EXPECT_EQ(BuildFunctionText(Row(23, 7, L"自定义 4 复制"), en), L"Custom 4  Copy");
  EXPECT_EQ(BuildFunctionText(Row(23, 7, L"Пользовательский 5"), en), L"Customельский 5");
  EXPECT_EQ(BuildFunctionText(Row(23, 7, L"My macro"), en), L"My macro");

  InMemoryLanguageTexts ru(1049, {{351, L"Пользоват"}});
  EXPECT_EQ(BuildFunctionText(Row(23, 7, L"Custom 1 Копировать"), ru), L"Пользоват 1 Копировать");
  EXPECT_EQ(BuildFunctionText(Row(23, 7, L"Custom 1 Copy"), ru), L"Пользоват 1  Копировать");

  InMemoryLanguageTexts other(1031, {{351, L"Benutzer"}});
  EXPECT_EQ(BuildFunctionText(Row(23, 7, L"Custom 3 Copy"), other), L"Custom 3 Copy");

  // Only the matched suffix is replaced, not an earlier use of the same word.
  EXPECT_EQ(BuildFunctionText(Row(23, 7, L"Copy paste Copy"), zh), L"Copy paste  复制");
  // Without a text 351 the prefix is kept rather than erased.
  InMemoryLanguageTexts no_text(2052);
  EXPECT_EQ(BuildFunctionText(Row(23, 7, L"Custom 3"), no_text), L"Custom 3");
}

}  // namespace
}  // namespace tk410
