#pragma once
// The help of a "?" button, shown while the pointer rests on the button: a
// dark tip placed above the button, so it leaves the controls below the
// button (the ones it explains) in view. Where the screen has no room above,
// it goes right of the button, and only then below it. One tip at a time.

#include <QRect>
#include <QSize>
#include <QString>

class QWidget;

namespace PLKUI::qt {

void ShowHelpTip(QWidget* button, const QString& text);
// Hides the tip when `button` shows it.
void HideHelpTip(const QWidget* button);

// Where a tip of `size` goes for a button at `button` (global coordinates) on
// a screen area `screen`.
QRect PlaceHelpTip(const QRect& button, const QSize& size, const QRect& screen);

}  // namespace PLKUI::qt
