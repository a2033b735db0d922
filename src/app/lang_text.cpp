#include "app/lang_text.h"

#include <utility>

namespace tk410 {

InMemoryLanguageTexts::InMemoryLanguageTexts(int language, std::map<int, std::wstring> texts)
    : language_(language), texts_(std::move(texts)) {}

std::wstring InMemoryLanguageTexts::GetLangText(int text_id) const {
  auto it = texts_.find(text_id);
  return it == texts_.end() ? std::wstring() : it->second;
}

void InMemoryLanguageTexts::SetText(int text_id, std::wstring text) {
  texts_[text_id] = std::move(text);
}

}  // namespace tk410
