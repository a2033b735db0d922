#pragma once
// The main window as a user meets it: Qt views (offscreen), the real worker
// thread, a settings database in a temporary folder, the shipped texts of one
// language, and a virtual wired mouse that is attached, attached but not ours
// to open, or absent. The desktop's pointer settings are GNOME's defaults.
// Waits are bounded and on observable state, never for a fixed time.

#include <QApplication>
#include <QDir>
#include <QTest>
#include <filesystem>
#include <memory>

#include "app/language_files.h"
#include "app/settings_store.h"
#include "base/clock.h"
#include "device/device_manager.h"
#include "platform/fake_pointer_settings.h"
#include "plkui/controls.h"
#include "plkui/manager.h"
#include "plkui/qt/control_view.h"
#include "plkui/qt/qt_runtime.h"
#include "plkui/qt/window_host.h"
#include "sim/virtual_bus_device_changes.h"
#include "sim/virtual_hid_bus.h"
#include "sim/virtual_wired_mouse.h"
#include "store/config_database.h"
#include "support/qt_app_environment.h"
#include "support/temp_dir.h"
#include "ui/device_main_dlg.h"

namespace tk410::test {

enum class TrialMouse { kNone, kWired, kDenied };

// GNOME's own double-click time.
inline constexpr int kGnomeDoubleClickMs = 400;

// The test program's application on an offscreen screen of a common desktop
// size (1920 x 1080, no window frames), so windows, menus and tooltips stand
// where they would on a user's screen instead of being pushed into 800 x 600.
inline QApplication& TrialApp() {
  if (qEnvironmentVariable("QT_QPA_PLATFORM", QStringLiteral("offscreen")) == QLatin1String("offscreen"))
    qputenv("QT_QPA_PLATFORM", "offscreen:configfile=" TK410_TEST_DATA_DIR "/qt/offscreen_screen.json");
  return TestApp();
}

inline void Settle() {
  for (int i = 0; i < 5; ++i) QCoreApplication::processEvents();
}

// The build's folder for pictures the tests leave behind.
inline QString ArtifactsFolder(const QString& sub = QString()) {
  QString dir = QStringLiteral(TK410_BIN_DIR "/../artifacts");
  if (!sub.isEmpty()) dir += QLatin1Char('/') + sub;
  QDir().mkpath(dir);
  return dir;
}

class TrialWindow {
 public:
  TrialWindow(int language, TrialMouse mouse)
      : texts_(LanguageFileTexts::DefaultDirectory(), language),
        settings_((dir_.path() / "config").wstring()) {
    std::filesystem::create_directories(dir_.path() / "db");
    pointer_.double_click_ms = kGnomeDoubleClickMs;
    if (mouse != TrialMouse::kNone) {
      mouse_->SetOpenDenied(mouse == TrialMouse::kDenied);
      bus_->Attach(mouse_);
    }
    DeviceMainServices services;
    services.db = &db_;
    services.devices = &devices_;
    services.clock = &SystemClockInstance();
    services.texts = &texts_;
    services.data_directory = dir_.wide();
    services.pointer = &pointer_;
    services.language_files = &texts_;
    services.settings = &settings_;
    window_ = std::make_unique<DeviceMainDlg>(services);
    window_->SetDeviceChangeSource(std::make_unique<VirtualBusDeviceChanges>(*bus_));
    created_ = window_->Create(nullptr, L"TEVO TK410", 0x96000000u, 0, PLKUI::MRect{0, 0, 1121, 780});
    if (!created_) return;
    window_->ShowWindow(1);
    host_ = runtime_.HostOf(*window_);
    if (mouse == TrialMouse::kWired) {
      ready_ = QTest::qWaitFor([&] { return window_->initial_read_done.load() != 0; }, 5000);
    } else {
      ready_ = true;
    }
    Settle();
  }

  ~TrialWindow() {
    if (!window_) return;
    window_->EndProgram();
    window_->DestroyWindow();
  }

  // Created, shown, and (with a mouse) read once.
  bool Ready() const { return created_ && ready_ && host_; }
  DeviceMainDlg& Window() { return *window_; }
  PLKUI::qt::WindowHost& Host() { return *host_; }
  PLKUI::qt::QtRuntime& Runtime() { return runtime_; }
  LanguageFileTexts& Texts() { return texts_; }
  ConfigDatabase& Db() { return db_; }
  QWidget* View(int id) { return host_->ViewOf(id); }

  // Tab 0..4: home, buttons, DPI, macros, settings.
  void ShowPage(int tab_index) {
    window_->Control<PLKUI::MTabCtrl>(ctl::kTabs)->PerformSelect(tab_index);
    Settle();
  }

 private:
  PLKUI::qt::QtRuntime runtime_;
  PLKUI::ScopedRuntime scoped_{runtime_};
  testing::TempDir dir_;
  ConfigDatabase db_;
  std::shared_ptr<VirtualHidBus> bus_ = std::make_shared<VirtualHidBus>(SystemClockInstance());
  std::shared_ptr<VirtualWiredMouse> mouse_ = std::make_shared<VirtualWiredMouse>();
  DeviceManager devices_{bus_, SystemClockInstance()};
  LanguageFileTexts texts_;
  SettingsStore settings_;
  FakePointerSettings pointer_;
  std::unique_ptr<DeviceMainDlg> window_;
  PLKUI::qt::WindowHost* host_ = nullptr;
  bool created_ = false;
  bool ready_ = false;
};

}  // namespace tk410::test
