#include "device/nordic_layout.h"

#include <algorithm>
#include <cstdio>

namespace tk410 {

using nordic::GetLe16;
using nordic::PutLe16;

void nordic::PutLe16(uint8_t* at, int value) {
  at[0] = static_cast<uint8_t>(value & 0xFF);
  at[1] = static_cast<uint8_t>((value >> 8) & 0xFF);
}

int nordic::GetLe16(const uint8_t* at) { return at[0] | at[1] << 8; }

bool nordic::IsReplyTo(const uint8_t* request, const uint8_t* reply, size_t length) {
  if (request == nullptr || reply == nullptr || length != NordicFrame::kSize) return false;
  if (reply[kTargetCommandAt] != request[kTargetCommandAt] || reply[kSubAt] != request[kSubAt]) return false;
  return CommandOf(request[kTargetCommandAt]) != kCmdMacro || reply[kChunkAt] == request[kChunkAt];
}

bool nordic::IsStatusReport(const uint8_t* report, size_t length) {
  return report != nullptr && length == NordicFrame::kSize && report[kCodeAt] == kCodeStatus;
}

NordicFrame nordic::Request(int target, uint8_t command, uint8_t code, uint8_t sub,
                            std::initializer_list<uint8_t> data) {
  NordicFrame frame;
  frame[kTargetCommandAt] = static_cast<uint8_t>(target * kTargetUnit + command);
  frame[kCodeAt] = code;
  frame[kSubAt] = sub;
  size_t at = kDataAt;
  for (uint8_t b : data) {
    if (at >= NordicFrame::kSentPayload) break;
    frame[at++] = b;
  }
  return frame;
}

// ---------------------------------------------------------------- settings

uint8_t NordicSettingsBlock::EncodeFlags(int sensor_flag, int scroll_flag, int esports_flag) {
  uint8_t b = 0;
  if (sensor_flag & 8) b |= kSensor8Bit;
  if (sensor_flag & 4) b |= kSensor4Bit;
  if (sensor_flag & 16) b |= kSensor16Bit;
  if (esports_flag == 2) b |= kEsportsBit;
  if (scroll_flag == 2) b |= kScrollBit;
  return b;
}

bool NordicSettingsBlock::Unpack(const uint8_t* block, size_t length, NordicSettingsBlock* out) {
  if (block == nullptr || length < NordicFrame::kSize) return false;
  NordicSettingsBlock s;
  const uint8_t flags = block[kFlagsAt];
  s.sensor_flag = ((flags & kSensor4Bit) ? 4 : 0) + ((flags & kSensor8Bit) ? 8 : 0) +
                  ((flags & kSensor16Bit) ? 16 : 0);
  s.scroll_flag = (flags & kScrollBit) ? 2 : 1;
  s.esports_flag = (flags & kEsportsBit) ? 2 : 1;
  s.report_rate = block[kReportRateAt];
  s.dpi_flag = block[kDpiFlagAt];
  s.dpi_index = block[kDpiIndexAt];
  for (int i = 0; i < kStages; ++i) s.dpi[i] = GetLe16(block + kDpiAt + kDpiStride * i);
  s.liftoff_height = block[kLiftoffAt];
  s.button_respondtime = block[kResponseAt];
  *out = s;
  return true;
}

void NordicSettingsBlock::PackInto(uint8_t* block) const {
  block[kFlagsAt] = EncodeFlags(sensor_flag, scroll_flag, esports_flag);
  block[kReportRateAt] = static_cast<uint8_t>(report_rate);
  block[kDpiFlagAt] = kDpiFlagWritten;
  block[kDpiIndexAt] = static_cast<uint8_t>(dpi_index);
  for (int i = 0; i < kStages; ++i) {
    uint8_t* at = block + kDpiAt + kDpiStride * i;
    PutLe16(at, dpi[i]);
    PutLe16(at + 2, dpi[i]);
  }
  block[kLiftoffAt] = static_cast<uint8_t>(liftoff_height);
  block[kResponseAt] = static_cast<uint8_t>(button_respondtime);
}

// ------------------------------------------------------------------ status

bool NordicStatusBlock::Parse(const uint8_t* data, size_t length, NordicStatusBlock* out) {
  if (data == nullptr || length < kMinLength) return false;
  NordicStatusBlock s;
  s.linked = (data[kLinkAt] & kLinkBit) != 0;
  s.battery_b = data[kBatteryBAt];
  s.battery_a = data[kBatteryAAt];
  s.profile_index = data[kProfileAt];
  s.dpi_stage = data[kStageAt];
  s.report_rate = data[kRateAt];
  s.highest_rate = data[kHighestRateAt];
  *out = s;
  return true;
}

NordicFrame NordicStatusBlock::Build(uint8_t source) const {
  NordicFrame f;
  f[nordic::kTargetCommandAt] = source;
  f[nordic::kCodeAt] = nordic::kCodeStatus;
  f[nordic::kSubAt] = nordic::kSubRead;
  f[kLinkAt] = linked ? kLinkBit : 0;
  f[kBatteryBAt] = battery_b;
  f[kBatteryAAt] = battery_a;
  f[kProfileAt] = profile_index;
  f[kStageAt] = dpi_stage;
  f[kRateAt] = report_rate;
  f[kHighestRateAt] = highest_rate;
  return f;
}

// --------------------------------------------------------------- key table

int NordicKeyTable::SlotOfKeyCode(int key_code) {
  if (key_code < 1) return -1;
  int slot = key_code - 1;
  if (key_code == 6) slot = 8;
  if (key_code == 7) slot = 9;
  return slot < kSlots ? slot : -1;
}

NordicKeyTable::Area NordicKeyTable::DefaultArea() {
  // Left, right, middle, backward, forward, then DPI cycle; the rest unused.
  static const Slot kDefaults[] = {
      {0x01, 0x00, 0xF0, 0x00}, {0x01, 0x00, 0xF1, 0x00}, {0x01, 0x00, 0xF2, 0x00},
      {0x01, 0x00, 0xF3, 0x00}, {0x01, 0x00, 0xF4, 0x00}, {0x00, 0x00, 0x00, 0x00},
      {0x00, 0x00, 0x00, 0x00}, {0x07, 0x00, 0x03, 0x00}, {0x01, 0x00, 0xF8, 0x01},
      {0x01, 0x00, 0xF8, 0xFF}, {0x00, 0x00, 0x00, 0x00},
  };
  Area area{};
  for (size_t s = 0; s < std::size(kDefaults); ++s) {
    std::copy(kDefaults[s].begin(), kDefaults[s].end(), area.begin() + s * kSlotSize);
  }
  return area;
}

// ------------------------------------------------------------- macro image

std::vector<NordicFrame> NordicMacroImage::Requests(int target, uint8_t slot) const {
  const size_t l = std::min(length, kSize);
  const size_t n = l <= kChunkData ? 1 : (l + kChunkData - 1) / kChunkData;
  std::vector<NordicFrame> out;
  for (size_t i = 0; i < n; ++i) {
    NordicFrame f;
    f[nordic::kTargetCommandAt] = static_cast<uint8_t>(target * nordic::kTargetUnit + nordic::kCmdMacro);
    f[nordic::kChunkAt] = static_cast<uint8_t>(i);
    const size_t carried = i + 1 < n ? kChunkData : l - kChunkData * (n - 1);
    f[nordic::kCodeAt] = static_cast<uint8_t>(nordic::kCodeMacroBase | (carried + 2));
    f[nordic::kSubAt] = nordic::kSubBlockWrite;
    f[kSlotAt] = slot;
    // The image is zero beyond its 1024 bytes: the last chunk never reads past it.
    for (size_t k = 0; k < kChunkData; ++k) {
      const size_t from = kChunkData * i + k;
      f[kChunkDataAt + k] = from < kSize ? bytes[from] : 0;
    }
    out.push_back(f);
  }
  return out;
}

// ----------------------------------------------------------------- version

std::wstring NordicVersionReply::DottedVersion(uint8_t major, uint8_t minor) {
  char digits[16];
  std::snprintf(digits, sizeof(digits), "%x%02x", major, minor);
  std::wstring text;
  for (const char* c = digits; *c; ++c) {
    if (!text.empty()) text += L'.';
    text += static_cast<wchar_t>(*c);
  }
  return text;
}

std::wstring NordicVersionReply::Text(const NordicFrame& reply) {
  std::wstring text = DottedVersion(reply[kMajorAt], reply[kMinorAt]);
  const bool second = reply[kSecondFlagAt] || reply[kSecondFlagAt + 1] || reply[kSecondFlagAt + 2] ||
                      reply[kSecondFlagAt + 3];
  if (second) text += L"\n" + DottedVersion(reply[kSecondMajorAt], reply[kSecondMinorAt]);
  return text;
}

}  // namespace tk410
