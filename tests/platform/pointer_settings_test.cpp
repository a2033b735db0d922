// Pointer settings implementations, the mouse settings panel choice and the
// X11 text injector's pieces that need no display.

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>

#include "platform/file_pointer_settings.h"
#include "platform/gsettings_pointer_settings.h"
#include "platform/mouse_panel.h"
#include "platform/x11_text_injector.h"
#include "base/clock.h"
#include "support/temp_dir.h"

namespace tk410 {
namespace {

TEST(GnomeSpeed, MapsBothWaysAtTheEndsAndTheMiddle) {
  const std::pair<int, double> table[] = {{1, -1.0}, {10, 0.0}, {20, 1.0}, {15, 0.5}};
  for (auto [speed, gnome] : table) {
    EXPECT_DOUBLE_EQ(SpeedToGnome(speed), gnome) << speed;
    EXPECT_EQ(SpeedFromGnome(gnome), speed) << speed;
  }
  for (int speed = 1; speed <= 20; ++speed) EXPECT_EQ(SpeedFromGnome(SpeedToGnome(speed)), speed);
  EXPECT_EQ(SpeedFromGnome(-7.0), 1);
  EXPECT_EQ(SpeedFromGnome(3.0), 20);
  EXPECT_EQ(SpeedFromGnome(std::nan("")), 10);
}

TEST(FilePointerSettings, DefaultsRoundTripAndGarbage) {
  testing::TempDir dir;
  const std::wstring path = (dir.path() / "sub" / "pointer.ini").wstring();
  FilePointerSettings file(path);
  EXPECT_EQ(file.GetMouseSpeed(), 10);
  EXPECT_EQ(file.GetAcceleration(), 1);
  EXPECT_EQ(file.GetWheelScrollLines(), 3u);
  EXPECT_EQ(file.GetDoubleClickTime(), 550);

  file.SetMouseSpeed(17);
  file.SetAcceleration(0);
  file.SetWheelScrollLines(kWheelPageScroll);
  file.SetDoubleClickTime(480);
  FilePointerSettings again(path);
  EXPECT_EQ(again.GetMouseSpeed(), 17);
  EXPECT_EQ(again.GetAcceleration(), 0);
  EXPECT_EQ(again.GetWheelScrollLines(), kWheelPageScroll);
  EXPECT_EQ(again.GetDoubleClickTime(), 480);

  // Values out of range read as the defaults.
  dir.Write("bad.ini", "[Pointer]\nSpeed=99\nWheelLines=0\nDoubleClickTime=-4\n");
  FilePointerSettings bad((dir.path() / "bad.ini").wstring());
  EXPECT_EQ(bad.GetMouseSpeed(), 10);
  EXPECT_EQ(bad.GetWheelScrollLines(), 3u);
  EXPECT_EQ(bad.GetDoubleClickTime(), 550);
}

// The emulation file is the user's too: a value is changed in place, and a
// file that cannot be read (too large, not a file) is never replaced.
TEST(FilePointerSettings, KeepsForeignLinesAndNeverClobbersAnUnreadableFile) {
  testing::TempDir dir;
  const std::string hand_made = "# my pointer\n[Pointer]\nSpeed=5\nMine=1\n\n[Extra]\nx=y\n";
  dir.Write("pointer.ini", hand_made);
  FilePointerSettings file((dir.path() / "pointer.ini").wstring());
  file.SetMouseSpeed(12);
  file.SetDoubleClickTime(480);
  EXPECT_EQ(dir.Read("pointer.ini"),
            "# my pointer\n[Pointer]\nSpeed=12\nMine=1\nDoubleClickTime=480\n\n[Extra]\nx=y\n");

  // Larger than the reader takes: left as it is, and the value not taken.
  std::string huge = "[Pointer]\nSpeed=7\n" + std::string(9u << 20, ';') + "\n";
  dir.Write("huge.ini", huge);
  FilePointerSettings big((dir.path() / "huge.ini").wstring());
  big.SetMouseSpeed(3);
  EXPECT_EQ(dir.Read("huge.ini").size(), huge.size());
  EXPECT_EQ(dir.Read("huge.ini").substr(0, 18), "[Pointer]\nSpeed=7\n");

  // A FIFO where the file should be: not replaced, and no hang.
  const std::filesystem::path fifo = dir.path() / "fifo.ini";
  ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
  FilePointerSettings pipe(fifo.wstring());
  pipe.SetMouseSpeed(3);
  EXPECT_TRUE(std::filesystem::is_fifo(fifo));
}

TEST(GSettingsPointerSettings, MissingSchemaUsesTheEmulation) {
  testing::TempDir dir;
  GSettingsPointerSettings::Options options;
  options.schema_id = "org.example.tk410.no-such-schema";
  GSettingsPointerSettings settings(
      std::make_unique<FilePointerSettings>((dir.path() / "p.ini").wstring()), options);
  EXPECT_FALSE(settings.HasSpeed());
  settings.SetMouseSpeed(4);
  settings.SetDoubleClickTime(620);
  EXPECT_EQ(settings.GetMouseSpeed(), 4);
  EXPECT_EQ(settings.GetDoubleClickTime(), 620);
  EXPECT_TRUE(std::filesystem::exists(dir.path() / "p.ini"));
}

TEST(GSettingsPointerSettings, GnomeKeysInMemory) {
  testing::TempDir dir;
  GSettingsPointerSettings::Options options;
  options.memory_backend = true;
  GSettingsPointerSettings settings(
      std::make_unique<FilePointerSettings>((dir.path() / "p.ini").wstring()), options);
  if (!settings.HasSpeed() || !settings.HasAcceleration() || !settings.HasDoubleClick())
    GTEST_SKIP() << "the GNOME peripherals schema is not installed";
  EXPECT_EQ(settings.GetMouseSpeed(), 10);      // schema default 0
  EXPECT_EQ(settings.GetAcceleration(), 1);     // "default" profile
  settings.SetMouseSpeed(20);
  settings.SetAcceleration(0);
  settings.SetDoubleClickTime(760);
  settings.SetWheelScrollLines(7);              // GNOME has no such key
  EXPECT_EQ(settings.GetMouseSpeed(), 20);
  EXPECT_EQ(settings.GetAcceleration(), 0);
  EXPECT_EQ(settings.GetDoubleClickTime(), 760);
  EXPECT_EQ(settings.GetWheelScrollLines(), 7u);
  EXPECT_EQ(FilePointerSettings((dir.path() / "p.ini").wstring()).GetWheelScrollLines(), 7u);
  settings.SetDoubleClickTime(-1);              // outside the schema's range: refused
  EXPECT_EQ(settings.GetDoubleClickTime(), 760);
}

TEST(MousePanel, DesktopsOwnPanelFirstThenTheRest) {
  const auto gnome = MousePanelCandidates("ubuntu:GNOME");
  ASSERT_EQ(gnome.size(), 7u);
  EXPECT_EQ(gnome[0], (PanelCommand{"gnome-control-center", {"mouse"}}));
  const auto kde = MousePanelCandidates("KDE");
  EXPECT_EQ(kde[0].program, "systemsettings");
  EXPECT_EQ(kde[1].program, "kcmshell6");
  EXPECT_EQ(kde.size(), 7u);
  EXPECT_EQ(MousePanelCandidates("X-Cinnamon")[0].program, "cinnamon-settings");
  EXPECT_EQ(MousePanelCandidates("mate")[0].program, "mate-mouse-properties");
  EXPECT_EQ(MousePanelCandidates("LXQt")[0].program, "lxqt-config-input");
  EXPECT_EQ(MousePanelCandidates("")[0].program, "gnome-control-center");
}

TEST(MousePanel, NothingInstalledStartsNothing) {
  struct None : ProcessLauncher {
    int starts = 0;
    bool IsInstalled(const std::string&) override { return false; }
    bool StartDetached(const PanelCommand&) override { return ++starts, true; }
  } launcher;
  EXPECT_FALSE(OpenMouseSettingsPanel(launcher, "XFCE"));
  EXPECT_EQ(launcher.starts, 0);
}

TEST(X11TextInjector, KeysymsOfCodePoints) {
  const std::pair<char32_t, unsigned long> table[] = {
      {U'a', 0x61},          {U'\u00E9', 0xE9},       {U'\u4E2D', 0x01004E2D},
      {U'\U0001F600', 0x0101F600}, {U'\t', 0xFF09}, {U'\n', 0xFF0D},
      {0x07, 0},             {0xD800, 0},             {0x110000, 0}};
  for (auto [cp, keysym] : table) EXPECT_EQ(KeysymOfCodePoint(cp), keysym) << std::hex << static_cast<unsigned long>(cp);
}

TEST(X11TextInjector, WithoutADisplayTypingIsUnavailable) {
  const char* old = std::getenv("DISPLAY");
  const std::string saved = old ? old : "";
  setenv("DISPLAY", ":98765", 1);  // no such display
  ManualClock clock;
  X11TextInjector injector(clock);
  EXPECT_FALSE(injector.Available());
  injector.SendUnicodeUnit(u'a', false);  // does nothing, no crash
  EXPECT_EQ(CreateSystemTextInjector(clock), nullptr);
  if (old) setenv("DISPLAY", saved.c_str(), 1); else unsetenv("DISPLAY");
}

}  // namespace
}  // namespace tk410
