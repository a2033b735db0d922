#pragma once
// What a per-program rule names: the kinds of match, their names on the
// command line and in the rules file, and which texts each kind accepts.
//
// A rule says "while the window in front belongs to this program, the mouse
// uses profile N". The program is named by its executable (a file name, or an
// absolute path), by its window class (WM_CLASS), or by its Steam app id; the
// one rule of kind "other" gives the profile for every other program (none:
// the profile stays as it is).

#include <string>

namespace tk410 {

enum AppMatchType : int {
  kMatchOtherPrograms = 0,
  kMatchExecutable = 1,
  kMatchWindowClass = 2,
  kMatchSteamApp = 3,
};

// "other", "exe", "class", "steam"; nullptr for a type that is none of them.
const char* MatchTypeName(int type);
// The type of one of those names; -1 for any other text.
int MatchTypeOfName(const std::string& name);

// Why `text` cannot be stored as a match of `type`: empty when it can. An
// executable or class is 1 to 255 characters without control characters
// (a path up to 4095); a Steam app id is a decimal number from 1 to
// 4294967295 without leading zeros; "other" takes no text.
std::string MatchTextProblem(int type, const std::wstring& text);

}  // namespace tk410
