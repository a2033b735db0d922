// The characters of keysyms, as key names.

#include <gtest/gtest.h>

#include "platform/keysym_text.h"

namespace tk410 {
namespace {

TEST(KeysymText, CharactersOfKeysymSets) {
  struct Row {
    uint32_t keysym;
    const wchar_t* text;
  } rows[] = {
      {0x26, L"&"},          {0x61, L"a"},          {0xe9, L"é"},      {0xdf, L"ß"},
      {0xb2, L"²"},          {0x0100263a, L"☺"},    {0x01000119, L"ę"},
      {0xfe51, L"´"},        {0xfe52, L"^"},        {0xfe57, L"¨"},    // dead keys
      {0x20, L" "},          {0xa0, L"\u00a0"},
      // Type no printable character: control keys, keypad and function keys, none.
      {0xff08, L""},         {0xff0d, L""},         {0xffbe, L""},     {0x7f, L""},
      {0x0100007f, L""},     {0x0100d800, L""},     {0, L""},
  };
  for (const Row& r : rows) EXPECT_EQ(KeysymText(r.keysym), r.text) << std::hex << r.keysym;
}

#ifdef TK410_HAVE_XKBCOMMON
// The legacy keysym sets of Central European, Cyrillic and Greek layouts.
TEST(KeysymText, LegacyKeysymSets) {
  EXPECT_EQ(KeysymText(0x1ec), L"ě");   // ecaron
  EXPECT_EQ(KeysymText(0x6c6), L"ф");   // Cyrillic_ef
  EXPECT_EQ(KeysymText(0x7e1), L"α");   // Greek_alpha
}
#endif

}  // namespace
}  // namespace tk410
