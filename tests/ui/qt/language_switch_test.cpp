// Switching the interface language on the Qt views (offscreen): to Chinese
// and back re-translates every caption and tooltip, and a picture of the
// settings page is saved in each language.

#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QTest>
#include <filesystem>
#include <map>
#include <set>

#include "app/language_files.h"
#include "app/settings_store.h"
#include "base/clock.h"
#include "device/device_manager.h"
#include "platform/fake_pointer_settings.h"
#include "plkui/controls.h"
#include "plkui/manager.h"
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

QApplication& g_app = test::TestApp();

void Settle() {
  for (int i = 0; i < 5; ++i) QCoreApplication::processEvents();
}

using Texts = std::map<int, std::pair<std::wstring, std::wstring>>;  // id → caption, tooltip

// The version values come from the mouse, filled by the worker at its own pace.
bool IsDeviceData(int id) {
  return id == ctl::kVersionLabelA || id == ctl::kVersionLabelB || id == ctl::kVersionLabelC;
}

Texts CaptionsOf(DeviceMainDlg& window) {
  Texts texts;
  for (PLKUI::MControl* control : window.GetControls()) {
    if (IsDeviceData(control->GetId())) continue;
    auto* font = dynamic_cast<PLKUI::MControlFont*>(control);
    texts[control->GetId()] = {font ? font->GetTitle() : L"", control->GetTooltip()};
  }
  return texts;
}

TEST(LanguageSwitchQtTest, ChineseAndBackRetranslatesEveryCaption) {
  test::OffscreenWindowRig rig;
  ASSERT_TRUE(rig.db_opened);
  auto& runtime = rig.runtime;
  auto& dir = rig.dir;
  auto& texts = rig.texts;
  DeviceMainServices& services = rig.services;
  const SettingsStore settings((dir.path() / "config").wstring());
  settings.ReadLanguageSetting();
  LanguageFileTexts chinese(LanguageFileTexts::DefaultDirectory(), kLanguageChinese);
  FakePointerSettings pointer;
  services.pointer = &pointer;
  services.language_files = &texts;
  services.settings = &settings;
  DeviceMainDlg window(services);
  ASSERT_TRUE(window.Create(nullptr, L"TEVO TK410", 0x96000000u, 0, PLKUI::MRect{0, 0, 1121, 780}));
  // The pages open once the worker has read the mouse.
  ASSERT_TRUE(QTest::qWaitFor([&] { return window.initial_read_done.load() != 0; }, 5000));
  window.online.store(true);
  window.RefreshTexts();
  Settle();
  // The settings page shows the desktop's pointer values once it is shown.
  auto* tabs = window.Control<PLKUI::MTabCtrl>(ctl::kTabs);
  tabs->PerformSelect(4);
  Settle();
  ASSERT_EQ(window.current_page.load(), 6);
  const Texts english = CaptionsOf(window);

  // Every English text with one Chinese counterpart.
  std::map<std::wstring, std::set<std::wstring>> to_chinese;
  for (int id = 1; id < 1000; ++id) {
    const std::wstring e = texts.GetLangText(id);
    if (!e.empty()) to_chinese[e].insert(chinese.GetLangText(id));
  }

  auto* host = runtime.HostOf(window);
  ASSERT_NE(host, nullptr);
  const QString artifacts = QStringLiteral(TK410_BIN_DIR "/../artifacts");
  QDir().mkpath(artifacts);

  auto* list = window.Control<PLKUI::MComboBox>(ctl::kLanguage);
  ASSERT_NE(list, nullptr);
  list->PerformSelect(0);  // 简体中文
  Settle();
  ASSERT_EQ(texts.CurrentLanguage(), kLanguageChinese);
  EXPECT_EQ(settings.ReadLanguageSetting(), kLanguageChinese);
  EXPECT_TRUE(host->grab().save(artifacts + QStringLiteral("/tk410_settings_2052.png")));

  const Texts switched = CaptionsOf(window);
  int translated = 0;
  for (const auto& [id, pair] : english) {
    for (int part = 0; part < 2; ++part) {
      const std::wstring& before = part == 0 ? pair.first : pair.second;
      const std::wstring& after = part == 0 ? switched.at(id).first : switched.at(id).second;
      auto found = to_chinese.find(before);
      if (found == to_chinese.end() || found->second.size() != 1) continue;
      EXPECT_EQ(after, *found->second.begin()) << "control " << id << (part ? " tooltip" : " caption");
      ++translated;
    }
  }
  EXPECT_GT(translated, 80);

  list->PerformSelect(1);  // English
  Settle();
  ASSERT_EQ(texts.CurrentLanguage(), kLanguageEnglish);
  EXPECT_TRUE(host->grab().save(artifacts + QStringLiteral("/tk410_settings_1033.png")));
  const Texts back = CaptionsOf(window);
  for (const auto& [id, pair] : english) {
    EXPECT_EQ(back.at(id).first, pair.first) << "control " << id;
    EXPECT_EQ(back.at(id).second, pair.second) << "control " << id << " tooltip";
  }

  window.EndProgram();
  window.DestroyWindow();
}

}  // namespace
}  // namespace tk410
