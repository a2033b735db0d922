#include "ctl/syscall_killer.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/ptrace.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>

namespace tk410::testing {

namespace {

bool IsWritingCall(unsigned long long nr) {
  switch (nr) {
    case SYS_write:
    case SYS_pwrite64:
    case SYS_writev:
    case SYS_pwritev:
    case SYS_pwritev2:
    case SYS_fsync:
    case SYS_fdatasync:
    case SYS_ftruncate:
    case SYS_unlinkat:
    case SYS_renameat:
    case SYS_renameat2:
#ifdef SYS_unlink
    case SYS_unlink:
#endif
#ifdef SYS_rename
    case SYS_rename:
#endif
      return true;
    default:
      return false;
  }
}

}  // namespace

TracedRun RunKillingAtWrite(const std::string& program, const std::vector<std::string>& args,
                            int kill_at) {
  TracedRun run;
  std::vector<char*> argv;
  argv.push_back(const_cast<char*>(program.c_str()));
  for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
  argv.push_back(nullptr);

  // The environment, but LeakSanitizer off: it stops the world with ptrace
  // at exit, which a traced process cannot, and would fail every sanitized
  // run. Built before the fork; the child only calls async-signal-safe code.
  const std::string kAsanOptions = "ASAN_OPTIONS=";
  std::vector<std::string> environment;
  std::string asan_options = kAsanOptions;
  for (char** entry = environ; *entry; ++entry) {
    const std::string text = *entry;
    if (text.rfind(kAsanOptions, 0) == 0) {
      asan_options = text + ":";
    } else {
      environment.push_back(text);
    }
  }
  environment.push_back(asan_options + "detect_leaks=0");
  std::vector<char*> envp;
  for (std::string& e : environment) envp.push_back(e.data());
  envp.push_back(nullptr);

  const pid_t child = fork();
  if (child < 0) return run;
  if (child == 0) {
    const int null = open("/dev/null", O_WRONLY);
    dup2(null, 1);
    dup2(null, 2);
    if (ptrace(PTRACE_TRACEME, 0, nullptr, nullptr) != 0) _exit(126);
    raise(SIGSTOP);
    execve(program.c_str(), argv.data(), envp.data());
    _exit(127);
  }

  int status = 0;
  if (waitpid(child, &status, 0) != child || !WIFSTOPPED(status)) return run;
  const long options = PTRACE_O_TRACESYSGOOD | PTRACE_O_EXITKILL | PTRACE_O_TRACECLONE |
                       PTRACE_O_TRACEFORK | PTRACE_O_TRACEVFORK | PTRACE_O_TRACEEXEC;
  if (ptrace(PTRACE_SETOPTIONS, child, nullptr, reinterpret_cast<void*>(options)) != 0) {
    kill(child, SIGKILL);
    waitpid(child, &status, 0);
    return run;
  }
  run.traced = true;
  ptrace(PTRACE_SYSCALL, child, nullptr, nullptr);

  // Every thread and child of the program is traced; the loop ends when all
  // of them are gone.
  for (;;) {
    const pid_t tid = waitpid(-1, &status, __WALL);
    if (tid < 0) {
      if (errno == EINTR) continue;
      break;
    }
    if (WIFEXITED(status) || WIFSIGNALED(status)) {
      if (tid == child && WIFEXITED(status)) run.exit_code = WEXITSTATUS(status);
      continue;
    }
    if (!WIFSTOPPED(status)) continue;
    const int signal = WSTOPSIG(status);
    int inject = 0;
    if (signal == (SIGTRAP | 0x80)) {
      __ptrace_syscall_info info{};
      if (ptrace(PTRACE_GET_SYSCALL_INFO, tid, reinterpret_cast<void*>(sizeof info), &info) > 0 &&
          info.op == PTRACE_SYSCALL_INFO_ENTRY && IsWritingCall(info.entry.nr) && !run.killed) {
        ++run.writes;
        if (run.writes == kill_at) {
          kill(child, SIGKILL);
          run.killed = true;
        }
      }
    } else if (signal != SIGTRAP && signal != SIGSTOP) {
      // A signal meant for the program (event stops and the stop of a new
      // thread are the tracer's own).
      inject = signal;
    }
    ptrace(PTRACE_SYSCALL, tid, nullptr, reinterpret_cast<void*>(static_cast<long>(inject)));
  }
  return run;
}

}  // namespace tk410::testing
