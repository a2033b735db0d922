#pragma once
// Data layouts carried inside wired frames: the 46-byte settings block, the
// key table, the macro image constants, the unsolicited status report and
// the version feature report. Shared by the program and the virtual firmware.

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "device/wired_frame.h"

namespace tk410 {

// ------------------------------------------------------------ settings block
// Payload offsets 8..53 of commands 0x0E (reply) and 0x0F (request).
struct WiredSettingsBlock {
  static constexpr size_t kSize = 46;
  static constexpr size_t kFrameOffset = WiredFrame::kData;  // 8
  static constexpr uint8_t kLength = 0x2E;                   // offset 4 of 0x0E/0x0F
  static constexpr int kStages = 6;

  // Payload offsets of the fields (frame numbering).
  static constexpr size_t kProfileIndexAt = 8;
  static constexpr size_t kLightModeAt = 9;
  static constexpr size_t kReportRateAt = 10;
  static constexpr size_t kStageCountAt = 11;
  static constexpr size_t kActiveStageAt = 12;
  static constexpr size_t kDpiAt = 13;       // 6 x 2 bytes, little-endian
  static constexpr size_t kColourAt = 25;    // 6 x 3 bytes, bits 0-7, 8-15, 16-23
  static constexpr size_t kReservedAt = 43;  // 5 bytes
  static constexpr size_t kScrollAt = 48;
  static constexpr size_t kLiftoffAt = 49;
  static constexpr size_t kSensorAt = 50;
  static constexpr size_t kResponseAt = 51;
  static constexpr size_t kSleepAt = 52;
  static constexpr size_t kEsportsAt = 53;
  static_assert(kEsportsAt + 1 - kFrameOffset == kSize);
  static_assert(kDpiAt + 2 * kStages == kColourAt);
  static_assert(kColourAt + 3 * kStages == kReservedAt);
  static_assert(kReservedAt + 5 == kScrollAt);

  uint8_t profile_index = 0;
  uint8_t light_mode = 0;
  uint8_t report_rate = 0;
  uint8_t stage_count = 0;
  uint8_t active_stage = 0;  // 1-based
  std::array<uint16_t, kStages> dpi{};
  std::array<uint32_t, kStages> colour{};  // 24-bit
  std::array<uint8_t, 5> reserved{};
  uint8_t scroll_flag = 0;
  uint8_t liftoff_height = 0;
  uint8_t sensor_bits = 0;  // device bit layout
  uint8_t button_respondtime = 0;
  uint8_t sleep_light = 0;
  uint8_t esports_flag = 0;

  // Reads the block from a whole 64-byte payload. False (and `out` untouched)
  // when fewer than 54 bytes are given.
  static bool UnpackFrame(const uint8_t* payload, size_t length, WiredSettingsBlock* out);
  // Writes the block into payload offsets 8..53.
  void PackFrame(uint8_t* payload) const;
  // The raw 46 bytes, and back.
  std::array<uint8_t, kSize> ToBytes() const;
  static WiredSettingsBlock FromBytes(const std::array<uint8_t, kSize>& raw);

  // A blank device block: the first DPI bytes (offsets 13..15) are all 0xFF.
  static bool IsBlank(const uint8_t* payload) {
    return payload[13] == 0xFF && payload[14] == 0xFF && payload[15] == 0xFF;
  }
  // A device holding no settings: offsets 9..11 all 0.
  static bool HoldsNothing(const uint8_t* payload) {
    return payload[9] == 0 && payload[10] == 0 && payload[11] == 0;
  }
};

// ----------------------------------------------------------------- key table
struct WiredKeyTable {
  static constexpr int kSlots = 11;
  static constexpr int kCodeSize = 4;
  static constexpr size_t kFrameOffset = WiredFrame::kData;
  static constexpr size_t kSize = kSlots * kCodeSize;  // 44
  static constexpr uint8_t kLength = 0x2C;              // offset 4 of 0x08/0x09
  // The default-key form of 0x09: offsets 5, 6 = 1, 1, length 0x20, slots 0..7.
  static constexpr uint8_t kDefaultFormLength = 0x20;
  static constexpr int kDefaultFormSlots = 8;
  static constexpr int kProfiles = 6;
  static_assert(kFrameOffset + kSize <= WiredFrame::kSize);

  using Code = std::array<uint8_t, kCodeSize>;
  // The mouse's own code of each slot, sent for a key without a record.
  static const std::array<Code, kSlots>& DefaultCodes();
  // Payload offset of slot s.
  static constexpr size_t SlotOffset(int slot) { return kFrameOffset + slot * kCodeSize; }
};

// --------------------------------------------------------------- macro image
struct WiredMacroImage {
  static constexpr size_t kSize = 4224;
  static constexpr size_t kTableSize = 64;   // 32 start offsets, 16-bit LE
  static constexpr int kMaxMacros = 32;
  static constexpr size_t kEntrySize = 4;
  static constexpr size_t kChunkSize = 56;   // image bytes per 0x0D frame, at offsets 8..63
  static constexpr size_t kMaxEntries = (kSize - kTableSize) / kEntrySize;  // 1040
  static_assert(WiredFrame::kData + kChunkSize == WiredFrame::kSize);

  // Number of 0x0D chunks for an image of `length` bytes (the last one may be short).
  static constexpr size_t ChunkCount(size_t length) {
    return length / kChunkSize + (length % kChunkSize != 0 ? 1 : 0);
  }
  // Start offset of macro `i` in the table (16-bit LE at bytes 2i, 2i + 1).
  static uint16_t TableEntry(const uint8_t* image, int i) {
    return static_cast<uint16_t>(image[2 * i] | (image[2 * i + 1] << 8));
  }
  static void SetTableEntry(uint8_t* image, int i, uint16_t offset) {
    image[2 * i] = static_cast<uint8_t>(offset & 0xFF);
    image[2 * i + 1] = static_cast<uint8_t>(offset >> 8);
  }
};

// One 4-byte macro entry: bytes 0, 1 the delay after it (16-bit LE; in an XY
// movement entry bits 14 and 15 carry the leftwards and upwards signs), byte 2
// the kind (bit 7 last entry, bit 6 press, low bits the class), byte 3 the code.
struct WiredMacroEntry {
  static constexpr size_t kSize = WiredMacroImage::kEntrySize;
  static constexpr uint8_t kLastBit = 0x80;
  static constexpr uint8_t kPressBit = 0x40;
  static constexpr uint8_t kClassMask = 0x0F;
  static constexpr uint16_t kLeftBit = 0x4000;  // XY movement: leftwards
  static constexpr uint16_t kUpBit = 0x8000;    // XY movement: upwards
  static constexpr uint16_t kMaxXYDelay = 0x3FFF;

  enum Class : uint8_t {
    kNone = 0,  // the empty macro's single entry
    kModifier = 1,
    kKey = 2,
    kButton = 3,
    kWheel = 4,
    kMove = 6,
  };

  uint16_t delay = 0;
  uint8_t kind = 0;
  uint8_t code = 0;

  uint8_t EntryClass() const { return kind & kClassMask; }
  bool IsPress() const { return (kind & kPressBit) != 0; }
  bool IsLast() const { return (kind & kLastBit) != 0; }

  static WiredMacroEntry Unpack(const uint8_t* p) {
    return WiredMacroEntry{static_cast<uint16_t>(p[0] | (p[1] << 8)), p[2], p[3]};
  }
  void Pack(uint8_t* p) const {
    p[0] = static_cast<uint8_t>(delay & 0xFF);
    p[1] = static_cast<uint8_t>(delay >> 8);
    p[2] = kind;
    p[3] = code;
  }
  bool operator==(const WiredMacroEntry&) const = default;
};

// The macros an image holds, read back the way the mouse plays them: for
// each table entry that is not 0 (entry 0 also when it is 64), the entries
// from its offset up to and including the first with the last bit. A table
// offset outside the image's first `length` bytes, or a macro without a
// last entry inside them, ends the list there (the rest is unusable).
std::vector<std::vector<WiredMacroEntry>> DecodeWiredMacroImage(const uint8_t* image, size_t length);

// ---------------------------------------------------------------- reply match
// What a reply must echo of its request to be taken as its reply, besides
// the marker 0xAA at byte 0: the command code (byte 1) always, and where the
// request names a part of the mouse's memory, that name too.
//
//   command                                 echoed beyond the command code
//   0x03 firmware, 0x10 macro end           nothing
//   0x08 key read, 0x0E settings read,      the profile index (byte 7)
//   0x0F settings write, 0x21 light mode,
//   0x22 DPI stage, 0x23 report rate,
//   0x30 battery
//   0x09 key write                          offsets 5 and 6 (1, 1 for the
//                                           default-key form) and the
//                                           profile index
//   0x0D macro chunk                        the chunk's image offset (5, 6)
//
// A command not in the table is matched on its code alone. The status
// report (0xAA 0xFA) never matches: no command has the code 0xFA.
struct WiredReplyRule {
  uint8_t command = 0;
  bool offset = false;  // bytes 5 and 6
  bool index = false;   // byte 7

  static WiredReplyRule Of(uint8_t command);
  // Whether the first `length` bytes of `reply` are the reply to `request`.
  // A reply too short to hold an echoed byte is not.
  static bool Matches(const WiredFrame& request, const uint8_t* reply, size_t length);
};

// ------------------------------------------------------------- status report
// An unsolicited input report of the vendor collection; its first 21 bytes
// are read.
struct WiredStatusReport {
  static constexpr size_t kReadLength = 21;
  static constexpr size_t kMarkerAt = 0;   // 0xAA
  static constexpr size_t kKindAt = 1;     // 0xFA
  static constexpr size_t kIgnoreAt = 2;   // offsets 2, 3 both 0x38: ignore
  static constexpr size_t kTypeAt = 8;
  static constexpr size_t kValue1At = 9;
  static constexpr size_t kValue2At = 10;
  static constexpr uint8_t kMarker = 0xAA;
  static constexpr uint8_t kKind = 0xFA;
  static constexpr uint8_t kIgnoreByte = 0x38;

  enum Type : uint8_t {
    kStageAndRate = 0x10,
    kLighting = 0x11,
    kEmoji = 0x50,
    kEmojiAlt = 0x60,
    kBattery = 0xD0,
  };

  uint8_t type = 0;
  uint8_t value1 = 0;
  uint8_t value2 = 0;
  bool ignore = false;  // offsets 2 and 3 both 0x38

  // The 64-byte report as the firmware raises it.
  std::array<uint8_t, WiredFrame::kSize> Build() const;
  // False when fewer than 21 bytes are given or the first two bytes are not
  // 0xAA 0xFA.
  static bool Parse(const uint8_t* data, size_t length, WiredStatusReport* out);
};

// ---------------------------------------------------- version feature report
struct WiredVersionReport {
  static constexpr size_t kSize = 21;
  static constexpr uint8_t kReportId = 0x51;
  static constexpr size_t kReportIdAt = 0;
  static constexpr size_t kSubAt = 1;       // 0x04 in the request
  static constexpr uint8_t kSub = 0x04;
  static constexpr size_t kSelectorAt = 2;  // request: 0xAA or 0x00; reply: length L
  static constexpr uint8_t kReceiverSelector = 0xAA;
  static constexpr size_t kLengthAt = 2;
  static constexpr size_t kTextAt = 3;
  static constexpr size_t kMaxText = kSize - kTextAt;  // 18

  // The request for the caller's selector (1 and 3 ask the receiver).
  static std::array<uint8_t, kSize> Request(int selector);
  // The text of a reply of `received` bytes (report id included). L = 0
  // gives empty text; L is limited to the bytes actually received and to
  // the 18 the report holds.
  static std::string Text(const uint8_t* reply, size_t received);
};

}  // namespace tk410
