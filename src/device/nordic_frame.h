#pragma once
// The Nordic family's 64-byte payload and its wire form. The program sends
// payload bytes 0..62 after the report number and closes the report with a
// check byte of 0xA1 minus their sum; payload byte 63 is not sent. The
// firmware receives 64 bytes (payload 0..62 plus the check byte) whose sum is
// 0xA1 modulo 256 when the frame is intact.

#include <array>
#include <cstddef>
#include <cstdint>

namespace tk410 {

struct NordicFrame {
  static constexpr size_t kSize = 64;
  static constexpr size_t kReportSize = kSize + 1;
  static constexpr size_t kSentPayload = 63;  // payload bytes 0..62 go on the wire
  static constexpr uint8_t kCheckBase = 0xA1;

  std::array<uint8_t, kSize> bytes{};

  uint8_t& operator[](size_t i) { return bytes[i]; }
  uint8_t operator[](size_t i) const { return bytes[i]; }
  uint8_t* data() { return bytes.data(); }

  // 0xA1 minus the sum of payload bytes 0..62, modulo 256.
  static uint8_t CheckByte(const uint8_t* payload) {
    unsigned sum = 0;
    for (size_t i = 0; i < kSentPayload; ++i) sum += payload[i];
    return static_cast<uint8_t>((kCheckBase - sum) & 0xFF);
  }

  // The 65-byte output report: 0x00, payload 0..62, check byte.
  static std::array<uint8_t, kReportSize> BuildReport(const uint8_t* payload) {
    std::array<uint8_t, kReportSize> report{};
    for (size_t i = 0; i < kSentPayload; ++i) report[i + 1] = payload[i];
    report[kReportSize - 1] = CheckByte(payload);
    return report;
  }
  std::array<uint8_t, kReportSize> ToReport() const { return BuildReport(bytes.data()); }

  // The firmware's test of a received 64-byte report (without the report
  // number): all 64 bytes sum to 0xA1 modulo 256.
  static bool VerifyReceived(const uint8_t* received, size_t length) {
    if (length < kSize) return false;
    unsigned sum = 0;
    for (size_t i = 0; i < kSize; ++i) sum += received[i];
    return (sum & 0xFF) == kCheckBase;
  }
};

static_assert(sizeof(NordicFrame) == NordicFrame::kSize);

}  // namespace tk410
