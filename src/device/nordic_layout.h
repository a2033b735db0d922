#pragma once
// Data layouts carried inside Nordic frames: the request header, the
// settings block of command 4, the status block of command 1 (also the
// unsolicited report), the key table of command 3, the macro image sent with
// command 7 and the version reply of command 0. Shared by the program and the
// virtual firmware, so both sides read the same offsets.

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "device/nordic_frame.h"

namespace tk410 {

// ------------------------------------------------------------------- header
namespace nordic {

// Payload offsets of the header.
constexpr size_t kTargetCommandAt = 0;  // target * 64 + command
constexpr size_t kChunkAt = 1;
constexpr size_t kCodeAt = 2;
constexpr size_t kSubAt = 3;
constexpr size_t kDataAt = 4;

// Command numbers.
constexpr uint8_t kCmdVersion = 0;
constexpr uint8_t kCmdStatus = 1;
constexpr uint8_t kCmdProfile = 2;
constexpr uint8_t kCmdKeyTable = 3;
constexpr uint8_t kCmdSettings = 4;
constexpr uint8_t kCmdMacro = 7;
constexpr uint8_t kCmdRestore = 9;
constexpr uint8_t kCmdCommit = 10;

// Request and reply codes (byte 2).
constexpr uint8_t kCodeRead = 0x81;      // also the plain acknowledgement
constexpr uint8_t kCodeAction = 0x82;    // also the action acknowledgement
constexpr uint8_t kCodeSettings = 0xBB;  // settings-block write / reply
constexpr uint8_t kCodeKeyTable = 0xA5;  // key-table write / reply
constexpr uint8_t kCodeVersion = 0x9A;
constexpr uint8_t kCodeStatus = 0x8C;
constexpr uint8_t kCodeMacroBase = 0x80;  // OR (length + 2)

// Sub-functions (byte 3).
constexpr uint8_t kSubVersion = 0x00;     // command 0
constexpr uint8_t kSubRead = 0x01;
constexpr uint8_t kSubBlockWrite = 0x02;
constexpr uint8_t kSubReportRate = 0x04;  // command 4: the report rate alone
constexpr uint8_t kSubButtons = 0x02;     // command 9: restore buttons
constexpr uint8_t kSubLighting = 0x04;    // command 9: restore the lighting
constexpr uint8_t kSubFactory = 0xFF;     // command 9: factory reset
constexpr uint8_t kAllButtons = 0xFF;

constexpr int kTargetDevice = 0;    // the attached device (mouse on a cable, or the receiver)
constexpr int kTargetBehind = 1;    // the mouse behind the receiver
constexpr uint8_t kTargetUnit = 64;

inline uint8_t TargetOf(uint8_t byte0) { return byte0 / kTargetUnit; }
inline uint8_t CommandOf(uint8_t byte0) { return byte0 % kTargetUnit; }

// 16-bit little-endian values inside payloads and images.
void PutLe16(uint8_t* at, int value);
int GetLe16(const uint8_t* at);

// Whether the `length` bytes of `reply` are the reply to `request` (both
// payloads): exactly 64 bytes that repeat the request's target and command
// (byte 0) and sub-function (byte 3), and for a macro transfer its chunk
// number (byte 1). The reply code (byte 2) is the caller's to judge.
bool IsReplyTo(const uint8_t* request, const uint8_t* reply, size_t length);
// An unsolicited status report (or the reply of command 1): 64 bytes with
// the code 0x8C.
bool IsStatusReport(const uint8_t* report, size_t length);

// A request: byte 0 target*64 + command, then chunk, code, sub-function and
// data from byte 4; everything else 0.
NordicFrame Request(int target, uint8_t command, uint8_t code, uint8_t sub,
                    std::initializer_list<uint8_t> data = {});

}  // namespace nordic

// ------------------------------------------------------------ settings block
// Command 4: the same 64-byte layout in the read reply and the write request.
// Only the managed bytes (4..31, 50, 61) are taken from the settings; bytes
// 32..49, 51..60 and 62 belong to the device and are sent back as read.
struct NordicSettingsBlock {
  static constexpr int kStages = 6;
  static constexpr size_t kFlagsAt = 4;
  static constexpr size_t kReportRateAt = 5;
  static constexpr size_t kDpiFlagAt = 6;
  static constexpr size_t kDpiIndexAt = 7;
  static constexpr size_t kDpiAt = 8;  // 4 bytes per stage: the value twice, little-endian
  static constexpr size_t kDpiStride = 4;
  static constexpr size_t kLiftoffAt = 50;
  static constexpr size_t kResponseAt = 61;
  static constexpr uint8_t kDpiFlagWritten = 0x1F;
  static_assert(kDpiAt + kDpiStride * kStages == 32);

  // Byte 4 bits.
  static constexpr uint8_t kSensor8Bit = 0x01;   // sensor_flag 8
  static constexpr uint8_t kSensor4Bit = 0x10;   // sensor_flag 4
  static constexpr uint8_t kSensor16Bit = 0x20;  // sensor_flag 16
  static constexpr uint8_t kEsportsBit = 0x40;   // e-sports_flag 2
  static constexpr uint8_t kScrollBit = 0x80;    // scroll_flag 2

  // The settings as the database keeps them (decimal values).
  int sensor_flag = 0;
  int scroll_flag = 1;
  int esports_flag = 1;
  int report_rate = 0;
  int dpi_flag = 0;
  int dpi_index = 0;
  std::array<int, kStages> dpi{};
  int liftoff_height = 0;
  int button_respondtime = 0;

  static uint8_t EncodeFlags(int sensor_flag, int scroll_flag, int esports_flag);
  // Reads the managed bytes of a 64-byte block. False (and `out` untouched)
  // when fewer than 64 bytes are given.
  static bool Unpack(const uint8_t* block, size_t length, NordicSettingsBlock* out);
  // Writes the managed bytes over `block` (64 bytes): byte 6 is always 0x1F,
  // the device's own bytes are left as they are.
  void PackInto(uint8_t* block) const;
};

// -------------------------------------------------------------- status block
// Reply of command 1 (code 0x8C) and the unsolicited report.
struct NordicStatusBlock {
  static constexpr size_t kLinkAt = 4;
  static constexpr uint8_t kLinkBit = 0x08;
  static constexpr size_t kBatteryBAt = 5;
  static constexpr size_t kBatteryAAt = 6;
  static constexpr size_t kProfileAt = 7;
  static constexpr size_t kStageAt = 8;
  static constexpr size_t kRateAt = 9;
  static constexpr size_t kHighestRateAt = 10;
  static constexpr size_t kMinLength = kHighestRateAt + 1;

  bool linked = false;
  uint8_t battery_b = 0;
  uint8_t battery_a = 0;
  uint8_t profile_index = 0;  // 0-based
  uint8_t dpi_stage = 0;      // 0-based
  uint8_t report_rate = 0;
  uint8_t highest_rate = 0;

  // False (and `out` untouched) when the data is too short.
  static bool Parse(const uint8_t* data, size_t length, NordicStatusBlock* out);
  // A reply or report: byte 0 `source`, byte 2 0x8C, byte 3 0x01, the fields.
  NordicFrame Build(uint8_t source) const;
};

// ----------------------------------------------------------------- key table
// Command 3: 15 slots of 4 bytes from byte 4; byte 63 is the check byte on the
// wire, so slot 14 carries only three bytes.
struct NordicKeyTable {
  static constexpr size_t kSlotsAt = 4;
  static constexpr int kSlots = 15;
  static constexpr size_t kSlotSize = 4;
  static constexpr size_t kAreaSize = NordicFrame::kSize - kSlotsAt;  // 60
  static_assert(kSlots * kSlotSize == kAreaSize);
  using Area = std::array<uint8_t, kAreaSize>;
  using Slot = std::array<uint8_t, kSlotSize>;

  // key_code -> slot: key_code - 1, except 6 -> 8 and 7 -> 9; -1 below 1 or
  // beyond the table.
  static int SlotOfKeyCode(int key_code);
  // The mouse's own functions (what a restore puts back).
  static Area DefaultArea();
};

// --------------------------------------------------------------- macro image
// Built per macro, sent with command 7 in chunks of 58 bytes.
struct NordicMacroImage {
  static constexpr size_t kSize = 1024;
  static constexpr size_t kPlayModeAt = 0;
  static constexpr size_t kPlayTimesAt = 1;
  static constexpr size_t kDelayTimeAt = 36;
  static constexpr size_t kStepCountAt = 38;
  static constexpr size_t kStepsAt = 40;
  static constexpr size_t kStepSize = 4;
  static constexpr int kMaxSteps = static_cast<int>((kSize - kStepsAt) / kStepSize);  // 246
  static constexpr size_t kChunkData = 58;
  static constexpr size_t kChunkDataAt = 5;  // payload bytes 5..62
  static constexpr size_t kSlotAt = 4;
  static constexpr int kMacroSlots = 32;  // the mouse holds macros in slots 0..31
  static_assert(kChunkDataAt + kChunkData == NordicFrame::kSentPayload);
  static_assert(kStepsAt + kStepSize * kMaxSteps == kSize);

  std::array<uint8_t, kSize> bytes{};
  size_t length = kStepsAt;  // L = 40 + 4 * steps

  int StepCount() const { return bytes[kStepCountAt] | bytes[kStepCountAt + 1] << 8; }
  // The requests of command 7 for macro slot `slot`: one when L <= 58, else
  // ceil(L / 58) with byte 1 the chunk number and byte 2 0xBC for every chunk
  // but the last, 0x80 | (R + 2) for the last.
  std::vector<NordicFrame> Requests(int target, uint8_t slot) const;
};

// ------------------------------------------------------------- version reply
// Command 0, code 0x9A: bytes 9 and 8 hold the version, bytes 21 and 20 a
// second one when any of bytes 16..19 is not zero.
struct NordicVersionReply {
  static constexpr size_t kMinorAt = 8;
  static constexpr size_t kMajorAt = 9;
  static constexpr size_t kSecondFlagAt = 16;  // bytes 16..19
  static constexpr size_t kSecondMinorAt = 20;
  static constexpr size_t kSecondMajorAt = 21;

  // "%x%02x" of (major, minor) with a dot between the characters: 1, 5 -> "1.0.5".
  static std::wstring DottedVersion(uint8_t major, uint8_t minor);
  // The text of a reply: the first version and, when present, a line break
  // and the second.
  static std::wstring Text(const NordicFrame& reply);
};

}  // namespace tk410
