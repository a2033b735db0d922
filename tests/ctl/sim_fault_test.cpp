// tk410ctl --sim-fault with the timing faults: the switch reaches the
// virtual mouse, as the frame trace of a read shows. Trace lines: "W" and
// the output report (report number 00 first), "R" and the input report
// read, "R -" for a read that timed out.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/text.h"
#include "ctl/ctl_runner.h"
#include "store/config_database.h"

namespace tk410::testing {
namespace {

// The trace from the first write on, without the reads that timed out.
std::vector<std::string> TraceFromFirstWrite(const std::string& out) {
  std::vector<std::string> lines;
  bool written = false;
  for (const std::string& line : Lines(out)) {
    written |= line.rfind("W ", 0) == 0;
    if (!written || line == "R -" || (line[0] != 'W' && line[0] != 'R')) continue;
    lines.push_back(line);
  }
  return lines;
}

TEST(CtlSimFaultTest, TimingFaultsReachTheVirtualMouse) {
  struct Case {
    const char* simulate;
    const char* fault;
    const char* status_report;  // how a status report of this device starts in the trace
  };
  const Case cases[] = {
      {"wired", "stray-report:1", "R AA FA"},   {"receiver", "stray-report:1", "R 41 00 8C"},
      {"wired", "late-reply:1", nullptr},       {"receiver", "late-reply:1", nullptr},
      {"wired", "duplicate-reply:1", nullptr},  {"receiver", "duplicate-reply:1", nullptr},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.simulate) + " " + c.fault);
    CtlRunner ctl;
    const CtlRun run = ctl.Run({"--simulate", c.simulate, "--sim-fault", c.fault, "--trace-frames", "-", "read"});
    const std::vector<std::string> trace = TraceFromFirstWrite(run.out);
    ASSERT_GE(trace.size(), 4u) << run.out;
    ASSERT_EQ(trace[0][0], 'W');
    const std::string fault = c.fault;
    if (fault.rfind("stray-report", 0) == 0) {
      // The first report after the first request is the status report.
      EXPECT_EQ(trace[1].rfind(c.status_report, 0), 0u) << trace[1];
    } else if (fault.rfind("late-reply", 0) == 0) {
      // Nothing comes before the request is written again.
      EXPECT_EQ(trace[1], trace[0]);
    } else {
      // The first reply comes twice, before any other report.
      std::vector<std::string> reads;
      for (const auto& line : trace) {
        if (line[0] == 'R') reads.push_back(line);
      }
      ASSERT_GE(reads.size(), 2u);
      EXPECT_EQ(reads[0], reads[1]);
    }
  }
}


// Every button row of profiles 1 to 5 in a data directory: profile, key,
// kind, value, value2.
std::vector<std::vector<int>> ButtonRows(const CtlRunner& ctl, const std::string& data_name) {
  ConfigDatabase db;
  EXPECT_TRUE(db.OpenForDevice(FromUtf8(ctl.DataDir(data_name)) + L"/", L"TK410"));
  std::vector<std::vector<int>> rows;
  for (int profile = 1; profile <= 5; ++profile) {
    RecordList<KeyMacroRecord> keys;
    db.LoadKeyRecords(profile, 0, keys);
    for (const auto& k : keys) rows.push_back({profile, k->key_code, k->macro_type, k->macro_value, k->macro_value2});
  }
  return rows;
}

// Known values written to the virtual mouse, then read into fresh data
// directories: a stray status report, a late reply and a duplicated reply
// change nothing of what the read stores.
TEST(CtlSimFaultTest, ReadUnderATimingFaultStoresWhatAnUndisturbedReadStores) {
  CtlRunner ctl(/*simulate=*/true);
  for (const auto& [key, value] : std::vector<std::pair<std::string, std::string>>{
           {"dpi_group1_value", "1600"}, {"dpi_group4_value", "12000"}, {"dpi_index", "4"},
           {"report_rate", "2"}, {"liftoff_height", "2"}, {"button_respondtime", "8"}}) {
    ASSERT_EQ(ctl.Run({"set", key, value}).code, 0) << key;
  }
  ASSERT_EQ(ctl.Run({"assign", "4", "key", "A", "ctrl+alt"}).code, 0);
  ASSERT_EQ(ctl.Run({"assign", "5", "multimedia", "3"}).code, 0);
  ASSERT_EQ(ctl.Run({"write"}).code, 0);

  ASSERT_EQ(ctl.RunIn("undisturbed", {"read"}).code, 0);
  const std::string values = ctl.RunIn("undisturbed", {"--json", "get"}).out;
  const auto buttons = ButtonRows(ctl, "undisturbed");
  ASSERT_NE(values.find("\"dpi_group4_value\":\"12000\""), std::string::npos) << values;

  for (const char* fault : {"stray-report:3", "late-reply:5", "duplicate-reply:2"}) {
    SCOPED_TRACE(fault);
    const std::string dir = std::string("under-") + fault;
    const CtlRun read = ctl.RunIn(dir, {"--sim-fault", fault, "read"});
    ASSERT_EQ(read.code, 0) << read.err;
    EXPECT_EQ(ctl.RunIn(dir, {"--json", "get"}).out, values);
    EXPECT_EQ(ButtonRows(ctl, dir), buttons);
  }
}

// The mouse stops answering at the sixth request of a write: the write is
// reported as failed, in one line, with exit code 1.
TEST(CtlSimFaultTest, WriteToAMouseThatStopsHalfwayFailsInOneLine) {
  CtlRunner ctl(/*simulate=*/true);
  ASSERT_EQ(ctl.Run({"assign", "4", "key", "A"}).code, 0);
  const CtlRun write = ctl.Run({"--sim-fault", "no-reply:6", "write"});
  EXPECT_EQ(write.code, 1);
  EXPECT_EQ(Lines(write.err).size(), 1u) << write.err;
  EXPECT_EQ(write.err.rfind("tk410ctl: write: the mouse stopped answering", 0), 0u) << write.err;
}

}  // namespace
}  // namespace tk410::testing
