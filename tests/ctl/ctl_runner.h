#pragma once
// Runs the built tk410ctl with arguments and collects its exit code, stdout
// and stderr. Each test gives it a temporary data directory of its own.
#include <string>
#include <vector>

#include "support/temp_dir.h"

namespace tk410::testing {

struct CtlRun {
  int code = -1;
  std::string out;
  std::string err;
};

class CtlRunner {
 public:
  // --data-dir <temp>/data and, with `simulate`, --simulate wired --sim-state <temp>/mouse.state.
  explicit CtlRunner(bool simulate = false);
  CtlRun Run(const std::vector<std::string>& args) const;
  // Runs with a different data directory (a fresh one under the same temp dir).
  CtlRun RunIn(const std::string& data_name, const std::vector<std::string>& args) const;
  const TempDir& Dir() const { return dir_; }
  std::string DataDir(const std::string& data_name = "data") const;
  std::string StatePath() const;
  static std::string Binary();
  // Runs the binary with exactly these arguments.
  CtlRun RunRaw(const std::vector<std::string>& args) const;

 private:
  TempDir dir_;
  bool simulate_;
};

std::vector<std::string> Lines(const std::string& text);

}  // namespace tk410::testing
