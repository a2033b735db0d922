#include "sim/nordic_receiver_firmware.h"

#include <sstream>
#include <vector>

#include "sim/state_text.h"

namespace tk410 {

namespace {

using namespace nordic;

constexpr char kLinkLine[] = "receiver_linked";

}  // namespace

std::optional<NordicFrame> NordicReceiverFirmware::Answer(const uint8_t* data, size_t length) {
  if (length < NordicFrame::kSize) {
    // Too short to name a target: rejected before a byte of it is read.
    ++receiver_rejected_;
    return std::nullopt;
  }
  const int target = TargetOf(data[kTargetCommandAt]);
  if (!receiver_) {
    // A mouse on a cable is target 0; nothing sits behind it.
    if (target == kTargetDevice) return mouse_.Handle(data, length);
    ++receiver_rejected_;
    return std::nullopt;
  }
  if (target == kTargetBehind) {
    // Nobody behind the receiver to answer while unlinked.
    if (!linked_) return std::nullopt;
    return mouse_.Handle(data, length);
  }
  std::optional<NordicFrame> reply;
  if (target == kTargetDevice && NordicFrame::VerifyReceived(data, length)) reply = AnswerItself(data);
  if (!reply) ++receiver_rejected_;
  return reply;
}

std::optional<NordicFrame> NordicReceiverFirmware::AnswerItself(const uint8_t* data) const {
  // The receiver knows its link status and its version, nothing else.
  const uint8_t command = CommandOf(data[kTargetCommandAt]);
  if (data[kChunkAt] != 0 || data[kCodeAt] != kCodeRead) return std::nullopt;
  if (command == kCmdStatus && data[kSubAt] == kSubRead) {
    NordicStatusBlock status = linked_ ? mouse_.Status() : NordicStatusBlock();
    status.linked = linked_;
    return status.Build(data[kTargetCommandAt]);
  }
  if (command == kCmdVersion && data[kSubAt] == kSubVersion) {
    NordicFrame f;
    f[kTargetCommandAt] = data[kTargetCommandAt];
    f[kCodeAt] = kCodeVersion;
    f[NordicVersionReply::kMajorAt] = receiver_version_.first;
    f[NordicVersionReply::kMinorAt] = receiver_version_.second;
    return f;
  }
  return std::nullopt;
}

std::optional<NordicFrame> NordicReceiverFirmware::SetLinked(bool linked) {
  if (!receiver_) return std::nullopt;
  linked_ = linked;
  NordicStatusBlock status;
  if (linked) status = mouse_.Status();
  status.linked = linked;
  return status.Build(kReceiverSource);
}

std::optional<NordicFrame> NordicReceiverFirmware::MouseStatus() const {
  if (receiver_ && !linked_) return std::nullopt;
  return mouse_.Status().Build(receiver_ ? kMouseBehindSource : kReceiverSource);
}

std::optional<NordicFrame> NordicReceiverFirmware::PressDpiButton(int stage) {
  if (stage >= 0) mouse_.SetActiveStage(static_cast<uint8_t>(stage));
  return MouseStatus();
}

std::string NordicReceiverFirmware::Save() const {
  return mouse_.Save() + kLinkLine + " " + (linked_ ? "1" : "0") + "\n";
}

bool NordicReceiverFirmware::Load(const std::string& text) {
  // The link line is the receiver's; the rest is the mouse's.
  bool linked = true;
  std::istringstream in(text);
  std::string mouse_text;
  for (std::string line; std::getline(in, line);) {
    const std::vector<std::string> f = sim_state::Fields(line);
    if (!f.empty() && f[0] == kLinkLine) {
      if (f.size() != 2 || (f[1] != "0" && f[1] != "1")) return false;
      linked = f[1] == "1";
    } else {
      mouse_text += line + "\n";
    }
  }
  if (!mouse_.Load(mouse_text)) return false;
  linked_ = linked;
  return true;
}

}  // namespace tk410
