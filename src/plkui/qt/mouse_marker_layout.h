#pragma once
// Where the mouse picture of the button page stands, where its eight markers
// sit on it, where each marker's label goes and how its leader line runs.
//
// Labels stand in two columns beside the mouse, each at the height of its
// marker as far as the labels' spacing allows, in the markers' order. A
// leader runs straight out of the body at its marker's height and then to its
// label, so it crosses no other marker and no other leader, and nothing of
// it but that first stretch lies over the mouse.

#include <QPolygonF>
#include <QRectF>
#include <QString>
#include <vector>

namespace PLKUI::qt {

struct MarkerPlacement {
  QPointF anchor;    // the marker's centre on the mouse
  QRectF label;      // its label
  QPolygonF leader;  // from the anchor to the label's near edge
  bool left = false; // the label stands left of the mouse
};

struct MouseMarkerLayout {
  QRectF body;  // the mouse's outline fits this rectangle
  std::vector<MarkerPlacement> markers;
};

inline constexpr qreal kMarkerRadius = 8;

// The layout of `count` markers (at most eight) in `area`.
MouseMarkerLayout LayOutMouseMarkers(const QRectF& area, int count);

// The largest of the label font sizes (12, 11 and 10 pixels) at which `text`,
// wrapped at word boundaries, fits inside `label` less its padding; 0 when it
// fits at none (the caller then shortens it).
int MarkerLabelFontSize(const QString& text, const QRectF& label, bool bold);

// The part of a label the text is drawn into.
QRectF MarkerLabelTextRect(const QRectF& label);

}  // namespace PLKUI::qt
