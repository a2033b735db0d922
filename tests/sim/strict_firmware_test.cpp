// The virtual firmware answers only requests whose header it knows, and
// changes nothing for the others.

#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

#include "device/nordic_layout.h"
#include "sim/nordic_receiver_firmware.h"
#include "sim/wired_firmware.h"

namespace tk410 {
namespace {

// Wired request header (payload offsets):
//   0 0x55 | 1 command | 2 form byte | 3 check byte (sum of 4..63) | 4 length |
//   5, 6 0, 0 (default keys 1, 1; macro chunk the image offset, LE) |
//   7 profile index (0 for the firmware read and the macro commands)
struct WiredForm {
  const char* name;
  uint8_t command;
  uint8_t offset2;
  uint8_t length;
  uint8_t offset5;
  uint8_t offset6;
  uint8_t profile;
  bool per_profile;
};

constexpr WiredForm kWiredForms[] = {
    {"firmware read", 0x03, 0x00, 0x00, 0x00, 0x00, 0, false},
    {"key read", 0x08, 0xA5, 0x2C, 0x00, 0x00, 5, true},
    {"key download", 0x09, 0xA5, 0x2C, 0x00, 0x00, 4, true},
    {"default keys", 0x09, 0xA5, 0x20, 0x01, 0x01, 2, true},
    {"macro chunk", 0x0D, 0x00, 0x38, 0x38, 0x00, 0, false},  // the second chunk, image offset 56
    {"settings read", 0x0E, 0xA5, 0x2E, 0x00, 0x00, 3, true},
    {"settings write", 0x0F, 0xAE, 0x2E, 0x00, 0x00, 1, true},
    {"macro end", 0x10, 0xA5, 0x00, 0x00, 0x00, 0, false},
    {"light mode", 0x21, 0xA5, 0x03, 0x00, 0x00, 0, true},
    {"dpi stage", 0x22, 0xAE, 0x03, 0x00, 0x00, 5, true},
    {"report rate", 0x23, 0xAE, 0x03, 0x00, 0x00, 1, true},
    {"battery", 0x30, 0xA5, 0x2E, 0x00, 0x00, 0, true},
};

WiredFrame Build(const WiredForm& f) {
  WiredFrame r = WiredFrame::Request(f.command, f.offset2, f.length, f.profile);
  r[WiredFrame::kOffsetLow] = f.offset5;
  r[WiredFrame::kOffsetHigh] = f.offset6;
  r[WiredFrame::kData + 2] = 0x03;  // a value for the single-value writes (stage 3)
  r.FillCheck();
  return r;
}

// Every command in its own form is answered with its code echoed; the same
// request with any one header byte wrong (offset 2, the length, offsets 5
// and 6, a profile index past the six or one where 0 belongs) gets no reply
// and leaves the mouse as it was.
TEST(StrictWiredFirmware, AnswersOnlyTheHeaderEachCommandDefines) {
  WiredFirmware fw;
  for (const WiredForm& form : kWiredForms) {
    SCOPED_TRACE(form.name);
    const std::optional<WiredFrame> reply = fw.Handle(Build(form));
    ASSERT_TRUE(reply.has_value());
    EXPECT_TRUE(reply->IsReplyTo(form.command));

    const std::string before = fw.Save();
    const int rejected = fw.RejectedRequests();
    for (size_t at : {WiredFrame::kOffset2, WiredFrame::kLength, WiredFrame::kOffsetLow,
                      WiredFrame::kOffsetHigh, WiredFrame::kProfileIndex}) {
      WiredFrame wrong = Build(form);
      if (at == WiredFrame::kProfileIndex) {
        wrong[at] = form.per_profile ? WiredFirmware::kProfiles : 1;
      } else {
        wrong[at] ^= 0x01;
      }
      wrong.FillCheck();
      EXPECT_FALSE(fw.Handle(wrong).has_value()) << "offset " << at;
    }
    EXPECT_EQ(fw.RejectedRequests(), rejected + 5);
    EXPECT_EQ(fw.Save(), before);
  }
  EXPECT_EQ(fw.CommandsHandled(), static_cast<int>(std::size(kWiredForms)));

  // Unknown commands and request markers other than 0x55.
  WiredFrame unknown = WiredFrame::Request(0x31, 0xA5, 0x2E, 0);
  unknown.FillCheck();
  EXPECT_FALSE(fw.Handle(unknown).has_value());
  WiredFrame reply_marker = Build(kWiredForms[0]);
  reply_marker[WiredFrame::kMarker] = WiredFrame::kReplyMarker;
  EXPECT_FALSE(fw.Handle(reply_marker).has_value());
}

// Version feature report set: 0x51, 0x04, selector 0xAA (the receiver's
// text) or 0x00 (the mouse's). Another sub-function or selector fails and
// leaves the choice as it was.
TEST(StrictWiredFirmware, VersionFeatureSetTakesItsTwoSelectors) {
  WiredFirmware fw;
  fw.SetVersionText("V1", "R2");
  auto text = [&] {
    std::array<uint8_t, WiredVersionReport::kSize> reply{WiredVersionReport::kReportId};
    return WiredVersionReport::Text(reply.data(), fw.GetFeature(reply.data(), reply.size()));
  };
  auto request = WiredVersionReport::Request(1);
  EXPECT_EQ(fw.SetFeature(request.data(), request.size()), 21);
  EXPECT_EQ(text(), "R2");
  request[WiredVersionReport::kSubAt] = 0x05;
  EXPECT_EQ(fw.SetFeature(request.data(), request.size()), -1);
  request = WiredVersionReport::Request(0);
  request[WiredVersionReport::kSelectorAt] = 0x01;
  EXPECT_EQ(fw.SetFeature(request.data(), request.size()), -1);
  EXPECT_EQ(text(), "R2");
  request = WiredVersionReport::Request(0);
  EXPECT_EQ(fw.SetFeature(request.data(), request.size()), 21);
  EXPECT_EQ(text(), "V1");
}

// Macro chunk 0x0D: length 1..56 at offset 4, the image offset at 5..6 a
// whole number of 56-byte chunks inside the 4224-byte image. The last chunk
// of a full image (offset 4200) carries 24 bytes.
TEST(StrictWiredFirmware, MacroChunkLengthAndOffset) {
  struct Case {
    const char* name;
    uint8_t length;
    uint16_t offset;
    uint8_t profile;
    bool answered;
  };
  const Case cases[] = {
      {"first chunk", 56, 0, 0, true},
      {"short last chunk", 8, 56, 0, true},
      {"last chunk of a full image", 24, 4200, 0, true},
      {"no bytes", 0, 0, 0, false},
      {"57 bytes", 57, 0, 0, false},
      {"offset inside a chunk", 56, 28, 0, false},
      {"offset past the image", 8, 4256, 0, false},
      {"profile index set", 56, 0, 1, false},
  };
  WiredFirmware fw;
  for (const Case& c : cases) {
    WiredFrame chunk = WiredFrame::Request(kWiredMacroChunk, 0x00, c.length, c.profile);
    chunk.Set16(WiredFrame::kOffsetLow, c.offset);
    chunk[WiredFrame::kData] = 0x5A;
    chunk.FillCheck();
    EXPECT_EQ(fw.Handle(chunk).has_value(), c.answered) << c.name;
  }
  WiredFrame end = WiredFrame::Request(kWiredMacroEnd, 0xA5, 0x00, 0);
  end.FillCheck();
  ASSERT_TRUE(fw.Handle(end).has_value());
  // Only the answered chunks are in the image.
  EXPECT_EQ(fw.MacroLength(), 4224u);
  EXPECT_EQ(fw.Macros()[0], 0x5A);
  EXPECT_EQ(fw.Macros()[56], 0x5A);
  EXPECT_EQ(fw.Macros()[4200], 0x5A);
  EXPECT_EQ(fw.Macros()[28], 0x00);
}

// Nordic request: byte 0 target * 64 + command, 1 chunk number (macro
// transfers only), 2 request code, 3 sub-function, 4.. data; the check byte
// makes the 64 bytes received sum to 0xA1.
struct NordicCase {
  const char* name;
  std::vector<uint8_t> head;  // bytes 0.. of the request
  int reply_code;             // -1: no reply
};

std::vector<uint8_t> Received(const std::vector<uint8_t>& head) {
  NordicFrame f;
  std::copy(head.begin(), head.end(), f.bytes.begin());
  std::vector<uint8_t> bytes(f.bytes.begin(), f.bytes.end());
  bytes[NordicFrame::kSentPayload] = NordicFrame::CheckByte(f.data());
  return bytes;
}

void ExpectAnswers(NordicReceiverFirmware& fw, const std::vector<NordicCase>& cases) {
  for (const NordicCase& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string before = fw.Save();
    const int rejected = fw.RejectedRequests();
    const std::vector<uint8_t> bytes = Received(c.head);
    const std::optional<NordicFrame> reply = fw.Answer(bytes.data(), bytes.size());
    if (c.reply_code < 0) {
      EXPECT_FALSE(reply.has_value());
      EXPECT_EQ(fw.Save(), before);
      EXPECT_EQ(fw.RejectedRequests(), rejected + 1);
    } else {
      ASSERT_TRUE(reply.has_value());
      EXPECT_EQ((*reply)[nordic::kCodeAt], c.reply_code);
      EXPECT_EQ(fw.RejectedRequests(), rejected);
    }
  }
}

// A mouse on a cable: every command in the forms it has is answered; a
// wrong request code or sub-function, a chunk number outside a macro
// transfer, a profile past the fifth, a restore of a button it does not
// have, a macro chunk of 0 or 59 bytes or past the 1024-byte image, and
// any target but 0 get no reply.
TEST(StrictNordicFirmware, DirectMouseAnswersOnlyWhatEachCommandDefines) {
  NordicReceiverFirmware fw(/*receiver=*/false);
  ExpectAnswers(fw, {
      {"version", {0x00, 0x00, 0x81, 0x00}, 0x9A},
      {"status", {0x01, 0x00, 0x81, 0x01}, 0x8C},
      {"profile 5", {0x02, 0x00, 0x82, 0x01, 0x04}, 0x82},
      {"key table read", {0x03, 0x00, 0x81, 0x01}, 0xA5},
      {"key table write", {0x03, 0x00, 0xA5, 0x02}, 0xA5},
      {"settings read", {0x04, 0x00, 0x81, 0x01}, 0xBB},
      {"settings write", {0x04, 0x00, 0xBB, 0x02}, 0xBB},
      {"report rate", {0x04, 0x00, 0x82, 0x04, 0x03}, 0x81},
      {"macro, 40 bytes", {0x07, 0x00, 0xAA, 0x02, 0x00}, 0x82},
      {"macro, last chunk", {0x07, 0x11, 0x83, 0x02, 0x01}, 0x82},
      {"restore buttons", {0x09, 0x00, 0x82, 0x02, 0xFF}, 0x82},
      {"restore button 11", {0x09, 0x00, 0x82, 0x02, 0x0B}, 0x82},
      {"restore lighting", {0x09, 0x00, 0x82, 0x04, 0xFF}, 0x82},
      {"commit", {0x0A, 0x00, 0x81, 0x01}, 0x81},
      {"factory reset", {0x09, 0x00, 0x82, 0xFF}, 0x81},

      {"version, sub-function 1", {0x00, 0x00, 0x81, 0x01}, -1},
      {"status, sub-function 0", {0x01, 0x00, 0x81, 0x00}, -1},
      {"status, action code", {0x01, 0x00, 0x82, 0x01}, -1},
      {"profile 6", {0x02, 0x00, 0x82, 0x01, 0x05}, -1},
      {"profile, sub-function 2", {0x02, 0x00, 0x82, 0x02, 0x01}, -1},
      {"key table read, sub-function 2", {0x03, 0x00, 0x81, 0x02}, -1},
      {"key table write, sub-function 1", {0x03, 0x00, 0xA5, 0x01}, -1},
      {"settings write, sub-function 1", {0x04, 0x00, 0xBB, 0x01}, -1},
      {"settings, action without rate", {0x04, 0x00, 0x82, 0x01}, -1},
      {"settings read, chunk 1", {0x04, 0x01, 0x81, 0x01}, -1},
      {"macro, no bytes", {0x07, 0x00, 0x82, 0x02, 0x00}, -1},
      {"macro, 59 bytes", {0x07, 0x00, 0xBD, 0x02, 0x00}, -1},
      {"macro, sub-function 1", {0x07, 0x00, 0xAA, 0x01, 0x00}, -1},
      {"macro, past 1024 bytes", {0x07, 0x11, 0xBC, 0x02, 0x00}, -1},
      {"restore button 0", {0x09, 0x00, 0x82, 0x02, 0x00}, -1},
      {"restore button 16", {0x09, 0x00, 0x82, 0x02, 0x10}, -1},
      {"restore lighting 0", {0x09, 0x00, 0x82, 0x04, 0x00}, -1},
      {"restore, read code", {0x09, 0x00, 0x81, 0x02, 0xFF}, -1},
      {"restore, sub-function 3", {0x09, 0x00, 0x82, 0x03, 0xFF}, -1},
      {"commit, action code", {0x0A, 0x00, 0x82, 0x01}, -1},
      {"command 5", {0x05, 0x00, 0x81, 0x01}, -1},
      {"status, target 1", {0x41, 0x00, 0x81, 0x01}, -1},
      {"status, target 2", {0x81, 0x00, 0x81, 0x01}, -1},
      {"status, target 3", {0xC1, 0x00, 0x81, 0x01}, -1},
  });
}

// A receiver answers its link status and its version for target 0 and
// nothing else there; target 1 is the mouse (byte 0 echoed); targets 2 and
// 3 name nobody.
TEST(StrictNordicFirmware, ReceiverAnswersTargetZeroItselfAndTargetOneForTheMouse) {
  NordicReceiverFirmware fw(/*receiver=*/true);
  fw.SetReceiverVersion(0x02, 0x07);
  ExpectAnswers(fw, {
      {"receiver status", {0x01, 0x00, 0x81, 0x01}, 0x8C},
      {"receiver version", {0x00, 0x00, 0x81, 0x00}, 0x9A},
      {"mouse status", {0x41, 0x00, 0x81, 0x01}, 0x8C},
      {"mouse settings", {0x44, 0x00, 0x81, 0x01}, 0xBB},
      {"mouse commit", {0x4A, 0x00, 0x81, 0x01}, 0x81},

      {"settings at the receiver", {0x04, 0x00, 0x81, 0x01}, -1},
      {"commit at the receiver", {0x0A, 0x00, 0x81, 0x01}, -1},
      {"receiver version, sub-function 1", {0x00, 0x00, 0x81, 0x01}, -1},
      {"receiver status, chunk 1", {0x01, 0x01, 0x81, 0x01}, -1},
      {"mouse version, sub-function 1", {0x40, 0x00, 0x81, 0x01}, -1},
      {"target 2", {0x84, 0x00, 0x81, 0x01}, -1},
      {"target 3", {0xC4, 0x00, 0x81, 0x01}, -1},
  });
  const std::vector<uint8_t> version = Received({0x00, 0x00, 0x81, 0x00});
  const std::optional<NordicFrame> reply = fw.Answer(version.data(), version.size());
  ASSERT_TRUE(reply.has_value());
  EXPECT_EQ((*reply)[NordicVersionReply::kMajorAt], 0x02);
  EXPECT_EQ((*reply)[NordicVersionReply::kMinorAt], 0x07);
}

}  // namespace
}  // namespace tk410
