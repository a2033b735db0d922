// The macro page's pop-up menus on the Qt views (offscreen), with the window
// away from the screen's corner: a right click opens its menu at the
// pointer, the insert menu opens just above its button.

#include <gtest/gtest.h>

#include <QApplication>
#include <QCursor>
#include <QMenu>
#include <QTest>

#include "plkui/controls.h"
#include "plkui/manager.h"
#include "plkui/qt/control_view.h"
#include "plkui/qt/window_host.h"
#include "support/qt_app_environment.h"
#include "ui/device_main_dlg.h"
#include "ui/qt/offscreen_window_rig.h"

// Points print as (x, y) in failure messages.
inline void PrintTo(const QPoint& p, std::ostream* os) { *os << "(" << p.x() << ", " << p.y() << ")"; }

namespace tk410 {
namespace {

QApplication& g_app = test::TestApp();

constexpr int kWaitMs = 5000;

// The pop-up menu shown now, once it is on screen.
QMenu* OpenMenu() {
  QMenu* menu = nullptr;
  const bool shown = QTest::qWaitFor([&] {
    menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    return menu && menu->isVisible();
  }, kWaitMs);
  return shown ? menu : nullptr;
}

void CloseMenu(QMenu* menu) {
  menu->close();
  EXPECT_TRUE(QTest::qWaitFor([] { return QApplication::activePopupWidget() == nullptr; }, kWaitMs));
}

TEST(WindowTrialMenus, MacroMenusOpenAtThePointer) {
  test::OffscreenWindowRig rig;
  ASSERT_TRUE(rig.db_opened);
  rig.db.AddMacro(L"Combo");
  DeviceMainDlg window(rig.services);
  ASSERT_TRUE(window.Create(nullptr, L"TEVO TK410", 0x96000000u, 0, PLKUI::MRect{0, 0, 1121, 780}));
  ASSERT_TRUE(QTest::qWaitFor([&] { return window.initial_read_done.load() != 0; }, kWaitMs));
  // Away from the screen's corner, as a centred window is.
  window.MoveWindow(PLKUI::MRect{40, 30, 40 + 1121, 30 + 780});
  window.ShowWindow(1);
  window.Control<PLKUI::MTabCtrl>(ctl::kTabs)->PerformSelect(3);
  window.ShowMacroPage();
  QCoreApplication::processEvents();
  auto* host = rig.runtime.HostOf(window);
  ASSERT_NE(host, nullptr);
  ASSERT_EQ(host->geometry().topLeft(), QPoint(40, 30));

  // Right clicks: the menu's corner lies just beside the pointer.
  const std::pair<int, QPoint> clicks[] = {{ctl::kMacroList, QPoint(202, 152)},
                                           {ctl::kStepList, QPoint(200 - 125, 152)}};
  for (auto [list, expected] : clicks) {
    SCOPED_TRACE(list);
    QCursor::setPos(200, 150);
    window.OnMessage(list, PLKUI::kNotifyRightClick, 0);
    QMenu* menu = OpenMenu();
    ASSERT_NE(menu, nullptr);
    EXPECT_EQ(menu->pos(), expected);
    CloseMenu(menu);
  }

  // The insert menu: its bottom part over the insert button, on the same left edge.
  auto* insert = host->ViewOf(ctl::kStepInsert);
  ASSERT_NE(insert, nullptr);
  window.OnMessage(ctl::kStepInsert, PLKUI::kNotifyClick, 0);
  QMenu* menu = OpenMenu();
  ASSERT_NE(menu, nullptr);
  EXPECT_EQ(menu->pos(), insert->mapToGlobal(QPoint(0, 0)) - QPoint(0, 115));
  CloseMenu(menu);

  window.EndProgram();
  window.DestroyWindow();
}

}  // namespace
}  // namespace tk410
