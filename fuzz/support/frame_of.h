#pragma once
// A 64-byte frame holding the first bytes of a fuzz input (zeros after a
// short one).

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>

namespace tk410::fuzz {

template <typename Frame>
Frame FrameOf(const uint8_t* data, size_t size) {
  Frame f;
  std::memcpy(f.data(), data, std::min(size, Frame::kSize));
  return f;
}

}  // namespace tk410::fuzz
