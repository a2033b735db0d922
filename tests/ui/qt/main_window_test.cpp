// The main window on the Qt views (offscreen): every page shown in turn, and
// real clicks and typing on the DPI page reaching
// the handlers and the database.

#include <gtest/gtest.h>

#include <QApplication>
#include <QLineEdit>
#include <QTest>
#include <filesystem>

#include "app/language_files.h"
#include "base/clock.h"
#include "base/text.h"
#include "device/device_manager.h"
#include "plkui/controls.h"
#include "plkui/manager.h"
#include "plkui/qt/control_view.h"
#include "plkui/qt/qt_runtime.h"
#include "plkui/qt/window_host.h"
#include "sim/virtual_hid_bus.h"
#include "sim/virtual_wired_mouse.h"
#include "store/config_database.h"
#include "support/qt_app_environment.h"
#include "support/temp_dir.h"
#include "ui/device_main_dlg.h"
#include "ui/qt/offscreen_window_rig.h"

namespace tk410 {
namespace {

// Created before any test runs, so the QApplication exists first.
QApplication& g_app = test::TestApp();

void Settle() {
  for (int i = 0; i < 5; ++i) QCoreApplication::processEvents();
}

TEST(MainWindowQtTest, FivePagesAreShownAndClicksReachTheDatabase) {
  test::OffscreenWindowRig rig;
  ASSERT_TRUE(rig.db_opened);
  auto& runtime = rig.runtime;
  auto& db = rig.db;
  auto& texts = rig.texts;
  DeviceMainDlg window(rig.services);
  ASSERT_TRUE(window.Create(nullptr, L"TEVO TK410", 0x96000000u, 0, PLKUI::MRect{0, 0, 1121, 780}));
  window.RefreshProfileList();
  window.FillFunctionLists();
  window.RefreshKeyPage();
  window.LoadPerformancePage();
  window.ShowMacroPage();
  // The tab strip opens when the worker has read the mouse; a click before
  // that is not taken, and the read's own tab choice would race the clicks.
  ASSERT_TRUE(QTest::qWaitFor([&] { return window.initial_read_done.load() != 0; }, 5000));
  Settle();
  ASSERT_FALSE(texts.GetLangText(22).empty());
  EXPECT_EQ(window.Control<PLKUI::MButton>(ctl::kWriteButton)->GetTitle(), texts.GetLangText(22));
  auto* host = runtime.HostOf(window);
  ASSERT_NE(host, nullptr);

  // (live_window_test.cpp saves the pages as pictures, with the mouse's data.)
  auto* tabs = window.Control<PLKUI::MTabCtrl>(ctl::kTabs);
  const int pages[] = {1, 2, 3, 4, 6};
  for (int i = 0; i < 5; ++i) {
    tabs->PerformSelect(i);
    Settle();
    EXPECT_EQ(window.current_page.load(), pages[i]);
    const QPixmap shot = host->grab();
    EXPECT_EQ(shot.size(), QSize(1121, 780));
  }

  // On the DPI page: type a stage value, pick a report rate with the mouse.
  tabs->PerformSelect(2);
  Settle();
  auto* edit = host->ViewOf(103)->findChild<QLineEdit*>();
  ASSERT_NE(edit, nullptr);
  edit->setFocus();
  edit->selectAll();
  QTest::keyClicks(edit, "3250");
  QTest::keyClick(edit, Qt::Key_Return);
  Settle();
  std::wstring value;
  db.GetConfigValue(window.current_profile.load(), L"dpi_group2_value", value);
  EXPECT_EQ(value, L"3300");
  EXPECT_EQ(window.Control<PLKUI::DPISlider>(ctl::kDpiSlider)->GetProgress(), 33);

  QTest::mouseClick(host->ViewOf(116), Qt::LeftButton);
  Settle();
  db.GetConfigValue(window.current_profile.load(), L"report_rate", value);
  EXPECT_EQ(value, L"3");
  EXPECT_EQ(window.Control<PLKUI::ColorButtonEx>(116)->GetCheck(), 1);

  window.EndProgram();
  window.DestroyWindow();
}

}  // namespace
}  // namespace tk410
