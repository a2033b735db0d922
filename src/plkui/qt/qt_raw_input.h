#pragma once
// QtRawInput: the key and mouse events of this program's own windows as raw
// input. It watches the application's events where they first arrive (the
// top-level window), so each user action is published once. A key is decided
// by its physical key, the native scan code (the X11 keycode on X11 and
// Wayland alike), through the physical key table; whether the keypad types
// digits is read from what it typed and Shift. An event without a known scan
// code (synthesized) is decided by its keysym, else by Qt's key.
// While a global source (XInput2) publishes the same input, this one is
// suppressed so nothing arrives twice.

#include <QObject>
#include <atomic>

#include "assign/physical_keys.h"
#include "platform/raw_input_hub.h"

class QKeyEvent;

namespace PLKUI::qt {

class QtRawInput : public QObject, public tk410::RawInputSource {
  Q_OBJECT
 public:
  bool Start(tk410::RawInputHub& hub) override;
  void Stop() override;
  bool IsGlobal() const override { return false; }
  void SetSuppressed(bool suppressed) { suppressed_.store(suppressed); }

  // The raw event of a Qt key event (exposed for tests).
  static tk410::RawInputEvent KeyEvent(const QKeyEvent& event, bool pressed);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  tk410::RawInputHub* hub_ = nullptr;
  std::atomic<bool> suppressed_{false};
  tk410::HeldPhysicalKeys held_;  // on the GUI thread
};

}  // namespace PLKUI::qt
