#pragma once
// A TextInjector that types nothing and records every event, for tests.

#include <mutex>
#include <string>
#include <vector>

#include "platform/text_injector.h"

namespace tk410 {

class FakeTextInjector final : public TextInjector {
 public:
  struct Event {
    char16_t unit = 0;
    bool key_up = false;
    bool operator==(const Event&) const = default;
  };

  void SendUnicodeUnit(char16_t unit, bool key_up) override;

  std::vector<Event> Events() const;
  // The code units of the press events, in order: what a window would receive.
  std::u16string TypedUnits() const;
  void Clear();

 private:
  mutable std::mutex mutex_;
  std::vector<Event> events_;
};

}  // namespace tk410
