#pragma once
// Requests to the running window besides "activate", on its single-instance
// socket (app/single_instance.h), one line each:
//   "profile N DATABASE"  another program made profile N the active one in
//                         the settings database at DATABASE: the window
//                         follows (its page, the mouse)
//   "rules DATABASE"      the per-program rules of DATABASE changed
// A window whose database is another file ignores them.

#include <string>

namespace tk410 {

struct InstanceRequest {
  enum Kind { kNone, kProfile, kRules };
  Kind kind = kNone;
  int profile = 0;
  std::string database;  // UTF-8 path of the settings database
};

// kNone for a line that is no such request (or names profile 0 or less).
InstanceRequest ParseInstanceRequest(const std::string& line);
std::string ProfileRequestLine(int profile, const std::string& database);
std::string RulesRequestLine(const std::string& database);

// Sends `line` (a '\n' is added) to the socket at `socket_path`. False when
// nothing listens there; waits at most a second for the running window to
// take the line.
bool SendInstanceRequest(const std::string& socket_path, const std::string& line);

}  // namespace tk410
