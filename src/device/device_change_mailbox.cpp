#include "device/device_change_mailbox.h"

namespace tk410 {

intptr_t DeviceChangeMailbox::Put(DeviceChange change) {
  std::lock_guard<std::mutex> lock(mutex_);
  const intptr_t number = next_++;
  entries_.emplace(number, std::move(change));
  return number;
}

std::optional<DeviceChange> DeviceChangeMailbox::Take(intptr_t number) {
  std::lock_guard<std::mutex> lock(mutex_);
  const auto it = entries_.find(number);
  if (it == entries_.end()) return std::nullopt;
  DeviceChange change = std::move(it->second);
  entries_.erase(it);
  return change;
}

size_t DeviceChangeMailbox::Size() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return entries_.size();
}

}  // namespace tk410
