// Exports that cannot be written: the caller hears of the failure and a file
// that was there before stays whole.

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>

#include "base/clock.h"
#include "base/text.h"
#include "support/file_size_limit.h"
#include "xml/macro_file.h"
#include "xml/profile_file.h"
#include "xml/xml_files_fixture.h"

namespace tk410::testing {
namespace {

namespace fs = std::filesystem;

size_t Entries(const fs::path& folder) {
  return static_cast<size_t>(
      std::distance(fs::directory_iterator(folder), fs::directory_iterator()));
}

constexpr char kOldExport[] = "old export\r\n";

class ExportFailureTest : public XmlFilesTest {
 protected:
  ExportFailureTest() { fs::create_directories(dir_.path() / "out"); }
  std::wstring Out() const { return dir_.wide() + L"out"; }
  ManualClock clock_{5000};
};

TEST_F(ExportFailureTest, FailedProfileExportKeepsTheOldFileAndSaysSo) {
  const std::wstring path = Out() + L"/profile.xml";
  WriteFile("out/profile.xml", kOldExport);

  // The disk fills up in the middle of the write.
  {
    ScopedFileSizeLimit limit(64);
    ASSERT_TRUE(limit.ok());
    EXPECT_FALSE(WriteProfileFile(db_, 1, 1, L"Office", path));
  }
  EXPECT_EQ(ReadFile(path), kOldExport);

  // The chosen name is a folder.
  fs::create_directories(dir_.path() / "out" / "folder.xml");
  EXPECT_FALSE(WriteProfileFile(db_, 1, 1, L"Office", Out() + L"/folder.xml"));
  EXPECT_TRUE(fs::is_directory(dir_.path() / "out" / "folder.xml"));

  // A folder the user may not write into (root may, so only as a user).
  if (geteuid() != 0) {
    fs::permissions(dir_.path() / "out", fs::perms::owner_read | fs::perms::owner_exec,
                    fs::perm_options::replace);
    EXPECT_FALSE(WriteProfileFile(db_, 1, 1, L"Office", path));
    fs::permissions(dir_.path() / "out", fs::perms::owner_all, fs::perm_options::replace);
    EXPECT_EQ(ReadFile(path), kOldExport);
  }

  // Nothing is left behind, and the export works again once space is back.
  EXPECT_EQ(Entries(dir_.path() / "out"), 2u);
  dialogs_.Answer(path);
  EXPECT_TRUE(ExportProfile(db_, dialogs_, 1, 1, L"Office"));
  EXPECT_NE(ReadFile(path).find("<profileinfo name=\"Office\">"), std::string::npos);
}

TEST_F(ExportFailureTest, FailedMacroExportReturnsFalse) {
  const int id = db_.AddMacro(L"M");
  ASSERT_GT(id, 0);
  db_.AddMacroEvent(MacroEvent{0, id, 1, 0, 65, 100, L"A"});

  // The file name the export picks is taken by a folder.
  fs::create_directories(dir_.path() / "out" / "M-5000.xml");
  dialogs_.Answer(Out());
  std::wstring tried;
  EXPECT_FALSE(ExportMacro(db_, dialogs_, clock_, id, L"M", &tried));
  EXPECT_EQ(tried, Out() + L"/M-5000.xml");

  // The disk fills up: an older file of that name stays whole.
  clock_.AdvanceMs(1);
  WriteFile("out/M-5001.xml", kOldExport);
  {
    ScopedFileSizeLimit limit(64);
    ASSERT_TRUE(limit.ok());
    dialogs_.Answer(Out());
    EXPECT_FALSE(ExportMacro(db_, dialogs_, clock_, id, L"M"));
  }
  EXPECT_EQ(ReadFile(Out() + L"/M-5001.xml"), kOldExport);
  EXPECT_EQ(Entries(dir_.path() / "out"), 2u);

  // A successful export still says so.
  clock_.AdvanceMs(1);
  dialogs_.Answer(Out());
  EXPECT_TRUE(ExportMacro(db_, dialogs_, clock_, id, L"M", &tried));
  EXPECT_NE(ReadFile(tried).find("<macroinfo macro_name=\"M\""), std::string::npos);
}

}  // namespace
}  // namespace tk410::testing
