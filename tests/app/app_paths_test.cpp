#include "app/app_paths.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "app/program_paths.h"
#include "base/atomic_file.h"
#include "base/text.h"
#include "app/scoped_env.h"
#include "support/temp_dir.h"

namespace tk410 {
namespace {

namespace fs = std::filesystem;

TEST(AppPathsTest, CreateDirectoryPathCreatesEveryMissingLevel) {
  testing::TempDir dir;
  const std::wstring base = FromUtf8(dir.path().string());
  // Existing folder: true, nothing created below it.
  EXPECT_TRUE(CreateDirectoryPath(base));
  EXPECT_TRUE(fs::is_empty(dir.path()));
  // Three missing levels, one of them with a space.
  const std::wstring deep = base + L"/one/two words/three";
  EXPECT_TRUE(CreateDirectoryPath(deep));
  EXPECT_TRUE(DirectoryExists(deep));
  EXPECT_TRUE(CreateDirectoryPath(deep + L"/"));  // a trailing slash is accepted
  // A file in the way, or nothing to create.
  dir.Write("file", "x");
  EXPECT_FALSE(CreateDirectoryPath(base + L"/file"));
  EXPECT_FALSE(CreateDirectoryPath(base + L"/file/below"));
  EXPECT_FALSE(CreateDirectoryPath(L""));
}

TEST(AppPathsTest, UserDirsFileNamesTheDocumentsFolder) {
  struct Row { const char* text; const wchar_t* documents; };
  const Row rows[] = {
      {"XDG_DOCUMENTS_DIR=\"$HOME/Documents\"\n", L"/home/u/Documents"},
      {"# XDG_DOCUMENTS_DIR=\"$HOME/x\"\nXDG_DOCUMENTS_DIR=\"$HOME/Dokumente\"\n", L"/home/u/Dokumente"},
      {"XDG_DESKTOP_DIR=\"$HOME/Desktop\"\n  XDG_DOCUMENTS_DIR = \"/data/docs/\"\n", L"/data/docs"},
      {"XDG_DOCUMENTS_DIR=\"$HOME/My \\\"Docs\\\"\"\n", L"/home/u/My \"Docs\""},
      {"XDG_DOCUMENTS_DIR=\"$HOME/文档\"", L"/home/u/文档"},
      {"XDG_DOCUMENTS_DIR=\"relative/docs\"\n", L""},  // neither absolute nor $HOME
      {"XDG_DOCUMENTS_DIR=\"$HOMEX/docs\"\n", L""},
      {"XDG_DOCUMENTS_DIRX=\"/x\"\nXDG_DOCUMENTS_DIR=\"/unterminated\n", L""},
      {"", L""},
  };
  for (const auto& r : rows)
    EXPECT_EQ(ParseUserDirsDocuments(r.text, L"/home/u"), r.documents) << r.text;
}

TEST(AppPathsTest, DataDirectoryFollowsTheDocumentsFolder) {
  testing::TempDir dir;
  const std::string config = dir.path().string() + "/config";
  ScopedEnv config_home("XDG_CONFIG_HOME", config.c_str());
  ScopedEnv home("HOME", dir.path().c_str());
  {
    ScopedEnv docs("XDG_DOCUMENTS_DIR", "/elsewhere/Docs/");
    EXPECT_EQ(GetDataDirectory(), L"/elsewhere/Docs/TEVO TK410 MouseDbFiles/");
  }
  ScopedEnv docs("XDG_DOCUMENTS_DIR", nullptr);
  const std::wstring home_wide = FromUtf8(dir.path().string());
  EXPECT_EQ(GetDataDirectory(), home_wide + L"/Documents/TEVO TK410 MouseDbFiles/");
  dir.Write("config/user-dirs.dirs", "XDG_DOCUMENTS_DIR=\"$HOME/Papers\"\n");
  EXPECT_EQ(GetDataDirectory(), home_wide + L"/Papers/TEVO TK410 MouseDbFiles/");
  EXPECT_EQ(XdgConfigHome(), FromUtf8(config));
  ScopedEnv relative("XDG_CONFIG_HOME", "relative");
  EXPECT_EQ(XdgConfigHome(), home_wide + L"/.config");
}

TEST(AppPathsTest, AtomicWriteReplacesTheWholeFile) {
  testing::TempDir dir;
  const std::wstring path = dir.wide() + L"f.ini";
  ASSERT_TRUE(WriteFileAtomically(path, "first version, long"));
  ASSERT_TRUE(WriteFileAtomically(path, "second"));
  EXPECT_EQ(dir.Read("f.ini"), "second");
  std::string bytes;
  EXPECT_TRUE(ReadFileBytes(path, bytes));
  EXPECT_EQ(bytes, "second");
  EXPECT_FALSE(ReadFileBytes(path, bytes, 3));  // over the size limit
  // No temporary file is left behind.
  EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), fs::directory_iterator()), 1);
  EXPECT_FALSE(WriteFileAtomically(dir.wide() + L"missing/f.ini", "x"));
}

}  // namespace
}  // namespace tk410
