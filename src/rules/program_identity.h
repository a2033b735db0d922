#pragma once
// What /proc tells of the process behind a window: the executable it runs,
// its arguments and the Steam app id it was started for. A game under
// Proton runs in Wine's loader, so its executable is the loader and its
// arguments name the game's ".exe".

#include <sys/types.h>

#include <string>
#include <vector>

namespace tk410 {

struct ProgramIdentity {
  std::string exe_path;            // target of /proc/PID/exe; empty when unreadable
  std::vector<std::string> args;   // /proc/PID/cmdline split at its zero bytes
  std::string steam_app_id;        // SteamAppId of /proc/PID/environ; empty when unset
};

// Reads the process `pid` under `proc_root` (normally "/proc"). What cannot
// be read (another user's process, a process gone) stays empty.
ProgramIdentity ReadProgramIdentity(const std::string& proc_root, int pid);

// The name a rule for this program uses: the ".exe" its arguments name (a
// Windows program under Wine), else the file name of its executable, else of
// its first argument. Empty when none is known.
std::string ProgramName(const ProgramIdentity& program);

// The last part of a Unix or Windows path ("C:\\Games\\Doom.exe" -> "Doom.exe").
std::string PathFileName(const std::string& path);

struct RunningProgram {
  std::string name;  // ProgramName
  int pid = 0;
};

// The programs the user `uid` runs, one entry per name (the lowest process
// id), sorted by name without regard to case; `own_pid` (this program) and
// processes without an executable (kernel threads) are left out.
std::vector<RunningProgram> ListRunningPrograms(const std::string& proc_root, uid_t uid, int own_pid);

}  // namespace tk410
