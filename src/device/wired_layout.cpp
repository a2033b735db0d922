#include "device/wired_layout.h"

#include <algorithm>

namespace tk410 {

namespace {
constexpr size_t kBlockEnd = WiredSettingsBlock::kFrameOffset + WiredSettingsBlock::kSize;
}

bool WiredSettingsBlock::UnpackFrame(const uint8_t* p, size_t length, WiredSettingsBlock* out) {
  if (p == nullptr || out == nullptr || length < kBlockEnd) return false;
  WiredSettingsBlock b;
  b.profile_index = p[kProfileIndexAt];
  b.light_mode = p[kLightModeAt];
  b.report_rate = p[kReportRateAt];
  b.stage_count = p[kStageCountAt];
  b.active_stage = p[kActiveStageAt];
  for (int i = 0; i < kStages; ++i) {
    const size_t d = kDpiAt + 2 * i;
    b.dpi[i] = static_cast<uint16_t>(p[d] | (p[d + 1] << 8));
    const size_t c = kColourAt + 3 * i;
    b.colour[i] = static_cast<uint32_t>(p[c]) | (static_cast<uint32_t>(p[c + 1]) << 8) |
                  (static_cast<uint32_t>(p[c + 2]) << 16);
  }
  std::copy(p + kReservedAt, p + kReservedAt + 5, b.reserved.begin());
  b.scroll_flag = p[kScrollAt];
  b.liftoff_height = p[kLiftoffAt];
  b.sensor_bits = p[kSensorAt];
  b.button_respondtime = p[kResponseAt];
  b.sleep_light = p[kSleepAt];
  b.esports_flag = p[kEsportsAt];
  *out = b;
  return true;
}

void WiredSettingsBlock::PackFrame(uint8_t* p) const {
  p[kProfileIndexAt] = profile_index;
  p[kLightModeAt] = light_mode;
  p[kReportRateAt] = report_rate;
  p[kStageCountAt] = stage_count;
  p[kActiveStageAt] = active_stage;
  for (int i = 0; i < kStages; ++i) {
    const size_t d = kDpiAt + 2 * i;
    p[d] = static_cast<uint8_t>(dpi[i] & 0xFF);
    p[d + 1] = static_cast<uint8_t>(dpi[i] >> 8);
    const size_t c = kColourAt + 3 * i;
    p[c] = static_cast<uint8_t>(colour[i] & 0xFF);
    p[c + 1] = static_cast<uint8_t>((colour[i] >> 8) & 0xFF);
    p[c + 2] = static_cast<uint8_t>((colour[i] >> 16) & 0xFF);
  }
  std::copy(reserved.begin(), reserved.end(), p + kReservedAt);
  p[kScrollAt] = scroll_flag;
  p[kLiftoffAt] = liftoff_height;
  p[kSensorAt] = sensor_bits;
  p[kResponseAt] = button_respondtime;
  p[kSleepAt] = sleep_light;
  p[kEsportsAt] = esports_flag;
}

std::array<uint8_t, WiredSettingsBlock::kSize> WiredSettingsBlock::ToBytes() const {
  std::array<uint8_t, WiredFrame::kSize> frame{};
  PackFrame(frame.data());
  std::array<uint8_t, kSize> raw{};
  std::copy(frame.begin() + kFrameOffset, frame.begin() + kBlockEnd, raw.begin());
  return raw;
}

WiredSettingsBlock WiredSettingsBlock::FromBytes(const std::array<uint8_t, kSize>& raw) {
  std::array<uint8_t, WiredFrame::kSize> frame{};
  std::copy(raw.begin(), raw.end(), frame.begin() + kFrameOffset);
  WiredSettingsBlock b;
  UnpackFrame(frame.data(), frame.size(), &b);
  return b;
}

const std::array<WiredKeyTable::Code, WiredKeyTable::kSlots>& WiredKeyTable::DefaultCodes() {
  static const std::array<Code, kSlots> codes = {{
      {0x20, 0x01, 0x00, 0x00},
      {0x20, 0x02, 0x00, 0x00},
      {0x20, 0x04, 0x00, 0x00},
      {0x20, 0x08, 0x00, 0x00},
      {0x20, 0x10, 0x00, 0x00},
      {0x21, 0x55, 0x00, 0x00},
      {0x21, 0x38, 0x01, 0x00},
      {0x21, 0x38, 0xFF, 0x00},
      {0x21, 0xAA, 0x00, 0x00},
      {0x21, 0x61, 0x00, 0x00},
      {0x21, 0x62, 0x00, 0x00},
  }};
  return codes;
}

WiredReplyRule WiredReplyRule::Of(uint8_t command) {
  static constexpr WiredReplyRule kRules[] = {
      {kWiredFirmwareVersion, false, false}, {kWiredKeyRead, false, true},
      {kWiredKeyWrite, true, true},          {kWiredMacroChunk, true, false},
      {kWiredSettingsRead, false, true},     {kWiredSettingsWrite, false, true},
      {kWiredMacroEnd, false, false},        {kWiredLightMode, false, true},
      {kWiredDpiStage, false, true},         {kWiredReportRate, false, true},
      {kWiredBattery, false, true},
  };
  for (const WiredReplyRule& r : kRules) {
    if (r.command == command) return r;
  }
  return WiredReplyRule{command, false, false};
}

bool WiredReplyRule::Matches(const WiredFrame& request, const uint8_t* reply, size_t length) {
  const WiredReplyRule rule = Of(request[WiredFrame::kCommand]);
  const size_t needed = rule.index    ? WiredFrame::kProfileIndex + 1
                        : rule.offset ? WiredFrame::kOffsetHigh + 1
                                      : WiredFrame::kCommand + 1;
  if (reply == nullptr || length < needed) return false;
  if (reply[WiredFrame::kMarker] != WiredFrame::kReplyMarker) return false;
  if (reply[WiredFrame::kCommand] != rule.command) return false;
  if (rule.offset && (reply[WiredFrame::kOffsetLow] != request[WiredFrame::kOffsetLow] ||
                      reply[WiredFrame::kOffsetHigh] != request[WiredFrame::kOffsetHigh])) {
    return false;
  }
  return !rule.index || reply[WiredFrame::kProfileIndex] == request[WiredFrame::kProfileIndex];
}

std::array<uint8_t, WiredFrame::kSize> WiredStatusReport::Build() const {
  std::array<uint8_t, WiredFrame::kSize> r{};
  r[kMarkerAt] = kMarker;
  r[kKindAt] = kKind;
  if (ignore) {
    r[kIgnoreAt] = kIgnoreByte;
    r[kIgnoreAt + 1] = kIgnoreByte;
  }
  r[kTypeAt] = type;
  r[kValue1At] = value1;
  r[kValue2At] = value2;
  return r;
}

bool WiredStatusReport::Parse(const uint8_t* data, size_t length, WiredStatusReport* out) {
  if (data == nullptr || out == nullptr || length < kReadLength) return false;
  if (data[kMarkerAt] != kMarker || data[kKindAt] != kKind) return false;
  out->ignore = data[kIgnoreAt] == kIgnoreByte && data[kIgnoreAt + 1] == kIgnoreByte;
  out->type = data[kTypeAt];
  out->value1 = data[kValue1At];
  out->value2 = data[kValue2At];
  return true;
}

std::array<uint8_t, WiredVersionReport::kSize> WiredVersionReport::Request(int selector) {
  std::array<uint8_t, kSize> r{};
  r[kReportIdAt] = kReportId;
  r[kSubAt] = kSub;
  r[kSelectorAt] = (selector == 1 || selector == 3) ? kReceiverSelector : 0x00;
  return r;
}

std::string WiredVersionReport::Text(const uint8_t* reply, size_t received) {
  if (reply == nullptr || received <= kTextAt) return std::string();
  size_t length = reply[kLengthAt];
  length = std::min({length, received - kTextAt, kMaxText});
  return std::string(reinterpret_cast<const char*>(reply + kTextAt), length);
}

}  // namespace tk410

namespace tk410 {

std::vector<std::vector<WiredMacroEntry>> DecodeWiredMacroImage(const uint8_t* image, size_t length) {
  std::vector<std::vector<WiredMacroEntry>> macros;
  if (image == nullptr) return macros;
  length = std::min(length, WiredMacroImage::kSize);
  if (length < WiredMacroImage::kTableSize) return macros;
  for (int i = 0; i < WiredMacroImage::kMaxMacros; ++i) {
    const size_t start = WiredMacroImage::TableEntry(image, i);
    if (start == 0) break;  // table entries without a macro are 0
    if (start < WiredMacroImage::kTableSize || start + WiredMacroEntry::kSize > length) break;
    std::vector<WiredMacroEntry> entries;
    bool ended = false;
    for (size_t at = start; at + WiredMacroEntry::kSize <= length; at += WiredMacroEntry::kSize) {
      entries.push_back(WiredMacroEntry::Unpack(image + at));
      if (entries.back().IsLast()) {
        ended = true;
        break;
      }
    }
    if (!ended) break;
    macros.push_back(std::move(entries));
  }
  return macros;
}

}  // namespace tk410
