#include "base/safe_file.h"

#include <sys/stat.h>

#include <gtest/gtest.h>

#include <filesystem>

#include "support/temp_dir.h"

namespace tk410 {
namespace {

namespace fs = std::filesystem;

// Every kind of thing a path can name, read with and without following links.
TEST(SafeFileTest, ResultsByKindOfFile) {
  testing::TempDir dir;
  dir.Write("abc", "abc");
  dir.Write("empty", "");
  fs::create_directory(dir.path() / "folder");
  ASSERT_EQ(::mkfifo((dir.path() / "pipe").c_str(), 0600), 0);
  fs::create_symlink(dir.path() / "abc", dir.path() / "link");
  fs::create_symlink("/dev/zero", dir.path() / "zero");
  fs::create_symlink(dir.path() / "nowhere", dir.path() / "dangling");
  fs::create_symlink("loop", dir.path() / "loop");

  constexpr auto kFollow = FileLinks::kFollow;
  constexpr auto kRefuse = FileLinks::kRefuse;
  struct Row { std::string name; size_t max; FileLinks links; FileRead result; std::string bytes; };
  const Row rows[] = {
      {"abc", 3, kRefuse, FileRead::kOk, "abc"},
      {"abc", 2, kFollow, FileRead::kTooLarge, ""},
      {"empty", 0, kRefuse, FileRead::kOk, ""},
      {"missing", 10, kFollow, FileRead::kMissing, ""},
      {"no-folder/file", 10, kFollow, FileRead::kMissing, ""},
      {"abc/under-a-file", 10, kFollow, FileRead::kMissing, ""},
      {"folder", 10, kFollow, FileRead::kNotRegular, ""},
      {"pipe", 10, kFollow, FileRead::kNotRegular, ""},
      {"pipe", 10, kRefuse, FileRead::kNotRegular, ""},
      {"link", 10, kFollow, FileRead::kOk, "abc"},
      {"link", 10, kRefuse, FileRead::kNotRegular, ""},
      {"zero", 1 << 20, kFollow, FileRead::kNotRegular, ""},
      {"dangling", 10, kFollow, FileRead::kMissing, ""},
      {"dangling", 10, kRefuse, FileRead::kNotRegular, ""},
      {"loop", 10, kFollow, FileRead::kMissing, ""},
  };
  for (const Row& row : rows) {
    std::string bytes = "left over";
    EXPECT_EQ(ReadRegularFile((dir.path() / row.name).string(), row.max, row.links, &bytes), row.result)
        << row.name << " " << FileReadText(row.result);
    EXPECT_EQ(bytes, row.bytes) << row.name;
  }
  std::string bytes;
  EXPECT_EQ(ReadRegularFile(std::string(), 10, kFollow, &bytes), FileRead::kMissing);
  // The status is that of the descriptor read.
  struct stat info {};
  ASSERT_EQ(ReadRegularFile(dir.wide() + L"link", 10, kFollow, &bytes, &info), FileRead::kOk);
  EXPECT_TRUE(S_ISREG(info.st_mode));
  EXPECT_EQ(info.st_size, 3);
}

// A file whose size says 0 but that has content (as files of /proc do, and
// as a file that grows after it was opened does) is read to its end, but
// never past the bound.
TEST(SafeFileTest, ReadsNoMoreThanTheBoundWhateverTheSizeSays) {
  std::string bytes;
  ASSERT_EQ(ReadRegularFile(std::string("/proc/self/status"), 1 << 20, FileLinks::kFollow, &bytes),
            FileRead::kOk);
  EXPECT_NE(bytes.find("Name:"), std::string::npos);
  const size_t length = bytes.size();
  EXPECT_EQ(ReadRegularFile(std::string("/proc/self/status"), 16, FileLinks::kFollow, &bytes),
            FileRead::kTooLarge);
  EXPECT_EQ(bytes, "");
  EXPECT_GT(length, 16u);
}

}  // namespace
}  // namespace tk410
