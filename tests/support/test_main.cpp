// main() of every test program: gives the process a fresh temporary HOME and
// XDG directories before any test runs, so no test can touch the real
// user's files, and removes them afterwards.

#include <gtest/gtest.h>
#include <gmock/gmock.h>

#include <cstdlib>
#include <filesystem>
#include <string>

int main(int argc, char** argv) {
  namespace fs = std::filesystem;
  char pattern[] = "/tmp/tk410-test-home-XXXXXX";
  const char* dir = mkdtemp(pattern);
  if (!dir) return 3;
  const std::string home = dir;
  fs::create_directories(home + "/.config");
  fs::create_directories(home + "/.local/share");
  fs::create_directories(home + "/.cache");
  fs::create_directories(home + "/Documents");
  fs::create_directories(home + "/runtime");
  fs::permissions(home + "/runtime", fs::perms::owner_all, fs::perm_options::replace);
  setenv("HOME", home.c_str(), 1);
  setenv("XDG_CONFIG_HOME", (home + "/.config").c_str(), 1);
  setenv("XDG_DATA_HOME", (home + "/.local/share").c_str(), 1);
  setenv("XDG_CACHE_HOME", (home + "/.cache").c_str(), 1);
  setenv("XDG_RUNTIME_DIR", (home + "/runtime").c_str(), 1);
  setenv("XDG_DOCUMENTS_DIR", (home + "/Documents").c_str(), 1);

  ::testing::InitGoogleMock(&argc, argv);
  const int result = RUN_ALL_TESTS();

  std::error_code ec;
  if (!std::getenv("TK410_KEEP_TEST_HOME")) fs::remove_all(home, ec);
  return result;
}
