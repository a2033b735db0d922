#pragma once
// The frame trace of one tk410ctl command: writes every trace line to the
// chosen file (or stdout) and keeps count of the wired exchanges, so the tool
// can tell a mouse that answered from one that did not.
//
// An exchange writes its request up to three times; a reply starting 0xAA
// ends it. Three requests in a row without such a reply, or requests at the
// end of the command with none after them, are an exchange the mouse left
// unanswered.
//
// Nordic exchanges (SetNordic): a request is answered by the next read that
// returns data; the same request written again at once is its retry, so an
// exchange is unanswered when no data came after its last attempt.
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
  void SetNordic(bool nordic) { nordic_ = nordic; }
  bool Flush();

  int Requests() const { return requests_; }
  int Replies() const { return replies_; }
  // Exchanges left unanswered; the last requests count when no reply followed them.
  int Unanswered() const {
    if (nordic_) return unanswered_ + (pending_ ? 1 : 0);
    return unanswered_ + (attempts_since_reply_ > 0 ? 1 : 0);
  }

 private:
  std::FILE* file_ = nullptr;
  bool owns_file_ = false;
  int requests_ = 0;
  int replies_ = 0;
  int unanswered_ = 0;
  int attempts_since_reply_ = 0;
  bool nordic_ = false;
  bool pending_ = false;      // Nordic: the last request has no reply yet
  std::string last_request_;  // Nordic: to tell a retry from the next request
  void OnNordicLine(const std::string& line);
};

}  // namespace tk410::ctl_tool
