#include "ctl/frame_trace_log.h"

namespace tk410::ctl_tool {

FrameTraceLog::~FrameTraceLog() {
  if (owns_file_ && file_) std::fclose(file_);
}

bool FrameTraceLog::Open(const std::string& target) {
  if (target.empty()) return true;
  if (target == "-") {
    file_ = stdout;
    return true;
  }
  file_ = std::fopen(target.c_str(), "w");
  owns_file_ = file_ != nullptr;
  return file_ != nullptr;
}

void FrameTraceLog::OnLine(const std::string& line) {
  if (file_) {
    std::fputs(line.c_str(), file_);
    std::fputc('\n', file_);
  }
  if (nordic_) {
    OnNordicLine(line);
    return;
  }
  if (line.rfind("W ", 0) == 0) {
    ++requests_;
    // A request after three unanswered attempts starts the next exchange.
    if (attempts_since_reply_ == kAttemptsPerExchange) {
      ++unanswered_;
      attempts_since_reply_ = 0;
    }
    ++attempts_since_reply_;
  } else if (line.rfind("R AA", 0) == 0) {
    ++replies_;
    attempts_since_reply_ = 0;
  }
}

void FrameTraceLog::OnNordicLine(const std::string& line) {
  if (line.rfind("W ", 0) == 0) {
    ++requests_;
    if (pending_ && line != last_request_) ++unanswered_;
    pending_ = true;
    last_request_ = line;
  } else if (line.rfind("R ", 0) == 0 && line != "R -" && pending_) {
    ++replies_;
    pending_ = false;
  }
}

bool FrameTraceLog::Flush() {
  if (!file_) return true;
  return std::fflush(file_) == 0 && !std::ferror(file_);
}

}  // namespace tk410::ctl_tool
