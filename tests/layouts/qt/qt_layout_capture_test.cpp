// Key capture through the Qt path (offscreen): for every key of the layout
// table a key event is synthesized as Qt delivers it on an X server with
// that layout (native scan code = X11 keycode, keysym, modifiers, text),
// turned into a raw event by the Qt source and decoded by the capture.

#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>
#include <string>

#include "assign/key_capture.h"
#include "assign/key_tables.h"
#include "layouts/layout_cases.h"
#include "platform/raw_input_hub.h"
#include "plkui/qt/qt_raw_input.h"
#include "support/qt_app_environment.h"

namespace tk410 {
namespace {

QApplication& g_app = test::TestApp();

using layouts::kLayoutCases;
using layouts::CaseName;
using layouts::LayoutCase;

bool IsKeypadKeysym(uint32_t keysym) { return keysym >= 0xff80 && keysym <= 0xffbd; }

// Qt's key number of a keysym, as Qt's X11 and Wayland backends give it.
int QtKeyOf(uint32_t keysym) {
  if (keysym >= 0xffb0 && keysym <= 0xffb9) return Qt::Key_0 + static_cast<int>(keysym - 0xffb0);
  switch (keysym) {
    case 0xffae: return Qt::Key_Period;
    case 0xffac: return Qt::Key_Comma;
    case 0xffaf: return Qt::Key_Slash;
    case 0xffaa: return Qt::Key_Asterisk;
    case 0xffad: return Qt::Key_Minus;
    case 0xffab: return Qt::Key_Plus;
    case 0xff8d: return Qt::Key_Enter;
    case 0xff7f: return Qt::Key_NumLock;
    case 0xff9e: return Qt::Key_Insert;
    case 0xff9f: return Qt::Key_Delete;
    case 0xff95: return Qt::Key_Home;
    case 0xff9c: return Qt::Key_End;
    case 0xff9a: return Qt::Key_PageUp;
    case 0xff9b: return Qt::Key_PageDown;
    case 0xff96: return Qt::Key_Left;
    case 0xff97: return Qt::Key_Up;
    case 0xff98: return Qt::Key_Right;
    case 0xff99: return Qt::Key_Down;
    case 0xff9d: return Qt::Key_Clear;
    case 0xfe51: return Qt::Key_Dead_Acute;
    case 0xfe52: return Qt::Key_Dead_Circumflex;
    case 0x1008ff12: return Qt::Key_VolumeMute;
    default: break;
  }
  if (keysym >= 0x20 && keysym <= 0xff) return QChar(static_cast<char16_t>(keysym)).toUpper().unicode();
  return Qt::Key_unknown;
}

// The text Qt gives with the event: the typed character, if any.
QString TextOf(uint32_t keysym) {
  if (keysym >= 0xffb0 && keysym <= 0xffb9) return QString(QChar(u'0' + (keysym - 0xffb0)));
  if (keysym >= 0x20 && keysym <= 0xff) return QString(QChar(static_cast<char16_t>(keysym)));
  return QString();
}

QKeyEvent EventOf(const LayoutCase& c, bool pressed) {
  Qt::KeyboardModifiers modifiers;
  if (c.shift) modifiers |= Qt::ShiftModifier;
  if (IsKeypadKeysym(c.keysym)) modifiers |= Qt::KeypadModifier;
  // X11 state bits: Shift 0x01, Num Lock 0x10 (Mod2).
  const quint32 native_modifiers = (c.shift ? 0x01u : 0u) | (c.num_lock ? 0x10u : 0u);
  return QKeyEvent(pressed ? QEvent::KeyPress : QEvent::KeyRelease, QtKeyOf(c.keysym), modifiers,
                   static_cast<quint32>(c.keycode), c.keysym, native_modifiers, TextOf(c.keysym));
}

TEST(QtLayoutCapture, KeysAreStoredByNativeScanCodeOnUsFrenchAndGermanLayouts) {
  RawInputHub hub;
  int listener = 0;
  hub.Register(&listener, [](intptr_t) {});
  KeyCapture capture(&hub);
  for (const LayoutCase& c : kLayoutCases) {
    CapturedInput press;
    capture.DecodeRawInput(hub.Publish(PLKUI::qt::QtRawInput::KeyEvent(EventOf(c, true), true)), press);
    EXPECT_EQ(press.kind, kCapturedKeyboard) << CaseName(c);
    EXPECT_EQ(press.code, c.code) << CaseName(c);
    EXPECT_EQ(VirtualKeyToUsage(press.code), c.usage) << CaseName(c);
    EXPECT_EQ(press.text, c.name) << CaseName(c);
    CapturedInput release;
    capture.DecodeRawInput(hub.Publish(PLKUI::qt::QtRawInput::KeyEvent(EventOf(c, false), false)), release);
    EXPECT_EQ(release.released, 1) << CaseName(c);
    EXPECT_EQ(release.code, c.code) << CaseName(c);
  }
  hub.Unregister(&listener);
}

}  // namespace
}  // namespace tk410
