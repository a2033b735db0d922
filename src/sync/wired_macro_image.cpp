#include "sync/wired_macro_image.h"

#include <algorithm>

#include "assign/key_tables.h"
#include "macro/macro_steps.h"

namespace tk410 {

namespace {

using Entry = WiredMacroEntry;

constexpr int kFirstModifierKey = 0xE0;  // tested on the stored virtual-key value
constexpr int kLastModifierKey = 0xE7;
constexpr int kAdjacentDelayMs = 10;
constexpr uint8_t kWheelUp = 0x01;
constexpr uint8_t kWheelDown = 0xFF;

bool IsDelay(const MacroEvent& step) { return step.type == static_cast<int>(MacroEventType::Delay); }

bool IsKnownType(const MacroEvent& step) {
  return step.type >= static_cast<int>(MacroEventType::Delay) &&
         step.type <= static_cast<int>(MacroEventType::MoveXY);
}

uint8_t Kind(uint8_t entry_class, bool press) {
  return static_cast<uint8_t>(entry_class | (press ? Entry::kPressBit : 0));
}

// ORs an accumulated delay into the entry at `at`, limited to what the
// entry's delay bytes can carry.
void OrDelay(uint8_t* image, size_t at, long pending) {
  Entry e = Entry::Unpack(image + at);
  const long limit = e.EntryClass() == Entry::kMove ? Entry::kMaxXYDelay : 0xFFFF;
  e.delay = static_cast<uint16_t>(e.delay | std::clamp<long>(pending, 0, limit));
  e.Pack(image + at);
}

void MarkLast(uint8_t* image, size_t at) { image[at + 2] |= Entry::kLastBit; }

}  // namespace

bool WiredMacroStepEntry(const MacroEvent& step, WiredMacroEntry* out) {
  Entry e;
  const int v = step.value;
  switch (static_cast<MacroEventType>(step.type)) {
    case MacroEventType::KeyDown:
    case MacroEventType::KeyUp: {
      const bool modifier = v >= kFirstModifierKey && v <= kLastModifierKey;
      e.kind = Kind(modifier ? Entry::kModifier : Entry::kKey, step.type == static_cast<int>(MacroEventType::KeyDown));
      e.code = static_cast<uint8_t>(VirtualKeyToUsage(v));
      break;
    }
    case MacroEventType::ButtonDown:
    case MacroEventType::ButtonUp: {
      const WheelStep wheel = WheelStepOf(step);
      if (wheel != WheelStep::None) {
        e.kind = Kind(Entry::kWheel, true);
        e.code = wheel == WheelStep::Up ? kWheelUp : kWheelDown;
      } else {
        e.kind = Kind(Entry::kButton, step.type == static_cast<int>(MacroEventType::ButtonDown));
        e.code = static_cast<uint8_t>(v & 0xFF);
      }
      break;
    }
    case MacroEventType::WheelStep6:
    case MacroEventType::WheelStep7:
      e.kind = Kind(Entry::kWheel, true);
      e.code = step.type == static_cast<int>(MacroEventType::WheelStep6) ? kWheelUp : kWheelDown;
      break;
    case MacroEventType::MoveUp:
    case MacroEventType::MoveDown:
    case MacroEventType::MoveLeft:
    case MacroEventType::MoveRight:
      e.kind = Kind(Entry::kMove, true);
      e.code = static_cast<uint8_t>(v & 0xFF);
      break;
    case MacroEventType::MoveXY:
      // High nibble: horizontal distance (bits 0-3), low nibble: vertical
      // (bits 8-11); the signs (bits 7 and 15) go to bits 14 and 15 of the delay.
      e.kind = Kind(Entry::kMove, true);
      e.code = static_cast<uint8_t>(((v & 0x0F) << 4) | ((v >> 8) & 0x0F));
      if (v & 0x80) e.delay |= Entry::kLeftBit;
      if (v & 0x8000) e.delay |= Entry::kUpBit;
      break;
    default:
      return false;  // delay steps and unknown types make no entry
  }
  *out = e;
  return true;
}

size_t WiredMacroEntryCount(const std::vector<MacroEvent>& steps) {
  const auto n = std::count_if(steps.begin(), steps.end(),
                               [](const MacroEvent& s) { return IsKnownType(s) && !IsDelay(s); });
  return std::max<size_t>(1, static_cast<size_t>(n));
}

WiredMacroImageResult BuildWiredMacroImage(const std::vector<std::vector<MacroEvent>>& macros) {
  WiredMacroImageResult r;
  r.macros_given = static_cast<int>(macros.size());
  uint8_t* image = r.image.data();
  size_t pos = WiredMacroImage::kTableSize;

  for (const auto& all_steps : macros) {
    if (r.macros_packed == WiredMacroImage::kMaxMacros) {
      r.status = WiredMacroImageStatus::kTooManyMacros;
      break;
    }
    std::vector<MacroEvent> steps;
    std::copy_if(all_steps.begin(), all_steps.end(), std::back_inserter(steps), IsKnownType);
    if (pos + WiredMacroEntryCount(steps) * Entry::kSize > WiredMacroImage::kSize) {
      r.status = WiredMacroImageStatus::kImageFull;
      break;
    }
    WiredMacroImage::SetTableEntry(image, r.macros_packed, static_cast<uint16_t>(pos));
    ++r.macros_packed;

    const bool has_entry = std::any_of(steps.begin(), steps.end(), [](const MacroEvent& s) { return !IsDelay(s); });
    if (!has_entry) {  // empty, or delays only
      Entry{0, Entry::kLastBit, 0}.Pack(image + pos);
      pos += Entry::kSize;
      continue;
    }

    long pending = 1;
    for (size_t k = 0; k < steps.size(); ++k) {
      const MacroEvent& step = steps[k];
      const bool last = k + 1 == steps.size();
      if (IsDelay(step)) {
        pending += step.value;
        if (last) {  // the macro has an entry of its own before pos
          OrDelay(image, pos - Entry::kSize, pending);
          MarkLast(image, pos - Entry::kSize);
        }
        continue;
      }
      if (pos > WiredMacroImage::kTableSize) {
        if (pending <= 0) pending = kAdjacentDelayMs;
        OrDelay(image, pos - Entry::kSize, pending);
      }
      Entry e;
      WiredMacroStepEntry(step, &e);
      if (last) e.kind |= Entry::kLastBit;
      e.Pack(image + pos);
      pos += Entry::kSize;
      pending = 0;
    }
  }
  r.length = pos;
  return r;
}

}  // namespace tk410
