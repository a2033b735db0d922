#pragma once
// The one dark theme of the program's windows: colours, fonts, skin pictures
// and the small drawing helpers every view shares.

#include <QColor>
#include <QFont>
#include <QPixmap>
#include <QString>
#include <string>

class QPainter;
class QRectF;

namespace PLKUI::qt {

namespace Theme {
inline const QColor kWindowTop{0x1c, 0x20, 0x29};
inline const QColor kWindowBottom{0x10, 0x12, 0x17};
inline const QColor kPanel{0x1f, 0x23, 0x2c};
inline const QColor kRaised{0x2a, 0x2f, 0x3b};
inline const QColor kHover{0x34, 0x3a, 0x48};
inline const QColor kBorder{0x3a, 0x41, 0x50};
inline const QColor kText{0xe8, 0xeb, 0xf1};
inline const QColor kMuted{0x8e, 0x96, 0xa8};
inline const QColor kAccent{0xff, 0x4d, 0x5e};
inline const QColor kAccentSoft{0xff, 0x4d, 0x5e, 0x40};
inline const QColor kCyan{0x2e, 0xc4, 0xff};
inline const QColor kGood{0x3d, 0xd6, 0x8c};     // connected, charged
inline const QColor kWarning{0xff, 0xc1, 0x3d};  // needs the user, half charged
}  // namespace Theme

QString ToQ(const std::wstring& text);
std::wstring FromQ(const QString& text);

// The interface font: the Manager's font name first, then "Open Sans
// Semibold" and a CJK family so Chinese text always renders. `px` 0 means 13.
QFont UiFont(int px = 0, bool bold = false);

// A picture of the skin folder by the name the program gives ("img_button.png",
// "icon\tab_home.png"); a null pixmap when it is missing. Cached; GUI thread only.
QPixmap SkinPixmap(const std::wstring& name);
QString SkinPath(const std::wstring& name);

// 0x00BBGGRR (the colour values the program stores) to a QColor.
QColor FromBgr(uint32_t bgr);

// Tooltips of the program in the theme's dark colours and font (once per
// application; Qt's default is a light yellow box).
void ApplyTooltipTheme();

// The style of the pop-up menus of the views (combo lists, a text's copy menu).
QString MenuStyleSheet();

// A raised, rounded surface: the common button/box look.
void DrawSurface(QPainter& p, const QRectF& r, const QColor& fill, const QColor& border,
                 qreal radius = 6);

// The window's backdrop: a soft radial glow on the window colour with faint
// diagonal lines, filling `r`.
void DrawBackdrop(QPainter& p, const QRect& r);

}  // namespace PLKUI::qt
