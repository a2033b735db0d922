#include "app/lang_text.h"

#include <utility>

namespace tk410 {

std::wstring FillLangText(const std::wstring& text, const std::wstring& value) {
  const size_t at = text.find(L"%s");
  if (at == std::wstring::npos) return text + L"\n" + value;
  std::wstring filled = text;
  return filled.replace(at, 2, value);
}

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
