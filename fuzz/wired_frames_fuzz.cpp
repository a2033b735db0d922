// The wired family's frames as the program and the virtual firmware read
// them: replies (settings block, status report, version feature report,
// reply matching, the macro image read back) and requests to the firmware.
//
// The whole input, at its own length, goes to every decoder. Then it is cut
// into 64-byte requests for the virtual firmware (byte 3 set to the frame's
// check sum unless byte 2 of the input says otherwise), and every reply the
// firmware gives must be one the program takes as the reply to its request.

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "device/wired_frame.h"
#include "device/wired_layout.h"
#include "sim/wired_firmware.h"
#include "support/check.h"
#include "support/frame_of.h"

namespace {

using namespace tk410;

void Decoders(const uint8_t* data, size_t size) {
  WiredSettingsBlock block;
  if (WiredSettingsBlock::UnpackFrame(data, size, &block)) {
    // The block's bytes are the frame's offsets 8..53, both ways.
    std::array<uint8_t, WiredFrame::kSize> packed{};
    block.PackFrame(packed.data());
    TK410_FUZZ_CHECK(std::equal(packed.begin() + 8, packed.begin() + 54, data + 8));
    const auto raw = block.ToBytes();
    TK410_FUZZ_CHECK(std::equal(raw.begin(), raw.end(), data + 8));
    TK410_FUZZ_CHECK(WiredSettingsBlock::FromBytes(raw).ToBytes() == raw);
  }

  WiredStatusReport report;
  if (WiredStatusReport::Parse(data, size, &report)) {
    const auto built = report.Build();
    WiredStatusReport again;
    TK410_FUZZ_CHECK(WiredStatusReport::Parse(built.data(), built.size(), &again));
    TK410_FUZZ_CHECK(again.type == report.type && again.value1 == report.value1 &&
                     again.value2 == report.value2 && again.ignore == report.ignore);
  }

  const std::string version = WiredVersionReport::Text(data, size);
  TK410_FUZZ_CHECK(version.size() <= WiredVersionReport::kMaxText);
  TK410_FUZZ_CHECK(size < WiredVersionReport::kTextAt || version.size() <= size - WiredVersionReport::kTextAt);

  const WiredFrame request = fuzz::FrameOf<WiredFrame>(data, size);
  (void)WiredReplyRule::Matches(request, data, size);
  if (size > WiredFrame::kSize) {
    (void)WiredReplyRule::Matches(request, data + WiredFrame::kSize, size - WiredFrame::kSize);
  }

  // The macros read back from an image end with their last entry.
  for (const auto& macro : DecodeWiredMacroImage(data, size)) {
    TK410_FUZZ_CHECK(!macro.empty() && macro.back().IsLast());
    for (size_t i = 0; i + 1 < macro.size(); ++i) TK410_FUZZ_CHECK(!macro[i].IsLast());
  }
}

void Firmware(const uint8_t* data, size_t size) {
  const bool keep_check = size > 2 && (data[2] & 1) != 0;
  WiredFirmware firmware;
  for (size_t at = 0; at < size; at += WiredFrame::kSize) {
    const size_t n = std::min(WiredFrame::kSize, size - at);
    WiredFrame request = fuzz::FrameOf<WiredFrame>(data + at, n);
    if (!keep_check) request.FillCheck();
    if (const auto reply = firmware.Handle(request)) {
      TK410_FUZZ_CHECK(WiredReplyRule::Matches(request, reply->data(), WiredFrame::kSize));
    }
    uint8_t feature[WiredVersionReport::kSize] = {};
    std::memcpy(feature, data + at, std::min(n, sizeof(feature)));
    firmware.SetFeature(feature, std::min(n, sizeof(feature)));
    uint8_t got[WiredVersionReport::kSize] = {WiredVersionReport::kReportId};
    const int length = firmware.GetFeature(got, sizeof(got));
    TK410_FUZZ_CHECK(length <= static_cast<int>(sizeof(got)));
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  Decoders(data, size);
  Firmware(data, size);
  return 0;
}
