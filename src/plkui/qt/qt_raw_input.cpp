#include "plkui/qt/qt_raw_input.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QKeySequence>
#include <QMouseEvent>
#include <QWheelEvent>

#include "assign/virtual_keys.h"
#include "platform/physical_key_event.h"

namespace PLKUI::qt {

namespace {

int ButtonNumber(Qt::MouseButton button) {
  switch (button) {
    case Qt::LeftButton: return 1;
    case Qt::MiddleButton: return 2;
    case Qt::RightButton: return 3;
    case Qt::BackButton: return 8;
    case Qt::ForwardButton: return 9;
    default: return 0;
  }
}

}  // namespace

bool QtRawInput::Start(tk410::RawInputHub& hub) {
  if (!QCoreApplication::instance()) return false;
  hub_ = &hub;
  QCoreApplication::instance()->installEventFilter(this);
  return true;
}

void QtRawInput::Stop() {
  if (QCoreApplication::instance()) QCoreApplication::instance()->removeEventFilter(this);
  hub_ = nullptr;
}

namespace {

// True when the keypad key of `event` typed a digit or the decimal sign.
bool TypedKeypadDigit(const QKeyEvent& event) {
  if (event.nativeVirtualKey() != 0) return tk410::IsKeypadDigitKeysym(event.nativeVirtualKey());
  const QString text = event.text();
  return text.size() == 1 && (text[0].isDigit() || text[0] == u'.' || text[0] == u',');
}

}  // namespace

tk410::RawInputEvent QtRawInput::KeyEvent(const QKeyEvent& event, bool pressed) {
  tk410::RawInputEvent raw;
  const int keycode = static_cast<int>(event.nativeScanCode());
  if (tk410::IsPhysicalKey(keycode)) {
    // Shift and AltGr change what the key types; the name is what it types
    // without them, so it is known only when neither is held.
    const bool shift = event.modifiers().testFlag(Qt::ShiftModifier);
    const bool level_changed = shift || event.modifiers().testFlag(Qt::GroupSwitchModifier);
    const uint32_t keysym = level_changed ? 0 : event.nativeVirtualKey();
    // These keypads type digits with Num Lock on or Shift held, not both: a
    // digit typed without Shift means Num Lock is on.
    raw = tk410::PhysicalKeyEvent(keycode, pressed, tk410::KeypadTypesDigits(TypedKeypadDigit(event), shift), keysym);
  } else {
    raw.device = tk410::RawDevice::Keyboard;
    raw.message = pressed ? tk410::kWmKeyDown : tk410::kWmKeyUp;
    int vk = tk410::VirtualKeyOfKeysym(event.nativeVirtualKey());
    if (vk == 0) vk = tk410::VirtualKeyOfQtKey(event.key());
    raw.virtual_key = vk;
  }
  if (event.key() != 0 && event.key() != Qt::Key_unknown)
    raw.system_name = QKeySequence(event.key()).toString(QKeySequence::NativeText).toStdWString();
  return raw;
}

bool QtRawInput::eventFilter(QObject* watched, QEvent* event) {
  // Only where the event first arrives: the top-level window, not the
  // widgets it is passed on to.
  if (!hub_ || suppressed_.load() || !watched->isWindowType()) return false;
  switch (event->type()) {
    case QEvent::KeyPress:
    case QEvent::KeyRelease: {
      auto* key = static_cast<QKeyEvent*>(event);
      const bool pressed = event->type() == QEvent::KeyPress;
      tk410::RawInputEvent raw = KeyEvent(*key, pressed);
      const int keycode = static_cast<int>(key->nativeScanCode());
      if (tk410::IsPhysicalKey(keycode))
        raw.virtual_key = pressed ? held_.Press(keycode, raw.virtual_key) : held_.Release(keycode, raw.virtual_key);
      if (raw.virtual_key != 0 || !raw.system_name.empty()) hub_->Publish(raw);
      break;
    }
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseButtonRelease: {
      auto* mouse = static_cast<QMouseEvent*>(event);
      tk410::RawInputEvent raw;
      raw.device = tk410::RawDevice::Mouse;
      raw.button_flags = tk410::RawButtonFlags(ButtonNumber(mouse->button()),
                                               event->type() != QEvent::MouseButtonRelease);
      raw.has_cursor = true;
      raw.cursor_x = static_cast<int>(mouse->globalPosition().x());
      raw.cursor_y = static_cast<int>(mouse->globalPosition().y());
      if (raw.button_flags != 0) hub_->Publish(raw);
      break;
    }
    case QEvent::Wheel: {
      auto* wheel = static_cast<QWheelEvent*>(event);
      tk410::RawInputEvent raw;
      raw.device = tk410::RawDevice::Mouse;
      raw.button_flags = wheel->angleDelta().y() != 0 ? tk410::kRawWheel : tk410::kRawHorizontalWheel;
      raw.wheel_delta = wheel->angleDelta().y();
      hub_->Publish(raw);
      break;
    }
    default:
      break;
  }
  return false;
}

}  // namespace PLKUI::qt
