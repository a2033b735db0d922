#include "ctl/ctl_runner.h"

#include <sys/wait.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>

namespace tk410::testing {

namespace {

std::string Quote(const std::string& arg) {
  std::string quoted = "'";
  for (char c : arg) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return quoted + "'";
}

std::string ReadAll(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

}  // namespace

CtlRunner::CtlRunner(bool simulate) : simulate_(simulate) {}

std::string CtlRunner::Binary() { return std::string(TK410_BIN_DIR) + "/tk410ctl"; }
std::string CtlRunner::DataDir(const std::string& data_name) const { return (dir_.path() / data_name).string(); }
std::string CtlRunner::StatePath() const { return (dir_.path() / "mouse.state").string(); }

CtlRun CtlRunner::Run(const std::vector<std::string>& args) const { return RunIn("data", args); }

CtlRun CtlRunner::RunIn(const std::string& data_name, const std::vector<std::string>& args) const {
  std::vector<std::string> full = {"--data-dir", DataDir(data_name)};
  if (simulate_) full.insert(full.end(), {"--simulate", "wired", "--sim-state", StatePath()});
  full.insert(full.end(), args.begin(), args.end());
  return RunRaw(full);
}

CtlRun CtlRunner::RunRaw(const std::vector<std::string>& args) const {
  const auto out_path = dir_.path() / "stdout.txt";
  const auto err_path = dir_.path() / "stderr.txt";
  std::string command = Quote(Binary());
  for (const auto& a : args) command += " " + Quote(a);
  command += " >" + Quote(out_path.string()) + " 2>" + Quote(err_path.string());
  const int status = std::system(command.c_str());
  CtlRun run;
  run.code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  run.out = ReadAll(out_path);
  run.err = ReadAll(err_path);
  return run;
}

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

}  // namespace tk410::testing
