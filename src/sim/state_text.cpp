#include "sim/state_text.h"

#include <fstream>
#include <sstream>

#include "base/atomic_file.h"
#include "base/safe_file.h"

namespace tk410::sim_state {

namespace {

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

}  // namespace

std::string ToHex(const uint8_t* data, size_t n) {
  static const char kHex[] = "0123456789ABCDEF";
  std::string s;
  s.reserve(n * 2);
  for (size_t i = 0; i < n; ++i) {
    s += kHex[data[i] >> 4];
    s += kHex[data[i] & 0xF];
  }
  return s;
}

bool FromHex(const std::string& s, uint8_t* out, size_t n) {
  if (s.size() != n * 2) return false;
  for (size_t i = 0; i < n; ++i) {
    const int hi = HexDigit(s[2 * i]);
    const int lo = HexDigit(s[2 * i + 1]);
    if (hi < 0 || lo < 0) return false;
    out[i] = static_cast<uint8_t>(hi << 4 | lo);
  }
  return true;
}

bool ParseInt(const std::string& s, int lo, int hi, int* out) {
  if (s.empty() || s.size() > 9) return false;
  int v = 0;
  for (char c : s) {
    if (c < '0' || c > '9') return false;
    v = v * 10 + (c - '0');
  }
  if (v < lo || v > hi) return false;
  *out = v;
  return true;
}

std::vector<std::string> Fields(const std::string& line) {
  std::istringstream in(line);
  std::vector<std::string> f;
  for (std::string w; in >> w;) f.push_back(w);
  return f;
}

bool WriteFile(const std::string& path, const std::string& text) {
  return WriteFileAtomically(path, text);
}

bool ReadFile(const std::string& path, std::string* text) {
  // The path is named on the command line by the user, who may name a link.
  return ReadRegularFile(path, kMaxStateFileBytes, FileLinks::kFollow, text) == FileRead::kOk;
}

}  // namespace tk410::sim_state
