// Replacing a file whole: the modes new and replaced files get, links, and
// targets that are no regular file.

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>

#include "base/atomic_file.h"
#include "support/temp_dir.h"

namespace tk410 {
namespace {

namespace fs = std::filesystem;

unsigned ModeOf(const fs::path& path) {
  struct stat st {};
  return ::lstat(path.c_str(), &st) == 0 ? st.st_mode & 07777 : 0;
}

size_t Entries(const fs::path& folder) {
  return static_cast<size_t>(
      std::distance(fs::directory_iterator(folder), fs::directory_iterator()));
}

// A new file gets what fopen would give it (0666 less the umask); a replaced
// file keeps the mode it had.
TEST(AtomicFileTest, NewFilesFollowTheUmaskAndReplacedFilesKeepTheirMode) {
  testing::TempDir dir;
  struct Case {
    mode_t umask;
    unsigned mode;
  };
  const mode_t saved = ::umask(022);
  for (const Case& c : {Case{022, 0644}, Case{077, 0600}, Case{002, 0664}}) {
    ::umask(c.umask);
    const fs::path file = dir.path() / ("new-" + std::to_string(c.umask));
    EXPECT_TRUE(WriteFileAtomically(file.wstring(), "x"));
    EXPECT_EQ(ModeOf(file), c.mode) << "umask " << c.umask;
  }
  ::umask(022);
  const fs::path kept = dir.path() / "kept";
  for (unsigned mode : {0640u, 0600u, 0755u, 0604u}) {
    ASSERT_TRUE(WriteFileAtomically(kept.wstring(), "old"));
    ASSERT_EQ(::chmod(kept.c_str(), mode), 0);
    EXPECT_TRUE(WriteFileAtomically(kept.wstring(), "new"));
    EXPECT_EQ(ModeOf(kept), mode);
    EXPECT_EQ(dir.Read("kept"), "new");
  }
  ::umask(saved);
  // A file the user made read-only is not replaced (root may write it, as with fopen).
  ASSERT_EQ(::chmod(kept.c_str(), 0444), 0);
  EXPECT_EQ(WriteFileAtomically(kept.wstring(), "newer"), ::geteuid() == 0);
  EXPECT_EQ(dir.Read("kept"), ::geteuid() == 0 ? "newer" : "new");
  EXPECT_EQ(ModeOf(kept), 0444u);
  EXPECT_EQ(Entries(dir.path()), 4u);  // no temporary file left
}

// A link is written through (the link stays, its target changes); a folder,
// a FIFO or a missing folder is refused without waiting or replacing it.
TEST(AtomicFileTest, LinksAreWrittenThroughAndOddTargetsRefused) {
  testing::TempDir dir;
  dir.Write("real/settings.ini", "old");
  fs::create_symlink(dir.path() / "real" / "settings.ini", dir.path() / "link.ini");
  EXPECT_TRUE(WriteFileAtomically((dir.path() / "link.ini").wstring(), "new"));
  EXPECT_TRUE(fs::is_symlink(dir.path() / "link.ini"));
  EXPECT_EQ(dir.Read("real/settings.ini"), "new");
  EXPECT_EQ(Entries(dir.path() / "real"), 1u);

  fs::create_directory(dir.path() / "folder");
  EXPECT_FALSE(WriteFileAtomically((dir.path() / "folder").wstring(), "x"));
  EXPECT_TRUE(fs::is_directory(dir.path() / "folder"));

  const fs::path fifo = dir.path() / "fifo";
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  EXPECT_FALSE(WriteFileAtomically(fifo.wstring(), "x"));
  EXPECT_TRUE(fs::is_fifo(fifo));

  EXPECT_FALSE(WriteFileAtomically((dir.path() / "missing" / "f").wstring(), "x"));
  EXPECT_FALSE(WriteFileAtomically(L"", "x"));
  EXPECT_EQ(Entries(dir.path()), 4u);  // real, link.ini, folder, fifo
}

}  // namespace
}  // namespace tk410
