// tk410ctl --sim-fault with the timing faults: the switch reaches the
// virtual mouse, as the frame trace of a read shows. Trace lines: "W" and
// the output report (report number 00 first), "R" and the input report
// read, "R -" for a read that timed out.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ctl/ctl_runner.h"

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

}  // namespace
}  // namespace tk410::testing
