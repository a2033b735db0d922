// tk410ctl commands on the settings database: run the built binary against a
// temporary data directory.
#include <gtest/gtest.h>

#include <filesystem>

#include "ctl/ctl_runner.h"

namespace tk410::testing {
namespace {

TEST(CtlStoreTest, FreshDataDirectoryHasTheFiveDefaultProfiles) {
  CtlRunner ctl;
  const CtlRun list = ctl.Run({"profile", "list"});
  ASSERT_EQ(list.code, 0) << list.err;
  EXPECT_EQ(Lines(list.out), (std::vector<std::string>{"* 1 Profile 1", "  2 Profile 2", "  3 Profile 3",
                                                       "  4 Profile 4", "  5 Profile 5"}));
  // The database lies in the db folder of the data directory.
  EXPECT_TRUE(std::filesystem::exists(ctl.DataDir() + "/db/TK410_data_kvr.db"));

  const CtlRun json = ctl.Run({"--json", "profile", "list"});
  ASSERT_EQ(json.code, 0);
  EXPECT_NE(json.out.find("{\"profile\":1,\"name\":\"Profile 1\",\"active\":true}"), std::string::npos);
  EXPECT_NE(json.out.find("{\"profile\":5,\"name\":\"Profile 5\",\"active\":false}"), std::string::npos);

  // Selecting a profile survives the invocation and moves get/set with it.
  ASSERT_EQ(ctl.Run({"profile", "select", "3"}).code, 0);
  EXPECT_EQ(Lines(ctl.Run({"profile", "list"}).out)[2], "* 3 Profile 3");
  ASSERT_EQ(ctl.Run({"set", "dpi_group0_value", "900"}).code, 0);
  ASSERT_EQ(ctl.Run({"profile", "select", "1"}).code, 0);
  EXPECT_EQ(ctl.Run({"get", "dpi_group0_value"}).out, "800\n");
  ASSERT_EQ(ctl.Run({"profile", "select", "3"}).code, 0);
  EXPECT_EQ(ctl.Run({"get", "dpi_group0_value"}).out, "900\n");
}

TEST(CtlStoreTest, SetAndGetRoundTripAsDecimalText) {
  CtlRunner ctl;
  struct Case {
    const char* key;
    const char* value;
    const char* stored;
  };
  const Case cases[] = {
      {"dpi_group2_value", "3300", "3300"},
      {"report_rate", "0x3", "3"},        // hexadecimal input is stored in decimal
      {"e-sports_flag", "0", "0"},
      {"dpi_group5_rgb", "16711935", "16711935"},
      {"scroll_flag", "-1", "-1"},
  };
  for (const auto& c : cases) {
    const CtlRun set = ctl.Run({"set", c.key, c.value});
    ASSERT_EQ(set.code, 0) << c.key << ": " << set.err;
    const CtlRun get = ctl.Run({"get", c.key});
    EXPECT_EQ(get.code, 0);
    EXPECT_EQ(get.out, std::string(c.stored) + "\n") << c.key;
  }
  // The whole profile, as key=value lines and as one JSON object.
  const CtlRun all = ctl.Run({"get"});
  ASSERT_EQ(all.code, 0);
  EXPECT_EQ(Lines(all.out).size(), 25u);
  EXPECT_NE(all.out.find("dpi_group2_value=3300\n"), std::string::npos);
  const CtlRun json = ctl.Run({"get", "--json"});
  EXPECT_NE(json.out.find("\"e-sports_flag\":\"0\""), std::string::npos);
}

TEST(CtlStoreTest, AssignStoresTheTextsTheButtonsPageStores) {
  CtlRunner ctl;
  // Key combination: ModifierText of the bits and the usage's name.
  CtlRun run = ctl.Run({"assign", "4", "key", "A", "ctrl+alt"});
  ASSERT_EQ(run.code, 0) << run.err;
  EXPECT_EQ(run.out, "button 4: Ctrl+ Alt + A\n");
  // Usage given as a number, Shift with Ctrl.
  EXPECT_EQ(ctl.Run({"assign", "5", "22", "0x04", "3"}).out, "button 5: Shift+ Ctrl + A\n");
  // Plain kinds and table values show their language texts.
  EXPECT_EQ(ctl.Run({"assign", "3", "dpi-up"}).code, 0);
  EXPECT_EQ(ctl.Run({"assign", "6", "multimedia", "2"}).code, 0);
  // A macro by id, named by its macro name.
  const CtlRun made = ctl.Run({"macro", "new", "Combo"});
  ASSERT_EQ(made.code, 0) << made.err;
  EXPECT_EQ(made.out, "1 Combo\n");
  EXPECT_EQ(ctl.Run({"assign", "7", "macro", "1"}).out, "button 7: Combo\n");
  EXPECT_EQ(ctl.Run({"assign", "7", "default"}).code, 0);

  struct Bad {
    std::vector<std::string> args;
    int code;
  };
  const Bad bad[] = {
      {{"assign", "12", "left-click"}, 2},           // no button 12
      {{"assign", "0", "left-click"}, 2},
      {{"assign", "4", "warp"}, 2},                  // unknown kind
      {{"assign", "4", "4"}, 2},                     // kind not offered
      {{"assign", "4", "key", "NoSuchKey"}, 2},
      {{"assign", "4", "key", "A", "hyper"}, 2},
      {{"assign", "4", "key", "0"}, 2},              // neither key nor modifier
      {{"assign", "4", "left-click", "5"}, 2},       // no value for a plain kind
      {{"assign", "4", "multimedia", "1"}, 2},       // value not offered by the dialog
      {{"assign", "4", "shortcut", "14"}, 2},
      {{"assign", "4", "emoji", "110"}, 2},
      {{"assign", "4", "macro", "99"}, 3},           // no such macro
  };
  for (const auto& b : bad) {
    const CtlRun r = ctl.Run(b.args);
    EXPECT_EQ(r.code, b.code) << b.args[1] << " " << b.args[2];
    EXPECT_TRUE(r.out.empty());
    EXPECT_EQ(Lines(r.err).size(), 1u) << r.err;
  }
}

TEST(CtlStoreTest, MacroListNewAndShow) {
  CtlRunner ctl;
  EXPECT_EQ(ctl.Run({"macro", "list"}).out, "");
  EXPECT_EQ(ctl.Run({"macro", "new"}).out, "1 Custom 1\n");
  ASSERT_EQ(ctl.Run({"macro", "new", "Say \"hi\""}).code, 0);
  EXPECT_EQ(ctl.Run({"macro", "list"}).out, "1 Custom 1 (0 steps)\n2 Say \"hi\" (0 steps)\n");
  // Quotes in names stay valid JSON.
  const CtlRun json = ctl.Run({"--json", "macro", "list"});
  EXPECT_NE(json.out.find("\"name\":\"Say \\\"hi\\\"\""), std::string::npos) << json.out;
  const CtlRun show = ctl.Run({"macro", "show", "1"});
  EXPECT_EQ(show.code, 0);
  EXPECT_EQ(Lines(show.out)[0], "1 Custom 1: play_type 0, play_times 1, delay_type 1, delay_time 0");
  EXPECT_EQ(ctl.Run({"macro", "show", "7"}).code, 3);
  EXPECT_EQ(ctl.Run({"macro", "show", "x"}).code, 2);
}

}  // namespace
}  // namespace tk410::testing
