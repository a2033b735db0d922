#include "platform/lazy_text_injector.h"

namespace tk410 {

void LazyTextInjector::SendUnicodeUnit(char16_t unit, bool key_up) {
  std::call_once(made_, [this] {
    if (create_) real_ = create_();
    if (!real_ && unavailable_) unavailable_();
  });
  if (real_) real_->SendUnicodeUnit(unit, key_up);
}

}  // namespace tk410
