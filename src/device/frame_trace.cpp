#include "device/frame_trace.h"

namespace tk410 {

std::string FormatTraceLine(const char* tag, const uint8_t* data, int count) {
  static const char kHex[] = "0123456789ABCDEF";
  std::string line(tag);
  if (count <= 0 || data == nullptr) return line + " -";
  line.reserve(line.size() + static_cast<size_t>(count) * 3);
  for (int i = 0; i < count; ++i) {
    line += ' ';
    line += kHex[data[i] >> 4];
    line += kHex[data[i] & 0x0F];
  }
  return line;
}

}  // namespace tk410
