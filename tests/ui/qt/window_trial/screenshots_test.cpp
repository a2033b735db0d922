// Pictures of the window as a user meets it, in English and in Simplified
// Chinese: the five pages, the assignment dialog (keys and emoji), a macro
// pop-up menu, the sensor help, the state with no mouse and the state with a
// mouse that may not be opened. They go to
// <build>/artifacts/screenshots/<language>/ for a person to look at; the test
// checks only that each scene could be reached and saved.

#include <gtest/gtest.h>

#include <QCursor>
#include <QMenu>
#include <QPainter>
#include <QTimer>
#include <functional>

#include "assign/button_function.h"
#include "assign/mouse_key_config_dlg.h"
#include "ui/qt/window_trial/trial_window.h"

namespace tk410 {
namespace {

QApplication& g_app = test::TrialApp();

using test::Settle;
using test::TrialMouse;
using test::TrialWindow;

// The window with the pop-ups open over it (menus, tooltips) painted where
// they stand on the screen.
QPixmap GrabWithPopups(QWidget& host) {
  QPixmap shot = host.grab();
  QPainter p(&shot);
  for (QWidget* w : QApplication::topLevelWidgets()) {
    if (w == &host || !w->isVisible()) continue;
    const Qt::WindowType type = w->windowType();
    if (type != Qt::Popup && type != Qt::ToolTip) continue;
    p.drawPixmap(w->pos() - host.pos(), w->grab());
  }
  return shot;
}

class ScreenshotTest : public ::testing::TestWithParam<int> {
 protected:
  QString Folder() { return test::ArtifactsFolder(QStringLiteral("screenshots/%1").arg(GetParam())); }
  void Save(const QPixmap& shot, const char* name) {
    EXPECT_FALSE(shot.isNull()) << name;
    EXPECT_TRUE(shot.save(Folder() + QLatin1Char('/') + QLatin1String(name) + QStringLiteral(".png")))
        << name;
  }
  // Runs `act` on the assignment dialog that `open` shows, then cancels it.
  void WithAssignmentDialog(TrialWindow& trial, const std::function<void(QWidget&)>& act,
                            const std::function<void()>& open) {
    bool ran = false;
    QTimer::singleShot(50, [&] {
      for (QWidget* w : QApplication::topLevelWidgets()) {
        auto* host = qobject_cast<PLKUI::qt::WindowHost*>(w);
        if (!host || !host->isVisible() || !dynamic_cast<MouseKeyConfigDlg*>(&host->Dialog())) continue;
        Settle();
        act(*host);
        ran = true;
        host->Dialog().DoCancel();
        return;
      }
    });
    open();
    EXPECT_TRUE(ran);
  }
};

TEST_P(ScreenshotTest, PagesDialogsAndMenusOfAConnectedMouse) {
  TrialWindow trial(GetParam(), TrialMouse::kWired);
  ASSERT_TRUE(trial.Ready());
  const char* pages[] = {"page1_home", "page2_buttons", "page3_dpi", "page4_macros", "page6_settings"};
  for (int i = 0; i < 5; ++i) {
    trial.ShowPage(i);
    Save(trial.Host().grab(), pages[i]);
  }

  // The sensor help, shown as the pointer rests on its button.
  trial.ShowPage(2);
  QWidget* help = trial.View(ctl::kSensorHelp);
  ASSERT_NE(help, nullptr);
  QHelpEvent hover(QEvent::ToolTip, help->rect().center(), help->mapToGlobal(help->rect().center()));
  QApplication::sendEvent(help, &hover);
  Settle();
  Save(GrabWithPopups(trial.Host()), "page3_sensor_help");

  // The assignment dialog: the keyboard form and the emoji form.
  KeyConfigServices services{&trial.Db(), &trial.Texts(), nullptr};
  const int profile = trial.Window().current_profile.load();
  WithAssignmentDialog(
      trial, [&](QWidget& dialog) { Save(dialog.grab(), "assign_keyboard"); },
      [&] { AssignFromKeyPage(trial.Window(), 4, kKindKeyboard, profile, services); });
  WithAssignmentDialog(
      trial, [&](QWidget& dialog) { Save(dialog.grab(), "assign_emoji"); },
      [&] { AssignFromKeyPage(trial.Window(), 5, kKindEmoji, profile, services); });

  // A macro and the menu of a right click on it.
  trial.ShowPage(3);
  trial.Window().Control<PLKUI::MControl>(ctl::kMacroNew)->PerformClick();
  Settle();
  QWidget* list = trial.View(ctl::kMacroList);
  ASSERT_NE(list, nullptr);
  // The pointer stands where the click is: the menu opens there.
  QCursor::setPos(list->mapToGlobal(QPoint(40, 16)));
  QTest::mouseClick(list, Qt::RightButton, {}, QPoint(40, 16));
  Settle();
  QMenu* menu = nullptr;
  for (QWidget* w : QApplication::topLevelWidgets())
    if (auto* m = qobject_cast<QMenu*>(w); m && m->isVisible()) menu = m;
  ASSERT_NE(menu, nullptr) << "no menu after a right click on the macro";
  Save(GrabWithPopups(trial.Host()), "page4_macro_menu");
  menu->close();
  Settle();
}

TEST_P(ScreenshotTest, NoMouseAndAccessDenied) {
  {
    TrialWindow trial(GetParam(), TrialMouse::kNone);
    ASSERT_TRUE(trial.Ready());
    Save(trial.Host().grab(), "no_mouse");
  }
  TrialWindow trial(GetParam(), TrialMouse::kDenied);
  ASSERT_TRUE(trial.Ready());
  Save(trial.Host().grab(), "access_denied");
}

INSTANTIATE_TEST_SUITE_P(Languages, ScreenshotTest, ::testing::Values(1033, 2052),
                         [](const ::testing::TestParamInfo<int>& info) {
                           return info.param == 1033 ? std::string("English") : std::string("Chinese");
                         });

}  // namespace
}  // namespace tk410
