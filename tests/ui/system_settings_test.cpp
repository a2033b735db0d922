// The settings page's desktop controls (pointer, wheel, double-click, left
// button lock, language, mouse settings link) and the text refresh, over the
// real database, fake pointer settings and a fake process launcher.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "app/language_files.h"
#include "app/settings_store.h"
#include "platform/fake_pointer_settings.h"
#include "platform/mouse_panel.h"
#include "ui/pages_fixture.h"
#include "ui/system_settings_page.h"

namespace tk410 {
namespace {

class RecordingLauncher : public ProcessLauncher {
 public:
  std::vector<std::string> installed;
  std::vector<PanelCommand> started;
  bool IsInstalled(const std::string& program) override {
    return std::find(installed.begin(), installed.end(), program) != installed.end();
  }
  bool StartDetached(const PanelCommand& command) override {
    started.push_back(command);
    return true;
  }
};

// Language files "<n>.lan" whose texts are "<prefix><number>".
void WriteLanguageFile(const std::filesystem::path& dir, int language, const std::string& prefix) {
  std::ofstream out(dir / (std::to_string(language) + ".lan"));
  out << "[LAN]\n";
  for (int id = 1; id < 1000; ++id) out << id << "=" << prefix << id << "\n";
}

class SystemSettingsTest : public ::testing::Test {
 protected:
  SystemSettingsTest()
      : devices(std::make_shared<VirtualHidBus>(clock), clock),
        settings((dir.path() / "config").wstring()) {
    std::filesystem::create_directories(dir.path() / "db");
    std::filesystem::create_directories(dir.path() / "language");
    WriteLanguageFile(dir.path() / "language", 1033, "E");
    WriteLanguageFile(dir.path() / "language", 2052, "\xE4\xB8\xAD");  // 中
    settings.ReadLanguageSetting();  // creates the file
    settings.WriteLanguageSetting(2052);
    texts = std::make_unique<LanguageFileTexts>((dir.path() / "language").wstring(), 2052);
    EXPECT_TRUE(db.OpenForDevice(dir.wide(), L"TK410"));
    DeviceMainServices services;
    services.db = &db;
    services.devices = &devices;
    services.clock = &clock;
    services.texts = texts.get();
    services.data_directory = dir.wide();
    services.pointer = &pointer;
    services.launcher = &launcher;
    services.language_files = texts.get();
    services.settings = &settings;
    services.config_home = (dir.path() / "xdg").wstring();
    window = std::make_unique<DeviceMainDlg>(services);
    window->SetRuntime(&runtime);
    window->InitUI();
    window->UISize(PLKUI::MRect{0, 0, 1121, 780});
    window->RefreshProfileList();
  }

  template <class T>
  T* C(int id) {
    T* control = window->Control<T>(id);
    EXPECT_NE(control, nullptr) << "control " << id;
    return control;
  }
  std::wstring Caption(int id) { return C<PLKUI::MControlFont>(id)->GetTitle(); }
  std::wstring Config(const wchar_t* key) {
    std::wstring value;
    db.GetConfigValue(window->current_profile.load(), key, value);
    return value;
  }
  // Answers the next message box with `result` and records its title and text.
  void AnswerBox(int result) {
    runtime.AnswerNextModal(result, [this](PLKUI::MWindow& w) {
      auto& box = dynamic_cast<PLKUI::MDialog&>(w);
      boxes.emplace_back(box.GetControlAs<PLKUI::MText>(31)->GetTitle(),
                         box.GetControlAs<PLKUI::MText>(32)->GetTitle());
    });
  }
  using Box = std::pair<std::wstring, std::wstring>;

  testing::TempDir dir;
  ManualClock clock;
  ConfigDatabase db;
  DeviceManager devices;
  SettingsStore settings;
  std::unique_ptr<LanguageFileTexts> texts;
  FakePointerSettings pointer;
  RecordingLauncher launcher;
  PLKUI::HeadlessRuntime runtime;
  std::unique_ptr<DeviceMainDlg> window;
  std::vector<Box> boxes;
};

TEST(DoubleClickTable, PositionsAndTimes) {
  // 900 ms down to 200 ms in steps of 70.
  const std::pair<int, int> table[] = {{0, 900}, {1, 830}, {5, 550}, {9, 270}, {10, 200}};
  for (auto [position, ms] : table) {
    EXPECT_EQ(DoubleClickMsOfPosition(position), ms);
    EXPECT_EQ(DoubleClickPosition(ms), position);
  }
  EXPECT_EQ(DoubleClickMsOfPosition(15), 15);
  // A time off the table sits at the nearest position (the slower of two
  // equally near); times past either end at that end.
  const std::pair<int, int> off_table[] = {{500, 6}, {551, 5}, {400, 7}, {515, 5},
                                           {2500, 0}, {100, 10}, {0, 10}, {-5, 10}};
  for (auto [ms, position] : off_table) EXPECT_EQ(DoubleClickPosition(ms), position) << ms;
}

TEST_F(SystemSettingsTest, FillShowsTheDesktopValues) {
  pointer.speed = 7;
  pointer.acceleration = 0;
  pointer.wheel_lines = kWheelPageScroll;
  pointer.double_click_ms = 500;
  FillSystemSettings(*window);
  EXPECT_EQ(C<PLKUI::MSlider>(ctl::kPointerSpeed)->GetProgress(), 6);
  EXPECT_EQ(Caption(ctl::kPointerSpeedValue), L"7");
  EXPECT_EQ(C<PLKUI::CCheckButton>(ctl::kPointerPrecision)->GetCheck(), 0);
  // Page scroll: page radio on, lines radio off, lines "0" and disabled.
  EXPECT_EQ(C<PLKUI::CRadioButton>(ctl::kWheelPage)->GetCheck(), 1);
  EXPECT_EQ(C<PLKUI::CRadioButton>(ctl::kWheelLinesRadio)->GetCheck(), 0);
  EXPECT_EQ(Caption(ctl::kWheelLines), L"0");
  EXPECT_FALSE(C<PLKUI::MControl>(ctl::kWheelLines)->IsEnabled());
  // 500 ms is not on the slider: the nearest position (480 ms), the label
  // shows the real value.
  EXPECT_EQ(C<PLKUI::MSlider>(ctl::kDoubleClick)->GetProgress(), 6);
  EXPECT_EQ(Caption(ctl::kDoubleClickValue), L"500");
  EXPECT_EQ(C<PLKUI::MComboBox>(ctl::kLanguage)->GetCurData(), 2052);

  pointer.wheel_lines = 20;
  pointer.double_click_ms = 690;
  FillSystemSettings(*window);
  EXPECT_EQ(C<PLKUI::CRadioButton>(ctl::kWheelLinesRadio)->GetCheck(), 1);
  EXPECT_EQ(Caption(ctl::kWheelLines), L"20");
  EXPECT_TRUE(C<PLKUI::MControl>(ctl::kWheelLines)->IsEnabled());
  EXPECT_EQ(C<PLKUI::MSlider>(ctl::kDoubleClick)->GetProgress(), 3);
  EXPECT_TRUE(pointer.calls.empty());  // filling sets nothing
}

TEST_F(SystemSettingsTest, HandlersApplyToTheDesktop) {
  FillSystemSettings(*window);
  auto* speed = C<PLKUI::MSlider>(ctl::kPointerSpeed);
  speed->PerformDrag(14);  // dragging shows the speed only
  EXPECT_EQ(Caption(ctl::kPointerSpeedValue), L"15");
  EXPECT_TRUE(pointer.calls.empty());
  speed->PerformRelease();
  C<PLKUI::MControl>(ctl::kPointerPrecision)->PerformClick();  // on → off

  C<PLKUI::MControl>(ctl::kWheelPage)->PerformClick();
  EXPECT_EQ(Caption(ctl::kWheelLines), L"0");
  EXPECT_FALSE(C<PLKUI::MControl>(ctl::kWheelLines)->IsEnabled());
  C<PLKUI::MControl>(ctl::kWheelLinesRadio)->PerformClick();
  EXPECT_EQ(Caption(ctl::kWheelLines), L"3");
  EXPECT_TRUE(C<PLKUI::MControl>(ctl::kWheelLines)->IsEnabled());

  // Finished edits are clamped to 1..20; the spin applies the number shown.
  auto* lines = C<PLKUI::NumberEdit>(ctl::kWheelLines);
  const std::pair<const wchar_t*, const wchar_t*> edits[] = {{L"0", L"1"}, {L"25", L"20"}, {L"7", L"7"}};
  for (auto [typed, shown] : edits) {
    lines->PerformEditText(typed);
    lines->PerformEditFinished();
    EXPECT_EQ(lines->GetEditText(), shown) << typed;
  }
  window->OnMessage(ctl::kWheelLines, PLKUI::kNotifyClick, 0);

  C<PLKUI::MSlider>(ctl::kDoubleClick)->PerformSetProgress(3);
  EXPECT_EQ(Caption(ctl::kDoubleClickValue), L"690");

  const std::vector<std::string> expected = {"speed=15",   "acceleration=0", "wheel=page",
                                             "wheel=3",    "wheel=7",        "doubleclick=690"};
  EXPECT_EQ(pointer.calls, expected);
}

TEST_F(SystemSettingsTest, RestoreTouchesOnlyValuesThatDiffer) {
  RestoreSystemPointerDefaults(*window);  // the fake starts at the defaults
  EXPECT_TRUE(pointer.calls.empty());

  pointer.speed = 3;
  pointer.wheel_lines = kWheelPageScroll;
  FillSystemSettings(*window);
  RestoreSystemPointerDefaults(*window);
  EXPECT_EQ(pointer.calls, (std::vector<std::string>{"speed=10", "wheel=3"}));
  EXPECT_EQ(C<PLKUI::MSlider>(ctl::kPointerSpeed)->GetProgress(), 9);
  EXPECT_EQ(Caption(ctl::kPointerSpeedValue), L"10");
  EXPECT_EQ(Caption(ctl::kWheelLines), L"3");
  EXPECT_EQ(C<PLKUI::CRadioButton>(ctl::kWheelLinesRadio)->GetCheck(), 1);
  // The default contents have no rows for these keys, so nothing is stored.
  EXPECT_EQ(Config(L"mouse_speed"), L"");
}

TEST_F(SystemSettingsTest, LeftButtonLockRefusalsAndConfirmation) {
  db.SetConfigValue(window->current_profile.load(), L"leftbtn_lock", L"1");
  auto* lock = C<PLKUI::CSwitchButton>(ctl::kLeftLock);
  auto* combo = C<PLKUI::MControl>(ctl::KeyComboId(1));
  lock->SetCheck(1);

  // No device: switched on again, combo 62 disabled, refusal 676/57.
  AnswerBox(1);
  lock->PerformClick();
  EXPECT_EQ(lock->GetCheck(), 1);
  EXPECT_FALSE(combo->IsEnabled());

  // Off, then cancel: stays on, stored value unchanged, combo disabled.
  window->online.store(true);
  AnswerBox(PLKUI::kResultCancel);
  lock->PerformClick();
  EXPECT_EQ(lock->GetCheck(), 1);
  EXPECT_EQ(Config(L"leftbtn_lock"), L"1");
  EXPECT_FALSE(combo->IsEnabled());

  // Off, confirmed: stored "0", combo enabled; on again needs no question.
  AnswerBox(PLKUI::kResultOK);
  lock->PerformClick();
  EXPECT_EQ(lock->GetCheck(), 0);
  EXPECT_EQ(Config(L"leftbtn_lock"), L"0");
  EXPECT_TRUE(combo->IsEnabled());
  lock->PerformClick();
  EXPECT_EQ(Config(L"leftbtn_lock"), L"1");
  EXPECT_FALSE(combo->IsEnabled());

  EXPECT_EQ(boxes, (std::vector<Box>{{L"中676", L"中57"}, {L"中676", L"中675"}, {L"中676", L"中675"}}));
  EXPECT_EQ(runtime.PendingAnswers(), 0);
}

TEST_F(SystemSettingsTest, LanguageChangeRefusedWithoutDeviceThenAppliedToEveryCaption) {
  auto* list = C<PLKUI::MComboBox>(ctl::kLanguage);
  FillSystemSettings(*window);
  AnswerBox(1);
  list->PerformSelect(1);  // "English" with no device
  EXPECT_EQ(texts->CurrentLanguage(), 2052);
  EXPECT_EQ(list->GetCurData(), 2052);
  EXPECT_EQ(settings.ReadLanguageSetting(), 2052);
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0], Box(L"中576", L"中57"));

  window->online.store(true);
  list->PerformSelect(1);
  EXPECT_EQ(texts->CurrentLanguage(), 1033);
  EXPECT_EQ(settings.ReadLanguageSetting(), 1033);
  // A caption of every page follows.
  EXPECT_EQ(Caption(ctl::kHomeStatus), L"E57");
  EXPECT_EQ(Caption(ctl::kProfileHeading), L"E101");
  EXPECT_EQ(Caption(ctl::kFirstDpiStage + 2), L"E2613");
  EXPECT_EQ(Caption(ctl::kMacroListHeading), L"E350");
  EXPECT_EQ(Caption(ctl::kSettingsHeading), L"E650");
  EXPECT_EQ(Caption(ctl::kWheelPage), L"E637");
  EXPECT_EQ(Caption(ctl::kPointerHelp), L"E639\nE640");
  EXPECT_EQ(C<PLKUI::MComboBox>(ctl::kLightCombo)->GetItemText(6), L"E537");
  EXPECT_EQ(C<PLKUI::MComboBox>(ctl::kSleepCombo)->GetItemText(6), L"1 E613");
  EXPECT_EQ(C<PLKUI::MControl>(ctl::kDpiReset)->GetTooltip(), L"E253");
}

TEST_F(SystemSettingsTest, DeviceStateKeepsItsCaptionWithoutAnActiveDevice) {
  C<PLKUI::MControlFont>(ctl::kDeviceState)->SetTitle(L"previous");
  window->RefreshTexts();
  EXPECT_EQ(Caption(ctl::kDeviceState), L"previous");
  EXPECT_EQ(C<PLKUI::MControlFont>(ctl::kDeviceState)->GetFontName(), kInterfaceFontName);
}

TEST_F(SystemSettingsTest, MacroListNamesFollowTheLanguageOnScreenOnly) {
  db.AddMacro(L"\u81EA\u5B9A\u4E49 1");  // 自定义 1
  db.AddMacro(L"Custom 2 Copy");
  db.AddMacro(L"Plain");
  auto* list = C<PLKUI::MacroList>(ctl::kMacroList);
  texts->SetCurrentLanguage(1033);
  window->RefreshTexts();
  EXPECT_EQ(list->GetItemText(0), L"E351 1");
  EXPECT_EQ(list->GetItemText(1), L"Custom 2 Copy");
  EXPECT_EQ(list->GetItemText(2), L"Plain");
  texts->SetCurrentLanguage(2052);
  window->RefreshTexts();
  // Before "Copy" everything stays, its trailing space included.
  EXPECT_EQ(list->GetItemText(1), L"\u4E2D351 2  \u590D\u5236");
  // The stored names stay as they were.
  RecordList<MacroRecord> stored;
  db.LoadMacros(stored);
  ASSERT_EQ(stored.size(), 3u);
  EXPECT_EQ(stored[1]->name, L"Custom 2 Copy");
}

TEST_F(SystemSettingsTest, ControlPanelLinkStartsTheFirstInstalledPanel) {
  launcher.installed = {"xfce4-mouse-settings", "lxqt-config-input"};
  C<PLKUI::MControl>(ctl::kControlPanel)->PerformClick();
  ASSERT_EQ(launcher.started.size(), 1u);
  EXPECT_EQ(launcher.started[0].program, "xfce4-mouse-settings");
}

}  // namespace
}  // namespace tk410
