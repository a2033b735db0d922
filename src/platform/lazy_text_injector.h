#pragma once
// A text injector made when the first unit is typed (an emoji button pressed
// on the mouse), on the thread that types: the X connection it needs is not
// opened at the program's start. Where none can be made, `unavailable` is
// called once and nothing is typed.

#include <functional>
#include <memory>
#include <mutex>

#include "platform/text_injector.h"

namespace tk410 {

class LazyTextInjector final : public TextInjector {
 public:
  using Factory = std::function<std::unique_ptr<TextInjector>()>;
  LazyTextInjector(Factory create, std::function<void()> unavailable)
      : create_(std::move(create)), unavailable_(std::move(unavailable)) {}

  void SendUnicodeUnit(char16_t unit, bool key_up) override;

 private:
  Factory create_;
  std::function<void()> unavailable_;
  std::once_flag made_;
  std::unique_ptr<TextInjector> real_;  // set once, under made_
};

}  // namespace tk410
