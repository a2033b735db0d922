// Which pointer values reach the desktop, and the desktop's own defaults:
// read from the GSettings schema (a schema of the test's own, compiled into a
// temporary folder, and GNOME's where it is installed).

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "platform/file_pointer_settings.h"
#include "platform/gsettings_pointer_settings.h"
#include "support/temp_dir.h"

namespace tk410 {
namespace {

TEST(PointerSession, GnomeFamilyDesktopsApplyTheMouseKeys) {
  const std::pair<const char*, bool> table[] = {
      {"GNOME", true},      {"ubuntu:GNOME", true}, {"Unity", true},     {"Budgie:GNOME", true},
      {"Pantheon", true},   {"gnome-flashback:GNOME", true},             {"KDE", false},
      {"XFCE", false},      {"X-Cinnamon", false},  {"MATE", false},     {"LXQt", false},
      {"", false},          {"GNOMEISH", false},    {":", false},
  };
  for (auto [desktop, applies] : table) EXPECT_EQ(SessionAppliesGnomeMouseKeys(desktop), applies) << desktop;
}

// A schema with the keys GNOME has, defaults unlike GNOME's.
constexpr char kTestSchema[] = R"(<schemalist>
  <schema id="org.example.tk410.mouse" path="/org/example/tk410/mouse/">
    <key name="speed" type="d"><default>0.5</default><range min="-1" max="1"/></key>
    <key name="accel-profile" type="s"><default>'flat'</default></key>
    <key name="double-click" type="i"><default>450</default></key>
  </schema>
</schemalist>
)";

TEST(GSettingsPointerSettings, DefaultsComeFromTheSchema) {
  testing::TempDir dir;
  dir.Write("schemas/org.example.tk410.mouse.gschema.xml", kTestSchema);
  const std::string command = "glib-compile-schemas '" + (dir.path() / "schemas").string() + "' 2>/dev/null";
  if (std::system(command.c_str()) != 0) GTEST_SKIP() << "glib-compile-schemas is not available";
  GSettingsPointerSettings::Options options;
  options.schema_id = "org.example.tk410.mouse";
  options.schema_dir = (dir.path() / "schemas").string();
  options.memory_backend = true;
  GSettingsPointerSettings settings(std::make_unique<FilePointerSettings>((dir.path() / "p.ini").wstring()),
                                    options);
  ASSERT_TRUE(settings.HasSpeed() && settings.HasAcceleration() && settings.HasDoubleClick());
  settings.SetDoubleClickTime(700);  // a user's value is not the default
  const PointerValues defaults = settings.Defaults();
  EXPECT_EQ(defaults.speed, 15);
  EXPECT_EQ(defaults.acceleration, 0);
  EXPECT_EQ(defaults.double_click_ms, 450);
  EXPECT_EQ(defaults.wheel_lines, kDefaultWheelLines);  // no such key: the emulation's

  // In a GNOME session the keys reach the pointer; the wheel lines never do.
  EXPECT_TRUE(settings.DesktopUses(PointerValue::kSpeed));
  EXPECT_TRUE(settings.DesktopUses(PointerValue::kDoubleClick));
  EXPECT_FALSE(settings.DesktopUses(PointerValue::kWheelLines));
  // Elsewhere they are stored but nothing applies them.
  options.session_applies = false;
  GSettingsPointerSettings elsewhere(std::make_unique<FilePointerSettings>((dir.path() / "p.ini").wstring()),
                                     options);
  for (PointerValue v : {PointerValue::kSpeed, PointerValue::kAcceleration, PointerValue::kWheelLines,
                         PointerValue::kDoubleClick})
    EXPECT_FALSE(elsewhere.DesktopUses(v));
}

TEST(GSettingsPointerSettings, GnomesDoubleClickDefaultIs400) {
  testing::TempDir dir;
  GSettingsPointerSettings::Options options;
  options.memory_backend = true;
  GSettingsPointerSettings settings(std::make_unique<FilePointerSettings>((dir.path() / "p.ini").wstring()),
                                    options);
  if (!settings.HasDoubleClick()) GTEST_SKIP() << "the GNOME peripherals schema is not installed";
  EXPECT_EQ(settings.Defaults().double_click_ms, 400);
  EXPECT_EQ(settings.Defaults().speed, 10);
  EXPECT_EQ(settings.Defaults().acceleration, 1);
}

TEST(FilePointerSettings, NothingItKeepsReachesTheDesktop) {
  testing::TempDir dir;
  FilePointerSettings file((dir.path() / "p.ini").wstring());
  for (PointerValue v : {PointerValue::kSpeed, PointerValue::kAcceleration, PointerValue::kWheelLines,
                         PointerValue::kDoubleClick})
    EXPECT_FALSE(file.DesktopUses(v));
}

}  // namespace
}  // namespace tk410
