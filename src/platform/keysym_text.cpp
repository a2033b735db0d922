#include "platform/keysym_text.h"

#ifdef TK410_HAVE_XKBCOMMON
#include <xkbcommon/xkbcommon.h>
#endif

namespace tk410 {

namespace {

struct DeadKey {
  uint32_t keysym;
  char32_t accent;
};

// dead_grave .. dead_ogonek (keysymdef.h) and the accents they stand for.
constexpr DeadKey kDeadKeys[] = {
    {0xfe50, U'`'},      {0xfe51, U'\u00b4'}, {0xfe52, U'^'},      {0xfe53, U'~'},
    {0xfe54, U'\u00af'}, {0xfe55, U'\u02d8'}, {0xfe56, U'\u02d9'}, {0xfe57, U'\u00a8'},
    {0xfe58, U'\u02da'}, {0xfe59, U'\u02dd'}, {0xfe5a, U'\u02c7'}, {0xfe5b, U'\u00b8'},
    {0xfe5c, U'\u02db'},
};

char32_t CodePointOf(uint32_t keysym) {
  if ((keysym >= 0x20 && keysym <= 0x7e) || (keysym >= 0xa0 && keysym <= 0xff)) return keysym;
  if (keysym >= 0x01000100 && keysym <= 0x0110ffff) return keysym - 0x01000000;
  for (const DeadKey& dead : kDeadKeys)
    if (dead.keysym == keysym) return dead.accent;
#ifdef TK410_HAVE_XKBCOMMON
  return xkb_keysym_to_utf32(keysym);
#else
  return 0;
#endif
}

bool Printable(char32_t cp) {
  return cp >= 0x20 && !(cp >= 0x7f && cp < 0xa0) && !(cp >= 0xd800 && cp <= 0xdfff) && cp <= 0x10ffff;
}

}  // namespace

std::wstring KeysymText(uint32_t keysym) {
  const char32_t cp = CodePointOf(keysym);
  if (!Printable(cp)) return std::wstring();
  return std::wstring(1, static_cast<wchar_t>(cp));
}

}  // namespace tk410
