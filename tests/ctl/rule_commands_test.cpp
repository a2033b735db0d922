// tk410ctl rule list|add|remove|export|import, and what a running window
// hears of profile selections and rule changes.
#include <gtest/gtest.h>

#include <filesystem>

#include "app/instance_request.h"
#include "app/single_instance.h"
#include "ctl/ctl_runner.h"
#include "device/product.h"
#include "support/core_app.h"

namespace tk410::testing {
namespace {

TEST(CtlRuleTest, RulesAreAddedListedAndRemoved) {
  CtlRunner ctl;
  struct Case {
    std::vector<std::string> args;
    int code;
    std::string out;
  };
  const Case cases[] = {
      {{"rule", "list"}, 0, ""},
      {{"rule", "add", "3", "--exe", "Game.exe"}, 0, "1\n"},
      {{"rule", "add", "2", "--steam=570"}, 0, "2\n"},
      {{"rule", "add", "4", "--class", "steam_app_730"}, 0, "3\n"},
      {{"--json", "rule", "add", "1", "--other"}, 0, "{\"id\":4}\n"},
      {{"rule", "list"}, 0, "1 exe Game.exe -> profile 3\n2 steam 570 -> profile 2\n3 class steam_app_730 -> profile 4\n"
                            "4 other -> profile 1\n"},
      // Usage errors (2) and data errors (3) store nothing.
      {{"rule", "add", "3"}, 2, ""},
      {{"rule", "add", "3", "--exe", "a", "--class", "b"}, 2, ""},
      {{"rule", "add", "0", "--exe", "a"}, 2, ""},
      {{"rule", "add", "3", "--steam", "07"}, 2, ""},
      {{"rule", "add", "3", "--exe", "bin/game"}, 2, ""},
      {{"rule", "add", "9", "--exe", "a"}, 3, ""},
      {{"rule", "list", "--exe", "a"}, 2, ""},
      {{"profile", "list", "--other"}, 2, ""},
      {{"rule", "remove", "7"}, 3, ""},
      {{"rule", "remove", "2"}, 0, ""},
      {{"rule"}, 2, ""},
      {{"rule", "rename"}, 2, ""},
      {{"--json", "rule", "list"}, 0, "[{\"id\":1,\"match\":\"exe\",\"text\":\"Game.exe\",\"profile\":3},"
                                      "{\"id\":3,\"match\":\"class\",\"text\":\"steam_app_730\",\"profile\":4},"
                                      "{\"id\":4,\"match\":\"other\",\"text\":\"\",\"profile\":1}]\n"},
  };
  for (const Case& c : cases) {
    const CtlRun run = ctl.Run(c.args);
    std::string line;
    for (const std::string& a : c.args) line += a + " ";
    EXPECT_EQ(run.code, c.code) << line << run.err;
    EXPECT_EQ(run.out, c.out) << line;
  }

  // To a rules file and into another database.
  const std::string file = ctl.Dir().path().string() + "/rules.xml";
  ASSERT_EQ(ctl.Run({"rule", "export", file}).code, 0);
  const CtlRun imported = ctl.RunIn("other", {"rule", "import", file});
  EXPECT_EQ(imported.code, 0) << imported.err;
  EXPECT_EQ(ctl.RunIn("other", {"rule", "list"}).out,
            "1 exe Game.exe -> profile 3\n2 class steam_app_730 -> profile 4\n3 other -> profile 1\n");
  EXPECT_EQ(ctl.RunIn("other", {"rule", "import", file + ".missing"}).code, 3);
}

TEST(CtlRuleTest, ARunningWindowHearsOfSelectedProfilesAndChangedRules) {
  EnsureCoreApplication();
  // The window of this user's session listens where tk410ctl looks.
  SingleInstance window(RuntimeDirectory(), kProductName);
  ASSERT_EQ(window.Acquire(""), SingleInstance::Role::kFirst);
  std::vector<InstanceRequest> heard;
  window.SetRequestHandler([&](const std::string& line) { heard.push_back(ParseInstanceRequest(line)); });

  CtlRunner ctl;
  const std::string database = ctl.DataDir() + "/db/TK410_data_kvr.db";
  ASSERT_EQ(ctl.Run({"profile", "select", "3"}).code, 0);
  ASSERT_TRUE(window.WaitForRequest(5000));
  ASSERT_EQ(ctl.Run({"rule", "add", "2", "--exe", "racer"}).code, 0);
  ASSERT_TRUE(window.WaitForRequest(5000));
  // Failed commands tell nothing.
  ASSERT_EQ(ctl.Run({"profile", "select", "8"}).code, 3);
  EXPECT_FALSE(window.WaitForRequest(200));

  ASSERT_EQ(heard.size(), 2u);
  EXPECT_EQ(heard[0].kind, InstanceRequest::kProfile);
  EXPECT_EQ(heard[0].profile, 3);
  EXPECT_TRUE(std::filesystem::equivalent(heard[0].database, database));
  EXPECT_EQ(heard[1].kind, InstanceRequest::kRules);
  EXPECT_TRUE(std::filesystem::equivalent(heard[1].database, database));
}

}  // namespace
}  // namespace tk410::testing
