#pragma once
// Frame trace lines: one line per HID transfer, the tag followed by the
// bytes as two-digit upper-case hex separated by single spaces:
//   "W 00 55 0E ..."  output report written (65 bytes)
//   "R AA 0E ..."     input report read; "R -" when nothing arrived
//   "FS 51 04 ..."    feature report sent
//   "FG 51 ..."       feature report received; "FG -" when the get failed

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>

namespace tk410 {

using FrameTraceSink = std::function<void(const std::string& line)>;

// "TAG B0 B1 ..." or "TAG -" when `count` is 0 or less.
std::string FormatTraceLine(const char* tag, const uint8_t* data, int count);

}  // namespace tk410
