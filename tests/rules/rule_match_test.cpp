// Which rule names the program of a window, and which rule decides.

#include <gtest/gtest.h>

#include "rules/app_rule.h"
#include "rules/rule_match.h"

namespace tk410 {
namespace {

// A native game, a Proton game (Wine's loader running a Windows .exe, with
// Steam's app id in its environment) and a browser.
const WindowIdentity kNativeWindow{0x400001, 100, "racer", "Racer"};
const ProgramIdentity kNative{"/opt/racer/bin/racer", {"/opt/racer/bin/racer", "--fullscreen"}, ""};
const WindowIdentity kProtonWindow{0x600001, 200, "steam_app_1091500", "steam_app_1091500"};
const ProgramIdentity kProton{"/home/u/.steam/proton/files/bin/wine64-preloader",
                              {"Z:\\home\\u\\Games\\Cyberpunk2077.exe", "-skipStartScreen"},
                              "1091500"};
const WindowIdentity kBrowserWindow{0x800001, 300, "Navigator", "firefox"};
const ProgramIdentity kBrowser{"/usr/lib/firefox/firefox", {"/usr/lib/firefox/firefox"}, ""};

TEST(RuleMatch, EachKindOfRuleAgainstEachKindOfProgram) {
  struct Case {
    int type;
    std::wstring text;
    const WindowIdentity& window;
    const ProgramIdentity& program;
    bool matches;
  };
  const Case cases[] = {
      // Executable names: the executable, the first argument, an .exe argument; case aside.
      {kMatchExecutable, L"racer", kNativeWindow, kNative, true},
      {kMatchExecutable, L"RACER", kNativeWindow, kNative, true},
      {kMatchExecutable, L"rac", kNativeWindow, kNative, false},
      {kMatchExecutable, L"--fullscreen", kNativeWindow, kNative, false},
      {kMatchExecutable, L"cyberpunk2077.exe", kProtonWindow, kProton, true},
      {kMatchExecutable, L"wine64-preloader", kProtonWindow, kProton, true},
      {kMatchExecutable, L"firefox", kBrowserWindow, kBrowser, true},
      // Paths: exact, against the executable or the first argument only.
      {kMatchExecutable, L"/opt/racer/bin/racer", kNativeWindow, kNative, true},
      {kMatchExecutable, L"/opt/racer/bin/Racer", kNativeWindow, kNative, false},
      {kMatchExecutable, L"/opt/racer/racer", kNativeWindow, kNative, false},
      // Window classes: either name of WM_CLASS, case aside, whole names only.
      {kMatchWindowClass, L"Racer", kNativeWindow, kNative, true},
      {kMatchWindowClass, L"navigator", kBrowserWindow, kBrowser, true},
      {kMatchWindowClass, L"fire", kBrowserWindow, kBrowser, false},
      // Steam: the environment or the class steam_app_<id>.
      {kMatchSteamApp, L"1091500", kProtonWindow, kProton, true},
      {kMatchSteamApp, L"1091500", kProtonWindow, kNative, true},
      {kMatchSteamApp, L"1091500", kNativeWindow, kProton, true},
      {kMatchSteamApp, L"109150", kProtonWindow, kProton, false},
      {kMatchSteamApp, L"570", kNativeWindow, kNative, false},
      // The rule for other programs names none; an empty text names none.
      {kMatchOtherPrograms, L"", kNativeWindow, kNative, false},
      {kMatchExecutable, L"", kNativeWindow, ProgramIdentity{}, false},
  };
  for (const Case& c : cases) {
    AppRuleRecord rule;
    rule.match_type = c.type;
    rule.match_text = c.text;
    EXPECT_EQ(RuleMatches(rule, c.window, c.program), c.matches)
        << c.type << " " << std::string(c.text.begin(), c.text.end()) << " / " << c.window.wm_class;
  }
}

TEST(RuleMatch, SteamThenExecutableThenClassThenOtherPrograms) {
  RecordList<AppRuleRecord> rules;
  auto add = [&](int id, int type, std::wstring text, int profile) {
    auto rule = std::make_unique<AppRuleRecord>();
    *rule = AppRuleRecord{id, type, std::move(text), profile};
    rules.push_back(std::move(rule));
  };
  add(1, kMatchWindowClass, L"steam_app_1091500", 1);
  add(2, kMatchExecutable, L"Cyberpunk2077.exe", 2);
  add(3, kMatchOtherPrograms, L"", 5);
  add(4, kMatchSteamApp, L"1091500", 3);
  add(5, kMatchExecutable, L"racer", 4);
  add(6, kMatchExecutable, L"/opt/racer/bin/racer", 2);

  EXPECT_EQ(DecideProfile(rules, kProtonWindow, kProton).rule_id, 4);
  // Of two executable rules the older decides.
  EXPECT_EQ(DecideProfile(rules, kNativeWindow, kNative).profile, 4);
  EXPECT_EQ(DecideProfile(rules, kBrowserWindow, kBrowser).rule_id, 3);
  EXPECT_EQ(DecideProfile(rules, kBrowserWindow, kBrowser).profile, 5);

  rules.erase(rules.begin() + 2);  // no rule for other programs: nothing changes
  const RuleDecision none = DecideProfile(rules, kBrowserWindow, kBrowser);
  EXPECT_EQ(none.profile, 0);
  EXPECT_EQ(none.rule_id, 0);
}

TEST(RuleMatch, TextsEachKindAccepts) {
  struct Case {
    int type;
    std::wstring text;
    bool accepted;
  };
  const Case cases[] = {
      {kMatchExecutable, L"Game.exe", true},         {kMatchExecutable, L"/usr/games/foo", true},
      {kMatchExecutable, L"games/foo", false},       {kMatchExecutable, L"", false},
      {kMatchExecutable, L"a\nb", false},            {kMatchExecutable, std::wstring(256, L'a'), false},
      {kMatchExecutable, L"/" + std::wstring(300, L'a'), true},
      {kMatchWindowClass, L"steam_app_570", true},   {kMatchWindowClass, L"tab\there", false},
      {kMatchSteamApp, L"570", true},                {kMatchSteamApp, L"4294967295", true},
      {kMatchSteamApp, L"4294967296", false},        {kMatchSteamApp, L"0570", false},
      {kMatchSteamApp, L"0", false},                 {kMatchSteamApp, L"57a", false},
      {kMatchOtherPrograms, L"", true},              {kMatchOtherPrograms, L"x", false},
      {7, L"x", false},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(MatchTextProblem(c.type, c.text).empty(), c.accepted)
        << c.type << " " << std::string(c.text.begin(), c.text.end());
  }
  for (const char* name : {"other", "exe", "class", "steam"}) EXPECT_STREQ(MatchTypeName(MatchTypeOfName(name)), name);
  EXPECT_EQ(MatchTypeOfName("Exe"), -1);
  EXPECT_EQ(MatchTypeName(4), nullptr);
}

}  // namespace
}  // namespace tk410
