#pragma once
// The pieces of the virtual devices' saved-state text: hexadecimal byte
// strings, bounded decimal fields, lines split into fields, and the state
// file itself.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace tk410::sim_state {

std::string ToHex(const uint8_t* data, size_t n);
// Exactly `n` bytes of hex into `out`; false on any other length or digit.
bool FromHex(const std::string& s, uint8_t* out, size_t n);
// A decimal number from lo to hi; false for anything else.
bool ParseInt(const std::string& s, int lo, int hi, int* out);
// The blank-separated fields of a line.
std::vector<std::string> Fields(const std::string& line);
// Replaces the state file whole (a failed save keeps the last state).
bool WriteFile(const std::string& path, const std::string& text);
// A saved state is a few kilobytes; larger files are not read.
constexpr size_t kMaxStateFileBytes = 16u << 20;
// The whole file; false (and `text` empty) when it is missing, not a regular
// file or larger than kMaxStateFileBytes.
bool ReadFile(const std::string& path, std::string* text);

}  // namespace tk410::sim_state
