#pragma once
// The frame trace of one tk410ctl command: writes every trace line to the
// chosen file (or stdout) and keeps count of the wired exchanges, so the tool
// can tell a mouse that answered from one that did not.
//
// An exchange writes its request up to three times; a reply starting 0xAA
// ends it. Three requests in a row without such a reply, or requests at the
// end of the command with none after them, are an exchange the mouse left
// unanswered.
#include <cstdio>
#include <string>

namespace tk410::ctl_tool {

class FrameTraceLog {
 public:
  static constexpr int kAttemptsPerExchange = 3;

  FrameTraceLog() = default;
  ~FrameTraceLog();
  FrameTraceLog(const FrameTraceLog&) = delete;
  FrameTraceLog& operator=(const FrameTraceLog&) = delete;

  // "-" writes to stdout, any other text names a file (replaced); empty
  // counts without writing. False when the file cannot be created.
  bool Open(const std::string& target);
  void OnLine(const std::string& line);
  bool Flush();

  int Requests() const { return requests_; }
  int Replies() const { return replies_; }
  // Exchanges left unanswered; the last requests count when no reply followed them.
  int Unanswered() const { return unanswered_ + (attempts_since_reply_ > 0 ? 1 : 0); }

 private:
  std::FILE* file_ = nullptr;
  bool owns_file_ = false;
  int requests_ = 0;
  int replies_ = 0;
  int unanswered_ = 0;
  int attempts_since_reply_ = 0;
};

}  // namespace tk410::ctl_tool
