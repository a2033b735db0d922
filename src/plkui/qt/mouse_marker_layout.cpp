#include "plkui/qt/mouse_marker_layout.h"

#include <QFontMetricsF>
#include <algorithm>

#include "plkui/qt/theme.h"

namespace PLKUI::qt {

namespace {

// Marker anchors on a mouse body of unit width and height, and the side of
// their labels: left button, right button, wheel, the two side buttons, the
// two buttons behind the wheel and the rear button. Anchors on one side are
// far enough apart in height that a leader leaving the body straight passes
// every other marker of its side.
struct MarkerPlace {
  qreal x, y;
  bool left;
};
constexpr MarkerPlace kPlaces[] = {
    {0.28, 0.22, true}, {0.72, 0.22, false}, {0.5, 0.12, false}, {0.05, 0.47, true},
    {0.06, 0.61, true}, {0.5, 0.31, false},  {0.5, 0.40, true},  {0.5, 0.84, false}};
constexpr int kPlaceCount = static_cast<int>(sizeof(kPlaces) / sizeof(kPlaces[0]));

constexpr qreal kMargin = 4;       // between the labels and the area's edge
constexpr qreal kColumnGap = 18;   // between a label column and the body
constexpr qreal kLeaderOut = 6;    // how far a leader runs past the body's edge
constexpr qreal kLabelSpacing = 8; // between two labels of one column
constexpr int kFontSizes[] = {12, 11, 10};

// Tops of labels of height `h` wanted at `wanted` (in order), kept apart and inside [low, high].
std::vector<qreal> SpreadLabels(const std::vector<qreal>& wanted, qreal h, qreal low, qreal high) {
  std::vector<qreal> tops(wanted.size());
  qreal next = low;
  for (size_t i = 0; i < wanted.size(); ++i) {
    tops[i] = std::max(wanted[i], next);
    next = tops[i] + h + kLabelSpacing;
  }
  qreal limit = high - h;
  for (size_t i = tops.size(); i-- > 0;) {
    tops[i] = std::min(tops[i], limit);
    limit = tops[i] - h - kLabelSpacing;
  }
  return tops;
}

}  // namespace

MouseMarkerLayout LayOutMouseMarkers(const QRectF& area, int count) {
  MouseMarkerLayout layout;
  const qreal bw = std::min(area.width() * 0.38, area.height() * 0.5);
  const qreal bh = std::min(bw * 2.0, area.height() * 0.86);
  layout.body = QRectF(area.center().x() - bw / 2, area.center().y() - bh / 2, bw, bh);
  const QRectF& b = layout.body;
  const qreal label_h = std::clamp(area.height() * 0.066, 30.0, 44.0);
  const qreal left_width = b.left() - kColumnGap - (area.left() + kMargin);
  const qreal right_width = area.right() - kMargin - (b.right() + kColumnGap);

  count = std::clamp(count, 0, kPlaceCount);
  layout.markers.resize(count);
  for (bool left : {true, false}) {
    std::vector<int> side;
    for (int i = 0; i < count; ++i)
      if (kPlaces[i].left == left) side.push_back(i);
    std::sort(side.begin(), side.end(), [](int a, int c) { return kPlaces[a].y < kPlaces[c].y; });
    std::vector<qreal> wanted;
    for (int i : side) wanted.push_back(b.top() + b.height() * kPlaces[i].y - label_h / 2);
    const std::vector<qreal> tops =
        SpreadLabels(wanted, label_h, area.top() + kMargin, area.bottom() - kMargin);
    for (size_t k = 0; k < side.size(); ++k) {
      MarkerPlacement& m = layout.markers[side[k]];
      const MarkerPlace& place = kPlaces[side[k]];
      m.left = left;
      m.anchor = QPointF(b.left() + b.width() * place.x, b.top() + b.height() * place.y);
      m.label = left ? QRectF(area.left() + kMargin, tops[k], left_width, label_h)
                     : QRectF(b.right() + kColumnGap, tops[k], right_width, label_h);
      const qreal out = left ? b.left() - kLeaderOut : b.right() + kLeaderOut;
      m.leader = QPolygonF({m.anchor, QPointF(out, m.anchor.y()),
                            QPointF(left ? m.label.right() : m.label.left(), m.label.center().y())});
    }
  }
  return layout;
}

QRectF MarkerLabelTextRect(const QRectF& label) { return label.adjusted(8, 2, -8, -2); }

int MarkerLabelFontSize(const QString& text, const QRectF& label, bool bold) {
  const QRectF room = MarkerLabelTextRect(label);
  for (int size : kFontSizes) {
    const QFontMetricsF metrics(UiFont(size, bold));
    const QRectF needed = metrics.boundingRect(room, Qt::TextWordWrap | Qt::AlignVCenter, text);
    if (needed.width() <= room.width() && needed.height() <= room.height()) return size;
  }
  return 0;
}

}  // namespace PLKUI::qt
