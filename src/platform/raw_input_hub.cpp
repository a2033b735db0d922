#include "platform/raw_input_hub.h"

namespace tk410 {

int RawButtonFlags(int button_number, bool pressed) {
  switch (button_number) {
    case 1: return pressed ? kRawLeftDown : kRawLeftUp;
    case 2: return pressed ? kRawMiddleDown : kRawMiddleUp;
    case 3: return pressed ? kRawRightDown : kRawRightUp;
    case 4:
    case 5: return pressed ? kRawWheel : 0;
    case 6:
    case 7: return pressed ? kRawHorizontalWheel : 0;
    case 8: return pressed ? kRawButton4Down : kRawButton4Up;
    case 9: return pressed ? kRawButton5Down : kRawButton5Up;
    default: return 0;
  }
}

bool RawInputHub::Register(const void* owner, Poster post) {
  if (!post) return false;
  std::lock_guard<std::mutex> lock(mutex_);
  listeners_[owner] = std::move(post);
  return true;
}

void RawInputHub::Unregister(const void* owner) {
  std::lock_guard<std::mutex> lock(mutex_);
  listeners_.erase(owner);
}

bool RawInputHub::IsRegistered(const void* owner) const {
  std::lock_guard<std::mutex> lock(mutex_);
  return listeners_.count(owner) != 0;
}

bool RawInputHub::HasListeners() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return !listeners_.empty();
}

intptr_t RawInputHub::Publish(const RawInputEvent& event) {
  // Posting happens under the lock so that Unregister cannot return while a
  // post to the leaving window is under way; posters only queue a message.
  std::lock_guard<std::mutex> lock(mutex_);
  if (listeners_.empty()) return 0;
  const intptr_t handle = next_++;
  events_[handle] = event;
  while (events_.size() > kKeptEvents) events_.erase(events_.begin());
  for (auto& [owner, post] : listeners_) post(handle);
  return handle;
}

bool RawInputHub::GetRawInputData(intptr_t handle, RawInputEvent& event) const {
  std::lock_guard<std::mutex> lock(mutex_);
  auto it = events_.find(handle);
  if (it == events_.end()) return false;
  event = it->second;
  return true;
}

}  // namespace tk410
