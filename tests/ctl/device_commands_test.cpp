// tk410ctl against the virtual wired mouse: the device list, and write, read
// and the frame trace through the window's task actions. The mouse's state
// lives in a --sim-state file, so consecutive invocations meet the same mouse.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "base/text.h"
#include "ctl/ctl_runner.h"
#include "store/config_database.h"

namespace tk410::testing {
namespace {

using tk410::ConfigDatabase;
using tk410::KeyMacroRecord;

std::vector<int> HexBytes(const std::string& line) {
  std::vector<int> bytes;
  std::istringstream in(line.substr(line.find(' ') + 1));
  for (std::string b; in >> b;) bytes.push_back(std::stoi(b, nullptr, 16));
  return bytes;
}

TEST(CtlDeviceTest, DevicesListsTheVirtualMouse) {
  CtlRunner ctl(/*simulate=*/true);
  const CtlRun run = ctl.Run({"devices"});
  ASSERT_EQ(run.code, 0) << run.err;
  const auto lines = Lines(run.out);
  ASSERT_EQ(lines.size(), 1u) << run.out;
  EXPECT_EQ(lines[0].rfind("0 1209:0001 wired online virtual/", 0), 0u) << lines[0];
  const CtlRun json = ctl.Run({"--json", "devices"});
  EXPECT_NE(json.out.find("\"id\":\"1209:0001\",\"mode\":\"wired\",\"online\":true"), std::string::npos)
      << json.out;
  // The state file is created at exit when it was missing.
  EXPECT_TRUE(std::filesystem::exists(ctl.StatePath()));
}

TEST(CtlDeviceTest, StatusShowsConnectionModeAndVersions) {
  CtlRunner ctl(/*simulate=*/true);
  const CtlRun run = ctl.Run({"status"});
  ASSERT_EQ(run.code, 0) << run.err;
  const auto lines = Lines(run.out);
  ASSERT_GE(lines.size(), 3u) << run.out;
  EXPECT_EQ(lines[0], "connection: Connected (wired)");
  EXPECT_EQ(lines[1], "mode: wired");
  // The virtual mouse's version, as the window's version labels show it.
  EXPECT_NE(run.out.find("version: 1.0.5\n"), std::string::npos) << run.out;
}

TEST(CtlDeviceTest, WriteThenReadIntoAFreshDataDirectoryGivesTheSameValues) {
  CtlRunner ctl(/*simulate=*/true);
  const std::vector<std::pair<std::string, std::string>> values = {
      {"dpi_group0_value", "400"}, {"dpi_group2_value", "3300"}, {"dpi_group5_value", "20000"},
      {"report_rate", "3"},        {"liftoff_height", "2"},      {"scroll_flag", "1"},
      {"button_respondtime", "12"}, {"sleep_light", "30"},       {"e-sports_flag", "0"},
      {"dpi_index", "3"},
  };
  for (const auto& [key, value] : values) ASSERT_EQ(ctl.Run({"set", key, value}).code, 0) << key;
  ASSERT_EQ(ctl.Run({"assign", "4", "key", "A", "ctrl+alt"}).code, 0);

  const CtlRun write = ctl.Run({"write"});
  if (write.code == 1 && write.err.find("no frame reached the mouse") != std::string::npos) {
    GTEST_SKIP() << "the wired routines and the worker's task actions are not in this build yet";
  }
  ASSERT_EQ(write.code, 0) << write.err;

  const CtlRun read = ctl.RunIn("fresh", {"read"});
  ASSERT_EQ(read.code, 0) << read.err;
  for (const auto& [key, value] : values) {
    EXPECT_EQ(ctl.RunIn("fresh", {"get", key}).out, value + "\n") << key;
  }
  // The button assignment came back from the mouse's key table as well.
  ConfigDatabase db;
  ASSERT_TRUE(db.OpenForDevice(FromUtf8(ctl.DataDir("fresh")) + L"/", L"TK410"));
  KeyMacroRecord key;
  ASSERT_TRUE(db.GetKeyRecord(1, 0, 4, key));
  EXPECT_EQ(key.macro_type, 22);
  EXPECT_EQ(key.macro_value, 0x04);   // usage of A
  EXPECT_EQ(key.macro_value2, 0x05);  // Ctrl and Alt
}

// Trace lines: "W" + the 65-byte output report (report number 00, then the
// payload: 55, command, A5/AE, check = sum of payload bytes 4..63 mod 256, ...).
TEST(CtlDeviceTest, TraceOfWriteRunsFromMacroChunksToTheReportRate) {
  CtlRunner ctl(/*simulate=*/true);
  const std::string trace_path = (ctl.Dir().path() / "trace.txt").string();
  const CtlRun write = ctl.Run({"--trace-frames", trace_path, "write"});
  if (write.code == 1 && write.err.find("no frame reached the mouse") != std::string::npos) {
    GTEST_SKIP() << "the wired routines and the worker's task actions are not in this build yet";
  }
  ASSERT_EQ(write.code, 0) << write.err;

  std::ifstream in(trace_path);
  std::vector<std::vector<int>> writes;
  for (std::string line; std::getline(in, line);) {
    ASSERT_TRUE(line.rfind("W ", 0) == 0 || line.rfind("R ", 0) == 0 || line.rfind("FS ", 0) == 0 ||
                line.rfind("FG ", 0) == 0)
        << line;
    if (line[0] != 'W') continue;
    writes.push_back(HexBytes(line));
    const auto& b = writes.back();
    ASSERT_EQ(b.size(), 65u) << line;
    EXPECT_EQ(b[0], 0x00);
    EXPECT_EQ(b[1], 0x55);
    int sum = 0;
    for (size_t i = 5; i < b.size(); ++i) sum += b[i];
    EXPECT_EQ(b[4], sum % 256) << line;
  }
  ASSERT_FALSE(writes.empty());
  EXPECT_EQ(writes.front()[2], 0x0D);  // the first macro chunk
  EXPECT_EQ(writes.back()[2], 0x23);   // the report-rate write

  // "-" sends the same trace to stdout before the result line.
  const CtlRun to_stdout = ctl.Run({"--trace-frames", "-", "write"});
  ASSERT_EQ(to_stdout.code, 0);
  const auto lines = Lines(to_stdout.out);
  ASSERT_GE(lines.size(), 2u);
  EXPECT_EQ(lines.front().rfind("W 00 55 0D", 0), 0u);
  EXPECT_EQ(lines.back(), "wrote profile 1 to the mouse");
}

}  // namespace
}  // namespace tk410::testing
