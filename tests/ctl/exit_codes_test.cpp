// Every failure of tk410ctl ends with its exit code and one line on stderr,
// and prints nothing on stdout.
#include <gtest/gtest.h>

#include <fstream>

#include "base/text.h"
#include "ctl/ctl_runner.h"
#include "device/catalog.h"
#include "device/udev_rules.h"

namespace tk410::testing {
namespace {

struct ErrorCase {
  const char* what;
  std::vector<std::string> args;  // after --data-dir <temp>
  int code;
  const char* message_part;
};

TEST(CtlExitCodeTest, EveryErrorPathHasItsCodeAndOneLine) {
  CtlRunner ctl;
  const std::string state = (ctl.Dir().path() / "garbage.state").string();
  { std::ofstream(state) << "not a mouse state\n"; }
  const std::string file_as_dir = (ctl.Dir().path() / "plain-file").string();
  { std::ofstream(file_as_dir) << "x"; }

  const ErrorCase cases[] = {
      {"no command", {}, 2, "no command"},
      {"unknown command", {"fly"}, 2, "unknown command"},
      {"unknown option", {"--fast", "profile", "list"}, 2, "unknown option"},
      {"option without value", {"profile", "list", "--trace-frames"}, 2, "needs a value"},
      {"bad device type", {"--device-type", "abc", "get"}, 2, "--device-type"},
      {"unknown simulation", {"--simulate", "usb", "devices"}, 2, "--simulate"},
      {"state without simulation", {"--sim-state", state, "devices"}, 2, "need --simulate"},
      {"unknown setting", {"get", "dpi_group9_value"}, 2, "unknown setting"},
      {"set text value", {"set", "report_rate", "fast"}, 2, "whole number"},
      {"set version", {"set", "version", "2"}, 2, "version"},
      {"set too many", {"set", "report_rate", "1", "2"}, 2, "set needs"},
      {"profile zero", {"profile", "select", "0"}, 2, "profile number"},
      {"profile absent", {"profile", "select", "9"}, 3, "no profile 9"},
      {"profile export without file", {"profile", "export"}, 2, "needs one FILE"},
      {"profile import missing file",
       {"profile", "import", (ctl.Dir().path() / "missing.xml").string()}, 3, "cannot read"},
      {"macro absent", {"macro", "show", "4"}, 3, "no macro 4"},
      {"write args", {"write", "now"}, 2, "no arguments"},
      {"unreadable state", {"--simulate", "wired", "--sim-state", state, "write"}, 3, "mouse state"},
      {"data dir is a file", {"--data-dir", file_as_dir, "get"}, 3, "database folder"},
      {"trace into missing folder",
       {"--simulate", "wired", "--trace-frames", (ctl.Dir().path() / "no/such/t.txt").string(), "write"},
       3, "frame trace"},
      {"permission denied", {"--simulate", "wired", "--sim-fault", "open-denied", "write"}, 4, "udev-rules"},
      {"permission denied status", {"--simulate", "wired", "--sim-fault", "open-denied", "status"}, 4,
       "permission denied"},
      {"mouse silent", {"--simulate", "wired", "--sim-fault", "no-reply", "write"}, 1,
       "write: the mouse stopped answering"},
      {"mouse silent read", {"--simulate", "wired", "--sim-fault", "no-reply", "read"}, 1,
       "read: the mouse stopped answering"},
      {"mouse silent restore", {"--simulate", "wired", "--sim-fault", "no-reply", "restore"}, 1,
       "restore: the mouse stopped answering"},
      {"unknown fault", {"--simulate", "wired", "--sim-fault", "slow-reply", "write"}, 2, "--sim-fault"},
      {"fault on request 0", {"--simulate", "receiver", "--sim-fault", "late-reply:0", "read"}, 2, "--sim-fault"},
      {"fault without simulation", {"--sim-fault", "stray-report", "read"}, 2, "need --simulate"},
  };
  for (const auto& c : cases) {
    const CtlRun run = ctl.Run(c.args);
    EXPECT_EQ(run.code, c.code) << c.what << ": " << run.err;
    const auto lines = Lines(run.err);
    ASSERT_EQ(lines.size(), 1u) << c.what << ": " << run.err;
    EXPECT_EQ(lines[0].rfind("tk410ctl: ", 0), 0u) << c.what;
    EXPECT_NE(lines[0].find(c.message_part), std::string::npos) << c.what << ": " << lines[0];
    if (std::string(c.what).rfind("permission", 0) != 0 && c.code != 1) {
      EXPECT_TRUE(run.out.empty()) << c.what << ": " << run.out;
    }
  }
}

TEST(CtlExitCodeTest, DeviceCommandsWithoutAMouseReportItAbsent) {
  // No --simulate: the real HID devices, where the test machine has no TK410.
  CtlRunner ctl;
  for (const char* command : {"read", "write", "restore", "devices"}) {
    const CtlRun run = ctl.Run({command});
    EXPECT_EQ(run.code, 1) << command << ": " << run.err;
    EXPECT_NE(run.err.find("no TEVO TK410 attached"), std::string::npos) << command;
  }
}

TEST(CtlExitCodeTest, HelpAndUdevRulesNeedNoDataDirectory) {
  CtlRunner ctl;
  const CtlRun help = ctl.RunRaw({"--help"});
  EXPECT_EQ(help.code, 0);
  EXPECT_NE(help.out.find("exit codes"), std::string::npos);

  // One uaccess rule per catalogue id pair, USB and Bluetooth buses.
  const CtlRun rules = ctl.RunRaw({"udev-rules"});
  ASSERT_EQ(rules.code, 0) << rules.err;
  EXPECT_NE(rules.out.find("SUBSYSTEM==\"hidraw\", KERNELS==\"0003:1209:0001.*\", TAG+=\"uaccess\"\n"),
            std::string::npos);
  EXPECT_NE(rules.out.find("KERNELS==\"0005:1209:0001.*\""), std::string::npos);
  EXPECT_NE(rules.out.find("KERNELS==\"0003:1209:0002.*\""), std::string::npos);
  for (const auto& line : Lines(rules.out)) {
    EXPECT_TRUE(line.empty() || line[0] == '#' || line.rfind("SUBSYSTEM==\"hidraw\"", 0) == 0) << line;
  }
  EXPECT_EQ(ctl.RunRaw({"udev-rules", "extra"}).code, 2);
}

// The tool prints the rules the device code builds from the catalogue beside
// it, byte for byte: one generator, one text.
TEST(CtlExitCodeTest, UdevRulesAreTheDeviceCodesRules) {
  DeviceCatalog catalog;
  ASSERT_TRUE(catalog.Load(FromUtf8(TK410_BIN_DIR) + L"/config.xml"));
  const CtlRun rules = CtlRunner().RunRaw({"udev-rules"});
  ASSERT_EQ(rules.code, 0) << rules.err;
  EXPECT_EQ(rules.out, BuildUdevRules(catalog.Modes()));
}

}  // namespace
}  // namespace tk410::testing
