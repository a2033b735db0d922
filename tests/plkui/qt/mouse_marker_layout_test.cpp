// The button page's mouse picture: labels beside the mouse, apart from each
// other and inside the picture's area; leaders that leave the mouse straight
// at their marker's height and never cross; the longest function names fit
// their labels, in both sizes the window is shown at.

#include <gtest/gtest.h>

#include <QLineF>

#include "plkui/mouse_ctrl.h"
#include "plkui/qt/mouse_marker_layout.h"
#include "support/qt_app_environment.h"

namespace tk410::test {
namespace {

using PLKUI::qt::LayOutMouseMarkers;
using PLKUI::qt::MarkerPlacement;

QApplication& g_app = TestApp();

bool Crosses(const QPolygonF& a, const QPolygonF& b) {
  for (int i = 0; i + 1 < a.size(); ++i)
    for (int k = 0; k + 1 < b.size(); ++k)
      if (QLineF(a[i], a[i + 1]).intersects(QLineF(b[k], b[k + 1]), nullptr) == QLineF::BoundedIntersection)
        return true;
  return false;
}

TEST(MouseMarkerLayoutTest, LabelsApartAndLeadersClearOfTheMouseAndEachOther) {
  const int count = PLKUI::MouseCtrl::kMarkerCount;
  // The picture at the design size and at the window's larger and smaller scales.
  for (const QRectF area : {QRectF(0, 0, 380, 612), QRectF(0, 0, 520, 830), QRectF(0, 0, 300, 480)}) {
    const auto layout = LayOutMouseMarkers(area, count);
    ASSERT_EQ(layout.markers.size(), static_cast<size_t>(count));
    EXPECT_TRUE(area.contains(layout.body));
    for (int i = 0; i < count; ++i) {
      const MarkerPlacement& m = layout.markers[i];
      const auto where = ::testing::Message() << area.width() << " marker " << i + 1;
      EXPECT_TRUE(layout.body.contains(m.anchor)) << where;
      EXPECT_TRUE(area.contains(m.label)) << where;
      EXPECT_FALSE(m.label.intersects(layout.body)) << where;
      EXPECT_EQ(m.left, m.label.right() < layout.body.left()) << where;
      // Out of the body straight at the marker's height; the rest outside it.
      ASSERT_EQ(m.leader.size(), 3) << where;
      EXPECT_EQ(m.leader[0], m.anchor) << where;
      EXPECT_DOUBLE_EQ(m.leader[1].y(), m.anchor.y()) << where;
      EXPECT_FALSE(layout.body.contains(m.leader[1])) << where;
      EXPECT_FALSE(layout.body.contains(m.leader[2])) << where;
      for (int k = 0; k < count; ++k) {
        if (k == i) continue;
        const MarkerPlacement& other = layout.markers[k];
        EXPECT_FALSE(m.label.intersects(other.label)) << where << " and " << k + 1;
        EXPECT_FALSE(Crosses(m.leader, other.leader)) << where << " and " << k + 1;
        // A leader passes other markers at more than their radius.
        const QLineF out(m.leader[0], m.leader[1]);
        const qreal gap = std::abs(other.anchor.y() - m.anchor.y());
        const bool beside = std::min(out.x1(), out.x2()) <= other.anchor.x() &&
                            other.anchor.x() <= std::max(out.x1(), out.x2());
        if (beside) {
          EXPECT_GT(gap, PLKUI::qt::kMarkerRadius) << where << " passes " << k + 1;
        }
      }
    }
  }
}

TEST(MouseMarkerLayoutTest, LongFunctionNamesFitTheirLabels) {
  const auto layout = LayOutMouseMarkers(QRectF(0, 0, 380, 612), PLKUI::MouseCtrl::kMarkerCount);
  const QString names[] = {QStringLiteral("Button 8 function"), QStringLiteral("Ctrl + Shift + F12"),
                           QStringLiteral("Middle click"), QString::fromUtf8("第八键功能"),
                           QString::fromUtf8("滚轮向下")};
  for (const MarkerPlacement& m : layout.markers)
    for (const QString& name : names)
      for (bool selected : {false, true})
        EXPECT_GT(PLKUI::qt::MarkerLabelFontSize(name, m.label, selected), 0) << name.toStdString();
}

}  // namespace
}  // namespace tk410::test
