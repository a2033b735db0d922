// The dialog of profiles for programs on screen (offscreen Qt): opened from
// the settings page's button, every control inside the dialog and none on
// top of another, the rules listed in the shipped English texts; the
// picture is saved beside the pages' pictures.

#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QTest>
#include <QTimer>

#include "platform/fake_active_window.h"
#include "plkui/controls.h"
#include "plkui/manager.h"
#include "plkui/qt/control_view.h"
#include "plkui/qt/window_host.h"
#include "rules/app_rule.h"
#include "support/qt_app_environment.h"
#include "ui/device_main_dlg.h"
#include "ui/qt/offscreen_window_rig.h"
#include "ui/rules_dialog.h"

namespace tk410 {
namespace {

QApplication& g_app = test::TestApp();

TEST(RulesDialogQtTest, OpensFromTheSettingsPageWithEveryControlInPlace) {
  test::OffscreenWindowRig rig;
  ASSERT_TRUE(rig.db_opened);
  FakeActiveWindow source;
  rig.services.active_window = &source;
  DeviceMainDlg window(rig.services);
  ASSERT_TRUE(window.Create(nullptr, L"TEVO TK410", 0x96000000u, 0, PLKUI::MRect{0, 0, 1121, 780}));
  window.RefreshProfileList();
  ASSERT_GT(rig.db.AddAppRule(AppRuleRecord{0, kMatchExecutable, L"Cyberpunk2077.exe", 3}), 0);
  ASSERT_GT(rig.db.AddAppRule(AppRuleRecord{0, kMatchSteamApp, L"570", 2}), 0);
  ASSERT_GT(rig.db.AddAppRule(AppRuleRecord{0, kMatchOtherPrograms, L"", 1}), 0);

  bool ran = false;
  QTimer::singleShot(50, [&] {
    PLKUI::qt::WindowHost* host = nullptr;
    for (QWidget* w : QApplication::topLevelWidgets()) {
      if (w->isVisible() && w->windowTitle() == QStringLiteral("RulesDlg")) host = qobject_cast<PLKUI::qt::WindowHost*>(w);
    }
    ASSERT_NE(host, nullptr);
    for (int i = 0; i < 5; ++i) QCoreApplication::processEvents();
    auto& dialog = static_cast<RulesDlg&>(host->Dialog());
    auto* list = dialog.GetControlAs<PLKUI::MacroList>(RulesDlg::kRuleList);
    ASSERT_EQ(list->GetItemCount(), 2);
    EXPECT_EQ(list->GetItemText(0), L"Program: Cyberpunk2077.exe  \u2192  Profile 3");
    EXPECT_EQ(list->GetItemText(1), L"Steam game: 570  \u2192  Profile 2");
    EXPECT_EQ(dialog.GetControlAs<PLKUI::MComboBox>(RulesDlg::kOther)->GetCurText(), L"Profile 1");

    const QRect inside(0, 0, RulesDlg::kWidth, RulesDlg::kHeight);
    std::vector<std::pair<int, QRect>> placed;
    for (PLKUI::MControl* control : dialog.GetControls()) {
      const PLKUI::MRect r = control->GetRect();
      const QRect rect(r.left, r.top, r.Width(), r.Height());
      EXPECT_TRUE(inside.contains(rect)) << control->GetId();
      for (const auto& [id, other] : placed) {
        if (control->GetId() != RulesDlg::kTitleArea && id != RulesDlg::kTitleArea) {
          EXPECT_FALSE(rect.intersects(other)) << control->GetId() << " over " << id;
        }
      }
      placed.emplace_back(control->GetId(), rect);
    }
    const QString artifacts = QStringLiteral(TK410_BIN_DIR "/../artifacts");
    QDir().mkpath(artifacts);
    EXPECT_TRUE(host->grab().save(artifacts + QStringLiteral("/tk410_rules_dialog.png")));
    ran = true;
    QTest::mouseClick(host->ViewOf(RulesDlg::kClose), Qt::LeftButton);
  });
  window.OnMessage(ctl::kRulesButton, PLKUI::kNotifyClick, 0);
  EXPECT_TRUE(ran);
  window.DestroyWindow();
}

}  // namespace
}  // namespace tk410
