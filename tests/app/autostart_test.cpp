#include "app/autostart.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

#include "app/ini_file.h"
#include "app/program_paths.h"
#include "base/text.h"
#include "scoped_env.h"
#include "support/temp_dir.h"

namespace tk410 {
namespace {

TEST(AutostartTest, SwitchIsOnExactlyWhileTheEntryExists) {
  testing::TempDir dir;
  const AutostartEntry autostart(dir.wide() + L"config");
  EXPECT_FALSE(autostart.IsAutostartOn());
  EXPECT_TRUE(autostart.SetAutostart(false, L"/usr/bin/tk410"));  // off while off
  EXPECT_TRUE(autostart.SetAutostart(true, L"/usr/bin/tk410"));   // creates autostart/
  EXPECT_TRUE(autostart.IsAutostartOn());
  EXPECT_EQ(autostart.EntryPath(), dir.wide() + L"config/autostart/tk410.desktop");
  const IniFile entry = IniFile::Load(autostart.EntryPath());
  EXPECT_EQ(entry.GetString(L"Desktop Entry", L"Type"), L"Application");
  EXPECT_EQ(entry.GetString(L"Desktop Entry", L"Exec"), L"/usr/bin/tk410");  // no "-hide"
  EXPECT_TRUE(autostart.SetAutostart(true, L"/usr/bin/tk410"));  // on while on
  EXPECT_TRUE(autostart.SetAutostart(false, L"/usr/bin/tk410"));
  EXPECT_FALSE(autostart.IsAutostartOn());
}

TEST(AutostartTest, ExecQuotesPathsWithSpacesAndReservedCharacters) {
  // Quoting: "…" with \ before " ` $ \; then the key-file escapes (\ → \\) and
  // % → %%.
  struct Row { const wchar_t* path; const wchar_t* exec; };
  const Row rows[] = {
      {L"/opt/tk410/tk410", L"/opt/tk410/tk410"},
      {L"/home/u/My Apps/TEVO TK410/tk410", L"\"/home/u/My Apps/TEVO TK410/tk410\""},
      {L"/opt/a$b/tk410", L"\"/opt/a\\\\$b/tk410\""},
      {L"/opt/a\"b/tk410", L"\"/opt/a\\\\\"b/tk410\""},
      {L"/opt/back\\slash/tk410", L"\"/opt/back\\\\\\\\slash/tk410\""},
      {L"/opt/100%/tk410", L"/opt/100%%/tk410"},
      {L"/opt/中文 目录/tk410", L"\"/opt/中文 目录/tk410\""},
  };
  for (const auto& r : rows) EXPECT_EQ(QuoteExecArgument(r.path), r.exec) << ToUtf8(r.path);

  testing::TempDir dir;
  const AutostartEntry autostart(dir.wide());
  ASSERT_TRUE(autostart.SetAutostart(true, L"/home/u/My Apps/tk410"));
  EXPECT_NE(dir.Read("autostart/tk410.desktop").find("\nExec=\"/home/u/My Apps/tk410\"\n"),
            std::string::npos);
}

TEST(AutostartTest, UnwritableConfigFolderLeavesTheSwitchOff) {
  testing::TempDir dir;
  dir.Write("autostart", "a file where the folder should be");
  const AutostartEntry autostart(dir.wide());
  EXPECT_FALSE(autostart.SetAutostart(true, L"/usr/bin/tk410"));
  EXPECT_FALSE(autostart.IsAutostartOn());
}


// Installed: the autostart entry is a copy of the package's desktop entry
// (its names, translations and icon) that starts the running program; keys
// that would start something else are not copied, nor are other groups.
TEST(AutostartTest, InstalledProgramStartsFromACopyOfItsDesktopEntry) {
  testing::TempDir data;
  std::ifstream file(std::string(TK410_SOURCE_DATA_DIR) + "/../packaging/io.github.tk410.Configurator.desktop");
  const std::string shipped((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
  ASSERT_FALSE(shipped.empty());
  data.Write("share/applications/io.github.tk410.Configurator.desktop",
             shipped + "TryExec=/usr/bin/tk410\n\n[Desktop Action settings]\nExec=tk410 --other\n");
  const ScopedEnv dirs("XDG_DATA_DIRS", (std::string("relative/share:") + data.path().string() + "/share/").c_str());
  ASSERT_EQ(InstalledDesktopEntryPath(), data.wide() + L"share//applications/io.github.tk410.Configurator.desktop");

  testing::TempDir config;
  const AutostartEntry autostart(config.wide());
  ASSERT_TRUE(autostart.SetAutostart(true, L"/opt/My Apps/tk410"));
  const IniFile entry = IniFile::Load(autostart.EntryPath());
  EXPECT_EQ(entry.GetString(L"Desktop Entry", L"Icon"), L"io.github.tk410.Configurator");
  EXPECT_EQ(entry.GetString(L"Desktop Entry", L"Name"), L"TEVO TK410");
  EXPECT_FALSE(entry.GetString(L"Desktop Entry", L"Comment[zh_CN]").empty());
  EXPECT_EQ(entry.GetString(L"Desktop Entry", L"X-GNOME-Autostart-enabled"), L"true");
  const std::string text = config.Read("autostart/tk410.desktop");
  EXPECT_NE(text.find("\nExec=\"/opt/My Apps/tk410\"\n"), std::string::npos) << text;
  EXPECT_EQ(text.find("TryExec"), std::string::npos);
  EXPECT_EQ(text.find("Desktop Action"), std::string::npos);
  EXPECT_EQ(text.find("--other"), std::string::npos);

  // An installed entry without its group is not copied.
  EXPECT_EQ(AutostartEntryText(L"/usr/bin/tk410", "Name=x\n").find("[Desktop Entry]\nType=Application\n"), 0u);
}

}  // namespace
}  // namespace tk410
