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
  if (!receiver_ || TargetOf(data[kTargetCommandAt]) != kTargetDevice) {
    if (receiver_ && !linked_) {
      // Nobody behind the receiver to answer.
      return std::nullopt;
    }
    return mouse_.Handle(data, length);
  }
  // The receiver itself.
  if (!NordicFrame::VerifyReceived(data, length)) {
    ++receiver_rejected_;
    return std::nullopt;
  }
  const uint8_t command = CommandOf(data[kTargetCommandAt]);
  if (command == kCmdStatus && data[kCodeAt] == kCodeRead) {
    NordicStatusBlock status = linked_ ? mouse_.Status() : NordicStatusBlock();
    status.linked = linked_;
    return status.Build(data[kTargetCommandAt]);
  }
  if (command == kCmdVersion && data[kCodeAt] == kCodeRead) {
    NordicFrame f;
    f[kTargetCommandAt] = data[kTargetCommandAt];
    f[kCodeAt] = kCodeVersion;
    f[NordicVersionReply::kMajorAt] = receiver_version_.first;
    f[NordicVersionReply::kMinorAt] = receiver_version_.second;
    return f;
  }
  ++receiver_rejected_;
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
