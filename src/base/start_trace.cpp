#include "base/start_trace.h"

#include <time.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "base/trace.h"

namespace tk410 {

namespace {

uint64_t BootTimeUs() {
  timespec ts{};
  clock_gettime(CLOCK_BOOTTIME, &ts);
  return static_cast<uint64_t>(ts.tv_sec) * 1000000u + static_cast<uint64_t>(ts.tv_nsec) / 1000u;
}

// The process's start on the boot-time clock, from /proc/self/stat (field 22,
// clock ticks after boot). 0 when it cannot be read.
uint64_t ProcessStartUs() {
  std::FILE* f = std::fopen("/proc/self/stat", "r");
  if (!f) return 0;
  char line[1024] = {};
  const size_t n = std::fread(line, 1, sizeof(line) - 1, f);
  std::fclose(f);
  line[n] = 0;
  // The command name (field 2) may hold spaces: count fields after its ')'.
  const char* p = std::strrchr(line, ')');
  if (!p) return 0;
  for (int field = 2; field < 22 && p; ++field) p = std::strchr(p + 1, ' ');
  if (!p) return 0;
  const unsigned long long ticks = std::strtoull(p + 1, nullptr, 10);
  const long hz = sysconf(_SC_CLK_TCK);
  return hz > 0 ? ticks * 1000000u / static_cast<uint64_t>(hz) : 0;
}

}  // namespace

void TraceStartStep(const char* step) {
  if (!TraceEnabled(kTraceInfo)) return;
  static const uint64_t start_us = ProcessStartUs();
  const uint64_t now = BootTimeUs();
  const double ms = start_us != 0 && now >= start_us ? static_cast<double>(now - start_us) / 1000.0 : -1.0;
  // The calling thread's own processor time: on a busy machine the wall
  // clock also counts the time other programs had the processor.
  timespec cpu{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &cpu);
  const double cpu_ms = static_cast<double>(cpu.tv_sec) * 1000.0 + static_cast<double>(cpu.tv_nsec) / 1e6;
  Trace(kTraceInfo, "start +%.1f ms (thread cpu %.1f ms): %s", ms, cpu_ms, step);
}

}  // namespace tk410
