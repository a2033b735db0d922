#pragma once
// Compares a frame trace (one line per HID transfer) with a committed
// fixture under tests/data/trace/. With TK410_RECORD_FIXTURES=1 in the
// environment the fixture is written instead, to record the frames of a
// known-good build.

#include <string>
#include <vector>

namespace tk410::testing {

// Empty when `lines` equal the fixture `name`; otherwise a description of the
// first difference (or of a missing fixture).
std::string CompareWithTraceFixture(const std::vector<std::string>& lines, const std::string& name);

}  // namespace tk410::testing
