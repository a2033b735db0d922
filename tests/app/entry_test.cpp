// The program entry's own steps: start-up options, language and data folder,
// and the single instance over a lock file and a local socket.

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QLockFile>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstring>
#include <filesystem>
#include <functional>

#include "app/app_entry.h"
#include "app/instance_request.h"
#include "app/language_files.h"
#include "app/settings_store.h"
#include "app/single_instance.h"
#include "base/text.h"
#include "scoped_env.h"
#include "support/core_app.h"
#include "support/temp_dir.h"

namespace tk410 {
namespace {

using testing::EnsureCoreApplication;

TEST(StartupOptions, HideAnywhereAndDeviceType) {
  struct Case {
    std::vector<std::string> arguments;
    bool hidden;
    int device_type;
    size_t warnings;
  };
  const Case cases[] = {
      {{}, false, 101, 0},
      {{"-hide"}, true, 101, 0},
      {{"--x-hidehide"}, true, 101, 0},          // inside a longer argument
      {{"/autostart-hide-now", "--device-type", "201"}, true, 201, 0},
      {{"--device-type=201"}, false, 201, 0},
      {{"--device-type"}, false, 101, 1},        // no value
      {{"--device-type", "abc"}, false, 101, 1},
      {{"--device-type", "-5"}, false, 101, 1},
      {{"--device-type=99999999999"}, false, 101, 1},
      {{"hide"}, false, 101, 0},
  };
  for (const Case& c : cases) {
    const StartupOptions options = ParseStartupOptions(c.arguments);
    const std::string label = c.arguments.empty() ? "(none)" : c.arguments[0];
    EXPECT_EQ(options.start_hidden, c.hidden) << label;
    EXPECT_EQ(options.device_type, c.device_type) << label;
    EXPECT_EQ(options.warnings.size(), c.warnings) << label;
  }
  // The program path itself is not searched.
  char program[] = "/opt/x-hide/tk410";
  char* argv[] = {program, nullptr};
  EXPECT_FALSE(ParseStartupOptions(1, argv).start_hidden);
}

TEST(PrepareShell, FirstStartCreatesSettingsAndDataFolder) {
  testing::TempDir dir;
  const SettingsStore settings((dir.path() / "config").wstring());
  const std::wstring data = (dir.path() / "Documents" / "TEVO TK410 MouseDbFiles").wstring() + L"/";

  // No settings file: created, the locale decides (Chinese stays Chinese).
  ShellStart start = PrepareShell(settings, 2052, data);
  EXPECT_EQ(start.language, 2052);
  EXPECT_TRUE(std::filesystem::exists(settings.FilePath()));
  EXPECT_EQ(settings.ReadLanguageSetting(), 2052);
  EXPECT_TRUE(start.data_folder_ready);
  EXPECT_TRUE(std::filesystem::is_directory(dir.path() / "Documents" / "TEVO TK410 MouseDbFiles" / "db"));

  // A stored 1049 (or any other language) becomes 1033 and is written back.
  settings.WriteLanguageSetting(1049);
  start = PrepareShell(settings, 2052, data);
  EXPECT_EQ(start.language, 1033);
  EXPECT_EQ(settings.ReadLanguageSetting(), 1033);
}

TEST(PrepareShell, UnwritableDataFolderDoesNotStopTheStart) {
  testing::TempDir dir;
  const SettingsStore settings((dir.path() / "config").wstring());
  dir.Write("blocked", "a file where the data folder should be");
  const ShellStart start = PrepareShell(settings, 1033, (dir.path() / "blocked").wstring() + L"/");
  EXPECT_FALSE(start.data_folder_ready);
  EXPECT_EQ(start.language, 1033);
}

TEST(ActivationRequest, Parsing) {
  std::string token = "x";
  EXPECT_TRUE(ParseActivationRequest("activate\n", &token));
  EXPECT_EQ(token, "");
  EXPECT_TRUE(ParseActivationRequest("activate abc_123\r\n", &token));
  EXPECT_EQ(token, "abc_123");
  EXPECT_FALSE(ParseActivationRequest("activated\n", &token));
  EXPECT_FALSE(ParseActivationRequest("quit\n", &token));
  EXPECT_FALSE(ParseActivationRequest("", &token));
}

TEST(SingleInstance, SecondStartActivatesTheFirst) {
  EnsureCoreApplication();
  testing::TempDir dir;
  SingleInstance first(dir.wide(), L"TEVO TK410");
  ASSERT_EQ(first.Acquire(""), SingleInstance::Role::kFirst);
  ASSERT_TRUE(first.IsListening());
  std::vector<std::string> tokens;
  first.SetActivationHandler([&](const std::string& token) { tokens.push_back(token); });

  SingleInstance second(dir.wide(), L"TEVO TK410");
  EXPECT_EQ(second.Acquire("token-42"), SingleInstance::Role::kSecond);
  EXPECT_FALSE(second.IsListening());
  ASSERT_TRUE(first.WaitForActivation(5000));
  EXPECT_EQ(tokens, std::vector<std::string>{"token-42"});

  // Another name in the same folder is another program: both are first.
  SingleInstance other(dir.wide(), L"other");
  EXPECT_EQ(other.Acquire(""), SingleInstance::Role::kFirst);
}

// A connected Unix socket to `path`, or -1.
int ConnectTo(const std::string& path) {
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  std::memcpy(address.sun_path, path.c_str(), path.size() + 1);
  const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) {
    ::close(fd);
    return -1;
  }
  return fd;
}

// Requests arrive as lines however the sender cuts its writes; a sender
// that goes past the line limit without a line end is cut off without
// harm to the others; the socket is the user's alone and goes with the
// instance.
TEST(SingleInstance, RequestLinesAreTakenWholeAndBounded) {
  EnsureCoreApplication();
  testing::TempDir dir;
  std::vector<std::string> lines;
  std::string socket_path;
  {
    SingleInstance first(dir.wide(), L"app");
    ASSERT_EQ(first.Acquire(""), SingleInstance::Role::kFirst);
    first.SetRequestHandler([&](const std::string& line) { lines.push_back(line); });
    socket_path = ToUtf8(first.SocketPath());
    struct stat st {};
    ASSERT_EQ(::stat(socket_path.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0600u);

    // One line in two writes, then a second line in the same connection.
    const int split = ConnectTo(socket_path);
    ASSERT_GE(split, 0);
    for (const std::string part : {"rules /a", ".db\nprofile 2 /a.db\n"})
      ASSERT_EQ(::send(split, part.data(), part.size(), MSG_NOSIGNAL), static_cast<ssize_t>(part.size()));
    ::close(split);
    ASSERT_TRUE(first.WaitForRequest(5000));
    if (lines.size() < 2) first.WaitForRequest(5000);
    EXPECT_EQ(lines, (std::vector<std::string>{"rules /a.db", "profile 2 /a.db"}));

    // 5000 bytes without a line end: dropped, and the line that follows on
    // that connection is not taken; a request on another connection is.
    const int flood = ConnectTo(socket_path);
    ASSERT_GE(flood, 0);
    const std::string junk(5000, 'x');
    ASSERT_EQ(::send(flood, junk.data(), junk.size(), MSG_NOSIGNAL), static_cast<ssize_t>(junk.size()));
    EXPECT_TRUE(SendInstanceRequest(socket_path, "rules /b.db"));
    ASSERT_TRUE(first.WaitForRequest(5000));
    const std::string after = "\nrules /c.db\n";
    ::send(flood, after.data(), after.size(), MSG_NOSIGNAL);
    ::close(flood);
    first.WaitForRequest(200);
    EXPECT_EQ(lines.back(), "rules /b.db");
    EXPECT_EQ(lines.size(), 3u);
  }
  EXPECT_FALSE(std::filesystem::exists(socket_path));
  EXPECT_FALSE(SendInstanceRequest(socket_path, "rules /d.db"));
}

TEST(SingleInstance, LeftoversOfADeadInstanceDoNotBlock) {
  EnsureCoreApplication();
  testing::TempDir dir;
  {
    SingleInstance gone(dir.wide(), L"app");
    ASSERT_EQ(gone.Acquire(""), SingleInstance::Role::kFirst);
  }
  // A socket file without a lock holder (the process died): taken over.
  dir.Write("app.socket", "");
  SingleInstance next(dir.wide(), L"app");
  EXPECT_EQ(next.Acquire(""), SingleInstance::Role::kFirst);
  EXPECT_TRUE(next.IsListening());

  // A lock folder that cannot be used: the start goes on as the first.
  SingleInstance nowhere((dir.path() / "missing" / "deeper").wstring(), L"app");
  EXPECT_EQ(nowhere.Acquire(""), SingleInstance::Role::kFirst);
  EXPECT_FALSE(nowhere.IsListening());
}

TEST(SingleInstance, RuntimeDirectoryFallsBackToAPrivateFolder) {
  const char* old = std::getenv("XDG_RUNTIME_DIR");
  const std::string saved = old ? old : "";
  unsetenv("XDG_RUNTIME_DIR");
  const std::wstring folder = RuntimeDirectory();
  if (!saved.empty()) setenv("XDG_RUNTIME_DIR", saved.c_str(), 1);
  const auto perms = std::filesystem::status(std::filesystem::path(folder)).permissions();
  EXPECT_TRUE(std::filesystem::is_directory(std::filesystem::path(folder)));
  EXPECT_EQ(perms & std::filesystem::perms::all, std::filesystem::perms::owner_all);
}

unsigned ModeOf(const std::filesystem::path& path) {
  struct stat st {};
  return ::lstat(path.c_str(), &st) == 0 ? st.st_mode & 07777 : 0;
}

// Without XDG_RUNTIME_DIR the lock lives in "<temp>/tk410-<uid>", a name any
// local user can take first. Only this user's own private folder is used
// (owner, mode 0700, a real folder, not a link); otherwise the lock goes to
// "tk410" in the user's cache folder, which is held to the same rule.
TEST(SingleInstance, SquattedTemporaryFolderIsNotUsed) {
  namespace fs = std::filesystem;
  testing::TempDir tmp;
  testing::TempDir cache;
  ScopedEnv no_runtime("XDG_RUNTIME_DIR", nullptr);
  ScopedEnv tmpdir("TMPDIR", tmp.path().c_str());
  ScopedEnv cache_home("XDG_CACHE_HOME", cache.path().c_str());
  const fs::path usual = tmp.path() / ("tk410-" + std::to_string(::getuid()));
  const fs::path fallback = cache.path() / "tk410";

  // Nobody was first: the usual folder, made private.
  EXPECT_EQ(RuntimeDirectory(), usual.wstring());
  EXPECT_EQ(ModeOf(usual), 0700u);
  fs::remove(usual);

  struct Squat {
    const char* label;
    std::function<bool()> make;  // false: cannot be staged as this user
  };
  const Squat squats[] = {
      {"open to everyone",
       [&] {
         fs::create_directory(usual);
         fs::permissions(usual, fs::perms::all, fs::perm_options::replace);
         return true;
       }},
      {"group may write",
       [&] {
         fs::create_directory(usual);
         fs::permissions(usual, fs::perms::owner_all | fs::perms::group_all,
                         fs::perm_options::replace);
         return true;
       }},
      {"a link to a folder",
       [&] {
         fs::create_directory(tmp.path() / "elsewhere");
         fs::permissions(tmp.path() / "elsewhere", fs::perms::owner_all, fs::perm_options::replace);
         fs::create_directory_symlink(tmp.path() / "elsewhere", usual);
         return true;
       }},
      {"another user's folder",
       [&] {
         if (::geteuid() != 0) return false;  // only root can give a folder away
         fs::create_directory(usual);
         fs::permissions(usual, fs::perms::owner_all, fs::perm_options::replace);
         return ::chown(usual.c_str(), 65534, 65534) == 0;
       }},
  };
  for (const Squat& squat : squats) {
    if (!squat.make()) continue;
    const RuntimeDirectoryChoice choice = FindRuntimeDirectory();
    EXPECT_EQ(choice.folder, fallback.wstring()) << squat.label;
    ASSERT_EQ(choice.rejected.size(), 1u) << squat.label;
    EXPECT_EQ(choice.rejected[0].rfind(usual.string(), 0), 0u) << choice.rejected[0];
    EXPECT_EQ(ModeOf(fallback), 0700u) << squat.label;
    fs::remove(usual);
    fs::remove_all(tmp.path() / "elsewhere");
  }

  // Both squatted: no folder at all, rather than one another user controls.
  fs::create_directory(usual);
  fs::permissions(usual, fs::perms::all, fs::perm_options::replace);
  fs::create_directory(fallback);
  fs::permissions(fallback, fs::perms::all, fs::perm_options::replace);
  EXPECT_NE(RuntimeDirectory(), usual.wstring());
  EXPECT_NE(RuntimeDirectory(), fallback.wstring());
  const RuntimeDirectoryChoice none = FindRuntimeDirectory();
  EXPECT_EQ(none.folder, L"");
  EXPECT_EQ(none.rejected.size(), 2u);
  SingleInstance nowhere(none.folder, L"app");
  EXPECT_EQ(nowhere.Acquire(""), SingleInstance::Role::kRefused);
  EXPECT_NE(nowhere.error().find("private folder"), std::string::npos) << nowhere.error();

  // XDG_RUNTIME_DIR is held to the owner and no access by others, too.
  ScopedEnv shared_runtime("XDG_RUNTIME_DIR", usual.c_str());
  EXPECT_NE(RuntimeDirectory(), usual.wstring());
  fs::permissions(usual, fs::perms::owner_all, fs::perm_options::replace);
  EXPECT_EQ(RuntimeDirectory(), usual.wstring());
}

// A lock this user cannot take because of permissions (another user's lock
// file, a folder it may not write to) is an error to report, not a running
// instance to hand the activation token to.
TEST(SingleInstance, LockRefusedForPermissionsIsAnError) {
  namespace fs = std::filesystem;
  EnsureCoreApplication();
  testing::TempDir dir;
  QLockFile holder(QString::fromStdString((dir.path() / "app.lock").string()));
  ASSERT_TRUE(holder.tryLock(0));
  const fs::path lock = dir.path() / "app.lock";
  if (::geteuid() == 0) {
    ASSERT_EQ(::chown(lock.c_str(), 65534, 65534), 0);
  } else {
    fs::permissions(lock, fs::perms::none, fs::perm_options::replace);
  }
  SingleInstance second(dir.wide(), L"app");
  EXPECT_EQ(second.Acquire("secret-token"), SingleInstance::Role::kRefused);
  EXPECT_FALSE(second.IsListening());
  EXPECT_NE(second.error().find("app.lock"), std::string::npos) << second.error();

  if (::geteuid() != 0) {
    testing::TempDir locked;
    fs::permissions(locked.path(), fs::perms::owner_read | fs::perms::owner_exec,
                    fs::perm_options::replace);
    SingleInstance nowhere(locked.wide(), L"app");
    EXPECT_EQ(nowhere.Acquire(""), SingleInstance::Role::kRefused);
    EXPECT_NE(nowhere.error().find("permission denied"), std::string::npos) << nowhere.error();
    fs::permissions(locked.path(), fs::perms::owner_all, fs::perm_options::replace);
  }
}

}  // namespace
}  // namespace tk410
