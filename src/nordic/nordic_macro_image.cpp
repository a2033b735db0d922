#include "nordic/nordic_macro_image.h"

#include <algorithm>

#include "assign/key_tables.h"
#include "base/text.h"
#include "macro/macro_steps.h"
#include "nordic/nordic_key_codec.h"

namespace tk410 {

namespace {

constexpr int kDefaultStepDelay = 10;
constexpr long long kMaxStepDelay = 0xFFFF;
constexpr int kFirstSideKey = 160;  // VK_LSHIFT .. VK_RMENU use the side-key codes
constexpr int kLastSideKey = 165;

using nordic::PutLe16;

bool IsScroll(const std::wstring& text, bool* up) {
  if (Contains(text, L"Scroll Up")) {
    *up = true;
    return true;
  }
  if (Contains(text, L"Scroll Down")) {
    *up = false;
    return true;
  }
  return false;
}

}  // namespace

bool NordicStepCode(const MacroEvent& step, uint8_t* code) {
  using T = MacroEventType;
  const int v = step.value;
  const bool side = v >= kFirstSideKey && v <= kLastSideKey;
  bool up = false;
  uint8_t b0 = 0, b1 = 0;
  bool known = true;
  switch (static_cast<T>(step.type)) {
    case T::Delay:
      return false;
    case T::KeyDown:
      b0 = side ? 0x02 : 0x01;
      b1 = static_cast<uint8_t>(VirtualKeyToUsage(v));
      break;
    case T::KeyUp:
      b0 = side ? 0x82 : 0x81;
      b1 = static_cast<uint8_t>(VirtualKeyToUsage(v));
      break;
    case T::ButtonDown:
      if (IsScroll(step.desc, &up)) {
        b0 = 0x05;
        b1 = up ? 0x01 : 0xFF;
      } else {
        b0 = 0x04;
        b1 = static_cast<uint8_t>(v);
      }
      break;
    case T::ButtonUp:
      if (IsScroll(step.desc, &up)) {
        b0 = 0x85;
        b1 = 0x00;
      } else {
        b0 = 0x84;
        b1 = static_cast<uint8_t>(v);
      }
      break;
    case T::WheelStep6: b0 = 0x05; b1 = 0xFF; break;
    case T::WheelStep7: b0 = 0x05; b1 = 0x01; break;
    case T::MoveUp: b0 = 0x07; b1 = 0xFF; break;
    case T::MoveDown: b0 = 0x07; b1 = 0x01; break;
    case T::MoveLeft: b0 = 0x06; b1 = 0xFF; break;
    case T::MoveRight: b0 = 0x06; b1 = 0x01; break;
    default: known = false; break;
  }
  code[0] = b0;
  code[1] = b1;
  PutLe16(code + 2, known ? kDefaultStepDelay : 0);
  return true;
}

NordicMacroBuild BuildNordicMacroImage(const MacroRecord& macro, const RecordList<MacroEvent>& steps) {
  using Image = NordicMacroImage;
  NordicMacroBuild build;
  Image& image = build.image;
  image.bytes[Image::kPlayModeAt] = static_cast<uint8_t>(NordicPlayMode(macro));
  image.bytes[Image::kPlayTimesAt] = static_cast<uint8_t>(macro.play_times);
  PutLe16(&image.bytes[Image::kDelayTimeAt], macro.delay_time);

  size_t p = Image::kStepsAt;
  int count = 0;
  // Summed wide: the steps' values may be any int. The delay bytes carry at
  // most 65535 ms.
  long long pending = 0;
  for (const auto& step : steps) {
    uint8_t code[Image::kStepSize];
    if (!NordicStepCode(*step, code)) {
      pending += step->value;
      continue;
    }
    if (count == Image::kMaxSteps) {
      ++build.dropped_steps;  // no room: the image stops at 1024 bytes
      continue;
    }
    if (p > Image::kStepsAt) {
      PutLe16(&image.bytes[p - 2], pending > 0 ? static_cast<int>(std::min(pending, kMaxStepDelay)) : kDefaultStepDelay);
    }
    for (size_t k = 0; k < Image::kStepSize; ++k) image.bytes[p + k] = code[k];
    p += Image::kStepSize;
    ++count;
    pending = 0;
  }
  PutLe16(&image.bytes[Image::kStepCountAt], count);
  image.length = p;
  return build;
}

}  // namespace tk410
