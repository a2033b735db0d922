#include "base/trace.h"

#include <atomic>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <mutex>

namespace tk410 {

namespace {

std::atomic<int> g_override{-1};

int EnvironmentLevel() {
  static const int level = [] {
    const char* v = std::getenv("TK410_TRACE");
    if (!v || !*v) return 0;
    const int n = std::atoi(v);
    return n > 0 ? n : 2;
  }();
  return level;
}

}  // namespace

bool TraceEnabled(int level) {
  const int o = g_override.load(std::memory_order_relaxed);
  const int current = o >= 0 ? o : EnvironmentLevel();
  return level <= current;
}

void SetTraceLevel(int level) { g_override.store(level, std::memory_order_relaxed); }

void Trace(int level, const char* format, ...) {
  if (!TraceEnabled(level)) return;
  static std::mutex mutex;
  std::lock_guard<std::mutex> lock(mutex);
  std::fputs("tk410: ", stderr);
  va_list args;
  va_start(args, format);
  std::vfprintf(stderr, format, args);
  va_end(args);
  std::fputc('\n', stderr);
}

}  // namespace tk410
