#include "app/autostart.h"

#include <gtest/gtest.h>

#include "app/ini_file.h"
#include "app/program_paths.h"
#include "base/text.h"
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

}  // namespace
}  // namespace tk410
