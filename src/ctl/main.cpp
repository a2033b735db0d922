// tk410ctl: the command line of the TEVO TK410 configurator, on the same
// settings database, device manager and window routines as the GUI.

#include <cstdio>
#include <string>
#include <vector>

#include "ctl/ctl_options.h"
#include "ctl/ctl_session.h"
#include "ctl/commands.h"

namespace tk410::ctl_tool {
namespace {

int Finish(const Outcome& outcome) {
  std::fflush(stdout);
  if (!outcome.ok()) std::fprintf(stderr, "tk410ctl: %s\n", outcome.message.c_str());
  return outcome.code;
}

Outcome RunCommand(Session& session, const CtlOptions& options) {
  const std::string& c = options.command;
  const Args& a = options.args;
  if (c == "devices") return DevicesCommand(session, a);
  if (c == "status") return StatusCommand(session, a);
  if (c == "read") return ReadCommand(session, a);
  if (c == "write") return WriteCommand(session, a);
  if (c == "restore") return RestoreCommand(session, a);
  if (c == "profile") return ProfileCommand(session, a);
  if (c == "get") return GetCommand(session, a);
  if (c == "set") return SetCommand(session, a);
  if (c == "assign") return AssignCommand(session, a);
  if (c == "macro") return MacroCommand(session, a);
  if (c == "rule") return RuleCommand(session, a);
  if (c == "watch") return WatchCommand(session, a);
  return Outcome::Fail(kExitUsage, "unknown command '" + c + "' (see tk410ctl --help)");
}

int Main(int argc, char** argv) {
  CtlOptions options;
  std::string error;
  if (!ParseOptions(std::vector<std::string>(argv + 1, argv + argc), &options, &error)) {
    return Finish(Outcome::Fail(kExitUsage, error + " (see tk410ctl --help)"));
  }
  if (options.help) {
    std::fputs(UsageText(), stdout);
    return kExitOk;
  }
  // The rule text needs only the catalogue: no data folder is created for it.
  if (options.command == "udev-rules") return Finish(UdevRulesCommand(options.args));

  if (!options.rule_matches.empty() && options.command != "rule") {
    return Finish(Outcome::Fail(kExitUsage, "--exe, --class, --steam and --other belong to rule add"));
  }
  Session session(options);
  Outcome outcome = session.OpenStore();
  if (outcome.ok()) outcome = RunCommand(session, options);
  Outcome closed = session.Close();
  if (outcome.ok() && !closed.ok()) outcome = closed;
  return Finish(outcome);
}

}  // namespace
}  // namespace tk410::ctl_tool

int main(int argc, char** argv) { return tk410::ctl_tool::Main(argc, argv); }
