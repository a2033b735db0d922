// Key capture and recording on the Qt views (offscreen): key and mouse
// events synthesized on the windows travel through the Qt raw input source
// and the hub to the assignment dialog and the macro recorder; pictures of
// the dialog's keyboard and emoji forms and of the macro page are saved.

#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QTest>
#include <QTimer>
#include <QWindow>
#include <filesystem>
#include <functional>

#include "app/language_files.h"
#include "assign/button_function.h"
#include "assign/mouse_key_config_dlg.h"
#include "base/clock.h"
#include "device/device_manager.h"
#include "platform/raw_input_hub.h"
#include "plkui/controls.h"
#include "plkui/manager.h"
#include "plkui/qt/control_view.h"
#include "plkui/qt/qt_raw_input.h"
#include "plkui/qt/qt_runtime.h"
#include "plkui/qt/window_host.h"
#include "sim/virtual_hid_bus.h"
#include "store/config_database.h"
#include "support/qt_app_environment.h"
#include "support/temp_dir.h"
#include "ui/device_main_dlg.h"

namespace tk410 {
namespace {

QApplication& g_app = test::TestApp();

void Settle() {
  for (int i = 0; i < 5; ++i) QCoreApplication::processEvents();
}

QString Artifacts() {
  const QString dir = QStringLiteral(TK410_BIN_DIR "/../artifacts");
  QDir().mkpath(dir);
  return dir;
}

// The open dialog's host: the visible top-level window with this title.
PLKUI::qt::WindowHost* OpenHost(const QString& title) {
  for (QWidget* w : QApplication::topLevelWidgets())
    if (w->isVisible() && w->windowTitle() == title)
      if (auto* host = qobject_cast<PLKUI::qt::WindowHost*>(w)) return host;
  return nullptr;
}

class CaptureQtTest : public ::testing::Test {
 protected:
  CaptureQtTest()
      : scoped_(runtime_),
        bus_(std::make_shared<VirtualHidBus>(clock_)),
        devices_(bus_, clock_),
        texts_(LanguageFileTexts::DefaultDirectory(), kLanguageEnglish) {
    std::filesystem::create_directories(dir_.path() / "db");
    EXPECT_TRUE(db_.OpenForDevice(dir_.wide(), L"TK410"));
    source_.Start(hub_);
    DeviceMainServices services;
    services.db = &db_;
    services.devices = &devices_;
    services.clock = &clock_;
    services.texts = &texts_;
    services.data_directory = dir_.wide();
    services.raw_input = &hub_;
    window_ = std::make_unique<DeviceMainDlg>(services);
    EXPECT_TRUE(window_->Create(nullptr, L"TEVO TK410", 0x96000000u, 0, PLKUI::MRect{0, 0, 1121, 780}));
    window_->RefreshProfileList();
    window_->FillFunctionLists();
    window_->RefreshKeyPage();
    window_->ShowMacroPage();
    Settle();
  }
  ~CaptureQtTest() override {
    window_->EndProgram();
    window_->DestroyWindow();
    window_.reset();
    source_.Stop();
  }
  // Runs `act` once the dialog opened by `open` shows.
  void WithDialog(const std::function<void(PLKUI::qt::WindowHost&)>& act, const std::function<void()>& open) {
    bool ran = false;
    QTimer::singleShot(50, [&] {
      PLKUI::qt::WindowHost* host = OpenHost(QStringLiteral("MouseKeyConfigDlg"));
      ASSERT_NE(host, nullptr);
      Settle();
      act(*host);
      ran = true;
    });
    open();
    EXPECT_TRUE(ran);
  }

  PLKUI::qt::QtRuntime runtime_;
  PLKUI::ScopedRuntime scoped_;
  testing::TempDir dir_;
  ManualClock clock_;
  std::shared_ptr<VirtualHidBus> bus_;
  DeviceManager devices_;
  LanguageFileTexts texts_;
  ConfigDatabase db_;
  RawInputHub hub_;
  PLKUI::qt::QtRawInput source_;
  std::unique_ptr<DeviceMainDlg> window_;
};

TEST_F(CaptureQtTest, AssignmentDialogCapturesAKeyCombination) {
  auto* combo = window_->Control<PLKUI::MComboBox>(ctl::KeyComboId(4));
  int index = -1;
  for (int i = 0; i < combo->GetItemCount(); ++i)
    if (combo->GetItemData(i) == kKindKeyboard) index = i;
  ASSERT_GE(index, 0);

  WithDialog(
      [&](PLKUI::qt::WindowHost& host) {
        QWindow* handle = host.windowHandle();
        ASSERT_NE(handle, nullptr);
        auto* field = host.ViewOf(MouseKeyConfigDlg::kKeyField);
        ASSERT_NE(field, nullptr);
        // Entering the key field starts the capture.
        QTest::mouseClick(field, Qt::LeftButton);
        Settle();
        auto* dialog = dynamic_cast<MouseKeyConfigDlg*>(&host.Dialog());
        ASSERT_NE(dialog, nullptr);
        if (!dialog->Capturing()) dialog->GetControlAs<PLKUI::MEdit>(MouseKeyConfigDlg::kKeyField)->PerformEditEntered();
        ASSERT_TRUE(dialog->Capturing());
        QTest::keyPress(handle, Qt::Key_Shift, Qt::ShiftModifier);
        QTest::keyClick(handle, Qt::Key_F5, Qt::ShiftModifier);
        QTest::keyRelease(handle, Qt::Key_Shift);
        Settle();
        EXPECT_EQ(dialog->GetControlAs<PLKUI::MEdit>(MouseKeyConfigDlg::kKeyField)->GetEditText(), L"F5");
        QTest::mouseClick(host.ViewOf(MouseKeyConfigDlg::kShift), Qt::LeftButton);
        Settle();
        EXPECT_TRUE(host.grab().save(Artifacts() + QStringLiteral("/tk410_key_dialog.png")));
        QTest::mouseClick(host.ViewOf(MouseKeyConfigDlg::kOk), Qt::LeftButton);
      },
      [&] { combo->PerformSelect(index); });
  Settle();

  KeyMacroRecord row;
  ASSERT_TRUE(db_.GetKeyRecord(window_->current_profile.load(), 0, 4, row));
  EXPECT_EQ(row.macro_type, kKindKeyboard);
  EXPECT_EQ(row.macro_value, 0x3E);  // F5
  EXPECT_EQ(row.macro_value2, 2);
  EXPECT_EQ(row.macro_desc, L"Shift + F5");
  EXPECT_EQ(combo->GetTitle(), L"Shift + F5");

  // The emoji form, pictured and cancelled.
  KeyConfigServices services{&db_, &texts_, &hub_};
  WithDialog(
      [&](PLKUI::qt::WindowHost& host) {
        EXPECT_EQ(host.width(), MouseKeyConfigDlg::kEmojiWidth);
        EXPECT_TRUE(host.grab().save(Artifacts() + QStringLiteral("/tk410_emoji_dialog.png")));
        host.Dialog().DoCancel();
      },
      [&] { AssignFromKeyPage(*window_, 5, kKindEmoji, window_->current_profile.load(), services); });
  EXPECT_FALSE(db_.GetKeyRecord(window_->current_profile.load(), 0, 5, row));
}

TEST_F(CaptureQtTest, RecorderTakesSynthesizedKeysAndClicks) {
  auto* host = runtime_.HostOf(*window_);
  ASSERT_NE(host, nullptr);
  window_->Control<PLKUI::MTabCtrl>(ctl::kTabs)->PerformSelect(3);
  window_->Control<PLKUI::MControl>(ctl::kMacroNew)->PerformClick();
  window_->Control<PLKUI::MCheckControl>(ctl::kDelayNone)->PerformClick();
  Settle();
  QTest::mouseClick(host->ViewOf(ctl::kRecord), Qt::LeftButton);
  Settle();
  ASSERT_TRUE(window_->Control<PLKUI::CIconButton>(ctl::kRecord)->GetIcon() == L"icon\\icon_stop_rec.png");

  QWindow* handle = host->windowHandle();
  QTest::keyClick(handle, Qt::Key_B);
  const PLKUI::MRect list = window_->Control<PLKUI::MControl>(ctl::kStepList)->GetRect();
  QTest::mouseClick(handle, Qt::RightButton, {}, QPoint(list.left + 20, list.top + 20));
  Settle();
  // The click that stops the recording goes to the record button itself.
  QTest::mouseClick(host->ViewOf(ctl::kRecord), Qt::LeftButton);
  Settle();

  auto items = window_->Control<PLKUI::CRecordList>(ctl::kStepList)->GetRecordItems();
  std::vector<std::wstring> texts;
  for (const auto& item : items) texts.push_back(item.text);
  EXPECT_EQ(texts, (std::vector<std::wstring>{L"↓  B", L"↑  B", L"↓  RB", L"↑  RB"}));
  EXPECT_TRUE(host->grab().save(Artifacts() + QStringLiteral("/tk410_macro_recorded.png")));
}

}  // namespace
}  // namespace tk410
