#pragma once
// A main window on a real SQLite file in a temporary directory, a device
// manager on an empty virtual bus, a manual clock, in-memory language texts
// and the headless runtime. The pages are built (InitUI + UISize) without the
// device start-up, so no worker runs unless a test starts one.

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>

#include "app/lang_text.h"
#include "base/clock.h"
#include "base/text.h"
#include "device/device_manager.h"
#include "platform/fake_raw_input.h"
#include "plkui/controls.h"
#include "plkui/headless_runtime.h"
#include "sim/virtual_hid_bus.h"
#include "store/config_database.h"
#include "support/temp_dir.h"
#include "ui/device_main_dlg.h"
#include "ui/message_box.h"

namespace tk410 {

// Every text is "T<number>", so captions can be checked by number.
inline std::map<int, std::wstring> NumberedTexts() {
  std::map<int, std::wstring> texts;
  for (int id = 1; id < 1000; ++id) texts[id] = L"T" + FormatInt(id);
  return texts;
}

// The control `id` of `window` as T; a missing one fails the test's expectation.
template <class T>
T* ExpectControl(const DeviceMainDlg& window, int id) {
  T* control = window.Control<T>(id);
  EXPECT_NE(control, nullptr) << "control " << id;
  return control;
}

class WindowTest : public ::testing::Test {
 protected:
  WindowTest()
      : devices(std::make_shared<VirtualHidBus>(clock), clock),
        texts(1033, NumberedTexts()) {
    std::filesystem::create_directories(dir.path() / "db");
    EXPECT_TRUE(db.OpenForDevice(dir.wide(), L"TK410"));
    DeviceMainServices services;
    services.db = &db;
    services.devices = &devices;
    services.clock = &clock;
    services.texts = &texts;
    services.data_directory = dir.wide();
    services.raw_input = &hub;
    keys.Start(hub);
    window = std::make_unique<DeviceMainDlg>(services);
    window->SetRuntime(&runtime);
    window->InitUI();
    window->UISize(PLKUI::MRect{0, 0, 1121, 780});
    window->RefreshProfileList();
  }

  template <class T>
  T* C(int id) {
    return ExpectControl<T>(*window, id);
  }
  std::wstring Config(const wchar_t* key) {
    std::wstring value;
    db.GetConfigValue(window->current_profile.load(), key, value);
    return value;
  }
  void SetConfig(const wchar_t* key, const std::wstring& value) {
    db.SetConfigValue(window->current_profile.load(), key, value);
  }
  void Click(int id) { C<PLKUI::MControl>(id)->PerformClick(); }
  // The next modal run is a message box: it is answered with its button and
  // its message text is added to `messages`.
  void ExpectMessageBox(std::vector<std::wstring>& messages) {
    runtime.AnswerNextModal(1, [&messages](PLKUI::MWindow& box) {
      auto* text = dynamic_cast<PLKUI::MDialog&>(box).GetControlAs<PLKUI::MControlFont>(CUIMessageBox::kMessage);
      messages.push_back(text ? text->GetTitle() : L"?");
    });
  }
  std::vector<int> QueuedTasks() {
    std::vector<int> kinds;
    while (auto kind = window->tasks.TryPop()) kinds.push_back(*kind);
    return kinds;
  }

  testing::TempDir dir;
  ManualClock clock;
  ConfigDatabase db;
  DeviceManager devices;
  InMemoryLanguageTexts texts;
  PLKUI::HeadlessRuntime runtime;
  RawInputHub hub;
  ScriptedRawInput keys;
  std::unique_ptr<DeviceMainDlg> window;
};

}  // namespace tk410
