#pragma once
// How a device change travels from the notification thread to the window
// thread: the notifying thread puts the interface path into the mailbox and
// posts the device-change message with the entry's number as lParam; the
// window thread takes the entry by that number when the message arrives. A
// message that could not be posted takes its entry back, so nothing piles up.

#include <cstdint>
#include <map>
#include <mutex>
#include <optional>
#include <string>

namespace tk410 {

struct DeviceChange {
  std::wstring interface_path;
  bool arrival = false;
};

class DeviceChangeMailbox {
 public:
  // Keeps `change`; returns its number (> 0).
  intptr_t Put(DeviceChange change);
  // Removes and returns entry `number`; nothing when it is not there.
  std::optional<DeviceChange> Take(intptr_t number);
  size_t Size() const;

 private:
  mutable std::mutex mutex_;
  std::map<intptr_t, DeviceChange> entries_;
  intptr_t next_ = 1;
};

}  // namespace tk410
