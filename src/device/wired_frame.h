#pragma once
// The wired family's 64-byte command payload. The same layout serves the
// program (requests it builds, replies it reads) and the virtual firmware
// (requests it checks, replies it builds).
//
// On the wire a request is the HID report number 0x00 followed by the 64
// payload bytes; a reply is a 64-byte input report whose byte n corresponds
// to payload byte n.

#include <array>
#include <cstddef>
#include <cstdint>

namespace tk410 {

// Command codes of the wired family.
enum WiredCommand : uint8_t {
  kWiredFirmwareVersion = 0x03,
  kWiredKeyRead = 0x08,
  kWiredKeyWrite = 0x09,
  kWiredMacroChunk = 0x0D,
  kWiredSettingsRead = 0x0E,
  kWiredSettingsWrite = 0x0F,
  kWiredMacroEnd = 0x10,
  kWiredLightMode = 0x21,
  kWiredDpiStage = 0x22,
  kWiredReportRate = 0x23,
  kWiredBattery = 0x30,
};

struct WiredFrame {
  static constexpr size_t kSize = 64;
  static constexpr size_t kReportSize = kSize + 1;  // with the report number

  // Named payload offsets.
  static constexpr size_t kMarker = 0;        // 0x55 request, 0xAA reply
  static constexpr size_t kCommand = 1;       // command code (echoed in the reply)
  static constexpr size_t kOffset2 = 2;       // 0xA5 / 0xAE / 0x00 per command
  static constexpr size_t kCheck = 3;         // sum of bytes 4..63, modulo 256
  static constexpr size_t kLength = 4;        // data length from kData (block commands)
  static constexpr size_t kOffsetLow = 5;     // offsets 5, 6: chunk offset (LE) or 1, 1
  static constexpr size_t kOffsetHigh = 6;
  static constexpr size_t kProfileIndex = 7;  // current profile number minus 1
  static constexpr size_t kData = 8;          // command data up to byte 63
  static constexpr size_t kCheckFirst = 4;    // first byte the check byte covers

  static constexpr uint8_t kRequestMarker = 0x55;
  static constexpr uint8_t kReplyMarker = 0xAA;

  std::array<uint8_t, kSize> bytes{};

  uint8_t& operator[](size_t i) { return bytes[i]; }
  uint8_t operator[](size_t i) const { return bytes[i]; }
  uint8_t* data() { return bytes.data(); }
  const uint8_t* data() const { return bytes.data(); }

  // A request with the common header filled in; everything else 0.
  static WiredFrame Request(uint8_t command, uint8_t offset2, uint8_t length,
                            uint8_t profile_index) {
    WiredFrame f;
    f[kMarker] = kRequestMarker;
    f[kCommand] = command;
    f[kOffset2] = offset2;
    f[kLength] = length;
    f[kProfileIndex] = profile_index;
    return f;
  }

  // Sum of payload bytes 4..63, modulo 256.
  static uint8_t ComputeCheck(const uint8_t* payload) {
    unsigned sum = 0;
    for (size_t i = kCheckFirst; i < kSize; ++i) sum += payload[i];
    return static_cast<uint8_t>(sum & 0xFF);
  }
  uint8_t ComputeCheck() const { return ComputeCheck(bytes.data()); }
  void FillCheck() { bytes[kCheck] = ComputeCheck(); }
  bool CheckMatches() const { return bytes[kCheck] == ComputeCheck(); }

  // The program's reply test: byte 0 is 0xAA.
  bool IsReply() const { return bytes[kMarker] == kReplyMarker; }
  // A reply to `command`: marker and the echoed command code.
  bool IsReplyTo(uint8_t command) const {
    return IsReply() && bytes[kCommand] == command;
  }

  // The 65-byte output report: report number 0, then the payload.
  std::array<uint8_t, kReportSize> ToReport() const {
    std::array<uint8_t, kReportSize> report{};
    for (size_t i = 0; i < kSize; ++i) report[i + 1] = bytes[i];
    return report;
  }

  // 16-bit little-endian helpers for the payload.
  uint16_t Get16(size_t offset) const {
    return static_cast<uint16_t>(bytes[offset] | (bytes[offset + 1] << 8));
  }
  void Set16(size_t offset, uint16_t value) {
    bytes[offset] = static_cast<uint8_t>(value & 0xFF);
    bytes[offset + 1] = static_cast<uint8_t>(value >> 8);
  }
};

static_assert(sizeof(WiredFrame) == WiredFrame::kSize);

}  // namespace tk410
