#pragma once
// The one trace facility of the program: a level and a printf-style format,
// written to stderr. Off by default; TK410_TRACE=<level> in the environment
// turns it on for that level and below (1 errors, 2 information, 3 debug).

namespace tk410 {

enum TraceLevel { kTraceError = 1, kTraceInfo = 2, kTraceDebug = 3 };

bool TraceEnabled(int level);
void Trace(int level, const char* format, ...) __attribute__((format(printf, 2, 3)));

// Overrides the environment (tests, --verbose); a negative level restores it.
void SetTraceLevel(int level);

}  // namespace tk410
