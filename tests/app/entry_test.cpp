// The program entry's own steps: start-up options, language and data folder,
// and the single instance over a lock file and a local socket.

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <filesystem>

#include "app/app_entry.h"
#include "app/language_files.h"
#include "app/settings_store.h"
#include "app/single_instance.h"
#include "support/temp_dir.h"

namespace tk410 {
namespace {

// QLocalServer and QLocalSocket want an application object.
void EnsureCoreApplication() {
  static int argc = 1;
  static char name[] = "tests_app";
  static char* argv[] = {name, nullptr};
  if (!QCoreApplication::instance()) new QCoreApplication(argc, argv);
}

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

}  // namespace
}  // namespace tk410
