#pragma once
// What a Nordic-family device answers on its vendor collection, whatever
// carries the bytes (the in-process virtual bus or the kernel's uhid): a
// mouse on a cable answers every request itself; a receiver answers target 0
// itself (its own version, the status with the link bit) and passes the
// requests for target 1 to the mouse while it is linked. No locking here:
// the owner serialises the calls.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <utility>

#include "sim/nordic_firmware.h"

namespace tk410 {

class NordicReceiverFirmware {
 public:
  // Byte 0 of an unsolicited status report: the receiver (or a mouse on a
  // cable), and the mouse behind a receiver.
  static constexpr uint8_t kReceiverSource = 0x01;
  static constexpr uint8_t kMouseBehindSource = 0x41;

  explicit NordicReceiverFirmware(bool receiver) : receiver_(receiver) {}

  bool IsReceiver() const { return receiver_; }
  NordicFirmware& Mouse() { return mouse_; }
  const NordicFirmware& Mouse() const { return mouse_; }

  // The reply to the 64 bytes that arrived, or none. A mouse on a cable
  // takes target 0 only. A receiver answers target 0 itself (the status
  // 01 00 81 01 and the version 00 00 81 00, nothing else) and passes
  // target 1 to the mouse while it is linked; targets 2 and 3 name nobody.
  std::optional<NordicFrame> Answer(const uint8_t* data, size_t length);

  bool Linked() const { return linked_; }
  // Receiver: links or unlinks the mouse and gives the receiver's status
  // report telling so; nothing for a mouse on a cable.
  std::optional<NordicFrame> SetLinked(bool linked);
  // The mouse's status report as it is now; nothing while unlinked.
  std::optional<NordicFrame> MouseStatus() const;
  // The DPI button on the mouse: it lands on `stage` (0-based; negative: the
  // stage it is on) and gives its status report, nothing while unlinked.
  std::optional<NordicFrame> PressDpiButton(int stage);
  void SetReceiverVersion(uint8_t major, uint8_t minor) { receiver_version_ = {major, minor}; }
  int RejectedRequests() const { return receiver_rejected_ + mouse_.RejectedRequests(); }

  // Text form: the mouse's state and a link line; false (state unchanged)
  // on malformed text.
  std::string Save() const;
  bool Load(const std::string& text);

 private:
  std::optional<NordicFrame> AnswerItself(const uint8_t* data) const;

  bool receiver_;
  NordicFirmware mouse_;
  bool linked_ = true;
  std::pair<uint8_t, uint8_t> receiver_version_{0x02, 0x01};
  int receiver_rejected_ = 0;
};

}  // namespace tk410
