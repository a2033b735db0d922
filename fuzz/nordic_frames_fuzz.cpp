// The Nordic family's frames as the program and the virtual firmware read
// them: the settings block, the status block, the version reply, reply and
// report recognition, and requests to the virtual mouse and receiver.
//
// The whole input, at its own length, goes to every decoder. Then it is cut
// into 63-byte payloads sent as the program sends them (with the check byte,
// unless byte 1 of the input says otherwise) to a mouse on a cable and to a
// receiver with the mouse behind it.

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "device/nordic_frame.h"
#include "device/nordic_layout.h"
#include "sim/nordic_receiver_firmware.h"
#include "support/check.h"
#include "support/frame_of.h"

namespace {

using namespace tk410;

bool SameSettings(const NordicSettingsBlock& a, const NordicSettingsBlock& b) {
  return a.sensor_flag == b.sensor_flag && a.scroll_flag == b.scroll_flag &&
         a.esports_flag == b.esports_flag && a.report_rate == b.report_rate &&
         a.dpi_index == b.dpi_index && a.dpi == b.dpi && a.liftoff_height == b.liftoff_height &&
         a.button_respondtime == b.button_respondtime;
}

void Decoders(const uint8_t* data, size_t size) {
  NordicSettingsBlock settings;
  if (NordicSettingsBlock::Unpack(data, size, &settings)) {
    // What was read is written back the same way.
    NordicFrame block = fuzz::FrameOf<NordicFrame>(data, size);
    settings.PackInto(block.data());
    NordicSettingsBlock again;
    TK410_FUZZ_CHECK(NordicSettingsBlock::Unpack(block.data(), NordicFrame::kSize, &again));
    TK410_FUZZ_CHECK(SameSettings(settings, again));
  }

  NordicStatusBlock status;
  if (NordicStatusBlock::Parse(data, size, &status)) {
    const NordicFrame built = status.Build(size > 0 ? data[0] : 0);
    NordicStatusBlock again;
    TK410_FUZZ_CHECK(NordicStatusBlock::Parse(built.bytes.data(), NordicFrame::kSize, &again));
    TK410_FUZZ_CHECK(again.linked == status.linked && again.battery_a == status.battery_a &&
                     again.battery_b == status.battery_b && again.profile_index == status.profile_index &&
                     again.dpi_stage == status.dpi_stage && again.report_rate == status.report_rate &&
                     again.highest_rate == status.highest_rate);
  }

  const std::wstring version = NordicVersionReply::Text(fuzz::FrameOf<NordicFrame>(data, size));
  TK410_FUZZ_CHECK(version.size() <= 2 * 8 + 1);  // two versions of "h.h.h.h" and a line break

  const NordicFrame request = fuzz::FrameOf<NordicFrame>(data, size);
  (void)nordic::IsReplyTo(request.bytes.data(), data, size);
  (void)nordic::IsStatusReport(data, size);
  (void)NordicFrame::VerifyReceived(data, size);
}

void Exchange(NordicReceiverFirmware& device, const uint8_t* payload, size_t n, bool keep_check) {
  std::array<uint8_t, NordicFrame::kSize> received{};
  std::memcpy(received.data(), payload, n);
  if (!keep_check) received[NordicFrame::kSize - 1] = NordicFrame::CheckByte(received.data());
  const auto reply = device.Answer(received.data(), received.size());
  if (reply) TK410_FUZZ_CHECK(reply->bytes.size() == NordicFrame::kSize);
}

void Firmware(const uint8_t* data, size_t size) {
  const bool keep_check = size > 1 && (data[1] & 0x80) != 0;
  NordicReceiverFirmware cable(false);
  NordicReceiverFirmware receiver(true);
  for (size_t at = 0; at < size; at += NordicFrame::kSentPayload) {
    const size_t n = std::min(NordicFrame::kSentPayload, size - at);
    Exchange(cable, data + at, n, keep_check);
    Exchange(receiver, data + at, n, keep_check);
    if (data[at] == 0xFF) (void)receiver.SetLinked(!receiver.Linked());
    if (data[at] == 0xFE) (void)receiver.PressDpiButton(static_cast<int8_t>(n > 1 ? data[at + 1] : 0));
  }
  (void)cable.MouseStatus();
  (void)receiver.MouseStatus();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  Decoders(data, size);
  Firmware(data, size);
  return 0;
}
