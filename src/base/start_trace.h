#pragma once
// Time marks on the way to the first frame: each mark is one trace line
// (TK410_TRACE=2 and up) with the milliseconds since the process started and
// the processor time of the calling thread, so a slow start shows which step
// the time went to. The process start is the kernel's start time of the
// process (10 ms steps); the distances between marks are exact.

namespace tk410 {

void TraceStartStep(const char* step);

}  // namespace tk410
