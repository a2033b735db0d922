#include "rules/program_identity.h"

#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <climits>
#include <map>

#include "base/safe_file.h"
#include "rules/name_compare.h"

namespace tk410 {

namespace {

// A command line longer than this is cut; the game's name comes early.
constexpr size_t kMaxCommandLine = 256 * 1024;
// The largest environment Linux passes to a program (ARG_MAX of 2 MiB).
constexpr size_t kMaxEnvironment = 2 * 1024 * 1024;
constexpr char kSteamAppVariable[] = "SteamAppId=";
constexpr char kDeletedSuffix[] = " (deleted)";

std::vector<std::string> SplitAtZeros(const std::string& bytes) {
  std::vector<std::string> parts;
  size_t start = 0;
  while (start < bytes.size()) {
    size_t end = bytes.find('\0', start);
    if (end == std::string::npos) end = bytes.size();
    parts.push_back(bytes.substr(start, end - start));
    start = end + 1;
  }
  return parts;
}

std::string ReadLink(const std::string& path) {
  char buffer[PATH_MAX];
  const ssize_t n = ::readlink(path.c_str(), buffer, sizeof buffer - 1);
  if (n <= 0) return "";
  std::string target(buffer, static_cast<size_t>(n));
  // A program replaced on disk since it started (an update) keeps its name.
  const size_t suffix = sizeof(kDeletedSuffix) - 1;
  if (target.size() > suffix && target.compare(target.size() - suffix, suffix, kDeletedSuffix) == 0) {
    target.resize(target.size() - suffix);
  }
  return target;
}

bool IsNumber(const char* text) {
  if (*text == '\0') return false;
  for (; *text; ++text) {
    if (*text < '0' || *text > '9') return false;
  }
  return true;
}

}  // namespace

std::string PathFileName(const std::string& path) {
  const size_t cut = path.find_last_of("/\\");
  return cut == std::string::npos ? path : path.substr(cut + 1);
}

ProgramIdentity ReadProgramIdentity(const std::string& proc_root, int pid) {
  ProgramIdentity program;
  if (pid <= 0) return program;
  const std::string folder = proc_root + "/" + std::to_string(pid) + "/";
  program.exe_path = ReadLink(folder + "exe");
  std::string bytes;
  if (ReadRegularFile(folder + "cmdline", kMaxCommandLine, FileLinks::kRefuse, &bytes) == FileRead::kOk) {
    program.args = SplitAtZeros(bytes);
  }
  if (ReadRegularFile(folder + "environ", kMaxEnvironment, FileLinks::kRefuse, &bytes) == FileRead::kOk) {
    const size_t length = sizeof(kSteamAppVariable) - 1;
    for (const std::string& entry : SplitAtZeros(bytes)) {
      if (entry.compare(0, length, kSteamAppVariable) == 0) program.steam_app_id = entry.substr(length);
    }
  }
  return program;
}

std::string ProgramName(const ProgramIdentity& program) {
  for (const std::string& arg : program.args) {
    if (EndsWithExe(arg)) return PathFileName(arg);
  }
  if (!program.exe_path.empty()) return PathFileName(program.exe_path);
  return program.args.empty() ? "" : PathFileName(program.args[0]);
}

std::vector<RunningProgram> ListRunningPrograms(const std::string& proc_root, uid_t uid, int own_pid) {
  std::map<std::string, RunningProgram, NameLess> by_name;
  DIR* dir = ::opendir(proc_root.c_str());
  if (!dir) return {};
  while (const dirent* entry = ::readdir(dir)) {
    if (!IsNumber(entry->d_name)) continue;
    const int pid = std::atoi(entry->d_name);
    struct stat st {};
    if (pid == own_pid || ::stat((proc_root + "/" + entry->d_name).c_str(), &st) != 0 || st.st_uid != uid) {
      continue;
    }
    const ProgramIdentity program = ReadProgramIdentity(proc_root, pid);
    if (program.exe_path.empty()) continue;
    const std::string name = ProgramName(program);
    if (name.empty()) continue;
    auto [at, added] = by_name.try_emplace(name, RunningProgram{name, pid});
    if (!added && pid < at->second.pid) at->second.pid = pid;
  }
  ::closedir(dir);
  std::vector<RunningProgram> list;
  for (auto& [name, program] : by_name) list.push_back(program);
  return list;
}

}  // namespace tk410
