#pragma once
// Runs a program under ptrace and kills it with SIGKILL as it enters its k-th
// system call that writes to a file (write, pwrite, writev, fsync, fdatasync,
// ftruncate, rename, unlink and their variants). The kill point is thereby
// chosen by count, not by time: the same k stops the program at the same
// place every run, and a test needs no sleep to land a kill inside work that
// takes milliseconds.
#include <string>
#include <vector>

namespace tk410::testing {

struct TracedRun {
  bool traced = false;  // false when ptrace is not available here
  int writes = 0;       // writing system calls entered (up to the kill)
  bool killed = false;
  int exit_code = -1;   // when it exited by itself
};

// Runs `program` with `args` (stdout and stderr to /dev/null). With
// `kill_at` > 0 the program is killed on entering its kill_at-th writing
// system call; with 0 it runs to its end and `writes` counts them all.
TracedRun RunKillingAtWrite(const std::string& program, const std::vector<std::string>& args,
                            int kill_at);

}  // namespace tk410::testing
