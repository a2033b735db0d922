// What is read of the process behind a window, on a /proc tree of the test's
// own: the executable, the arguments, the Steam app id; the program's name;
// the list of running programs; the rule "add the program in front" makes.

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>

#include "rules/app_rule.h"
#include "rules/program_identity.h"
#include "rules/rule_for_window.h"
#include "support/fake_proc.h"

namespace tk410 {
namespace {

using testing::FakeProc;
std::string Zeros(std::initializer_list<std::string> parts) { return FakeProc::Zeros(parts); }

TEST(ProgramIdentity, ExecutableArgumentsAndSteamAppId) {
  FakeProc proc;
  proc.Add(10, "/usr/games/racer", Zeros({"/usr/games/racer", "--level", "3"}), Zeros({"HOME=/h", "LANG=C"}));
  proc.Add(11, "/p/wine64-preloader (deleted)", Zeros({"C:\\Games\\Shooter\\Shooter.exe", "-dx12"}),
           Zeros({"WINEPREFIX=/p", "SteamAppId=1091500", "SteamGameId=1091500"}));
  proc.Add(12, "", "");  // another user's or a vanished process: nothing readable

  const ProgramIdentity racer = ReadProgramIdentity(proc.Root(), 10);
  EXPECT_EQ(racer.exe_path, "/usr/games/racer");
  EXPECT_EQ(racer.args, (std::vector<std::string>{"/usr/games/racer", "--level", "3"}));
  EXPECT_EQ(racer.steam_app_id, "");
  EXPECT_EQ(ProgramName(racer), "racer");

  // A program replaced on disk keeps its name; Wine's game is named by its .exe.
  const ProgramIdentity shooter = ReadProgramIdentity(proc.Root(), 11);
  EXPECT_EQ(shooter.exe_path, "/p/wine64-preloader");
  EXPECT_EQ(shooter.steam_app_id, "1091500");
  EXPECT_EQ(ProgramName(shooter), "Shooter.exe");

  for (int pid : {12, 13, 0, -1}) {
    const ProgramIdentity none = ReadProgramIdentity(proc.Root(), pid);
    EXPECT_TRUE(none.exe_path.empty() && none.args.empty() && none.steam_app_id.empty()) << pid;
    EXPECT_EQ(ProgramName(none), "") << pid;
  }
  EXPECT_EQ(PathFileName("relative"), "relative");
}

TEST(ProgramIdentity, RunningProgramsOnePerNameSortedWithoutOwnAndKernelThreads) {
  FakeProc proc;
  proc.Add(40, "/usr/bin/zsh", Zeros({"-zsh"}));
  proc.Add(41, "/usr/bin/bash", Zeros({"bash"}));
  proc.Add(30, "/usr/bin/bash", Zeros({"bash"}));
  proc.Add(50, "/w/wine-preloader", Zeros({"C:\\x\\Game.exe"}));
  proc.Add(2, "", "");  // a kernel thread has no executable
  proc.Add(60, "/opt/tk410/tk410", Zeros({"tk410"}));

  const std::vector<RunningProgram> list = ListRunningPrograms(proc.Root(), ::getuid(), 60);
  std::vector<std::string> shown;
  for (const RunningProgram& p : list) shown.push_back(p.name + "@" + std::to_string(p.pid));
  EXPECT_EQ(shown, (std::vector<std::string>{"bash@30", "Game.exe@50", "zsh@40"}));
  EXPECT_TRUE(ListRunningPrograms(proc.Root(), ::getuid() + 1, 0).empty());
  EXPECT_TRUE(ListRunningPrograms(proc.Root() + "/missing", ::getuid(), 0).empty());
}

TEST(ProgramIdentity, RuleForTheWindowInFront) {
  struct Case {
    WindowIdentity window;
    ProgramIdentity program;
    int type;
    std::wstring text;
  };
  const Case cases[] = {
      // Steam's id first, from the environment or the class.
      {{1, 5, "x", "X"}, {"/w/wine", {"C:\\G.exe"}, "570"}, kMatchSteamApp, L"570"},
      {{1, 5, "steam_app_730", "steam_app_730"}, {"/w/wine", {"C:\\G.exe"}, ""}, kMatchSteamApp, L"730"},
      {{1, 5, "steam_app_x", "Steam_App_x"}, {"/usr/bin/g", {"g"}, ""}, kMatchExecutable, L"g"},
      // Then the program's name, then its class.
      {{1, 5, "racer", "Racer"}, {"/usr/games/racer", {"racer"}, ""}, kMatchExecutable, L"racer"},
      {{1, 0, "racer", "Racer"}, {}, kMatchWindowClass, L"Racer"},
      {{1, 0, "", ""}, {}, -1, L""},
  };
  for (const Case& c : cases) {
    const AppRuleRecord rule = RuleForWindow(c.window, c.program);
    EXPECT_EQ(rule.match_type, c.type) << c.window.wm_class;
    EXPECT_EQ(rule.match_text, c.text) << c.window.wm_class;
  }
}

}  // namespace
}  // namespace tk410
