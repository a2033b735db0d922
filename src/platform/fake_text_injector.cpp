#include "platform/fake_text_injector.h"

namespace tk410 {

void FakeTextInjector::SendUnicodeUnit(char16_t unit, bool key_up) {
  std::lock_guard<std::mutex> lock(mutex_);
  events_.push_back({unit, key_up});
}

std::vector<FakeTextInjector::Event> FakeTextInjector::Events() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return events_;
}

std::u16string FakeTextInjector::TypedUnits() const {
  std::lock_guard<std::mutex> lock(mutex_);
  std::u16string typed;
  for (const auto& e : events_)
    if (!e.key_up) typed.push_back(e.unit);
  return typed;
}

void FakeTextInjector::Clear() {
  std::lock_guard<std::mutex> lock(mutex_);
  events_.clear();
}

}  // namespace tk410
