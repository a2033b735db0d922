#pragma once
// Starting and ending the helper programs of tests (X servers, window
// managers, X clients): searched on PATH, stdin and stderr on /dev/null.

#include <sys/types.h>

#include <string>
#include <vector>

namespace tk410::testing {

// Starts `args`; stdout goes to `out_fd` (or /dev/null when it is -1);
// `close_fd` is closed in the child. The child's id, or -1.
pid_t SpawnChild(const std::vector<std::string>& args, int out_fd = -1, int close_fd = -1);
// Waits for the child to end: its exit code, -1 when it did not exit normally.
int WaitChild(pid_t pid);
// Sends SIGTERM and waits for the child (nothing for an id of 0 or less).
void StopChild(pid_t pid);

}  // namespace tk410::testing
