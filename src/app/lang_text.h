#pragma once
// Seam through which models reach the interface language: its number (2052,
// 1033, 1028, 1041, 1049 ...) and the text of a TextId in section "LAN" of
// the current language file. The file-based lookup implements this
// interface; InMemoryLanguageTexts serves tests and fixed set-ups.

#include <map>
#include <string>

namespace tk410 {

class LanguageTexts {
 public:
  virtual ~LanguageTexts() = default;
  virtual int CurrentLanguage() const = 0;
  // The text of a TextId; empty when it is missing.
  virtual std::wstring GetLangText(int text_id) const = 0;
};

// A language text with a value put in: its first "%s" is replaced by
// `value`. The text comes from a file and is not trusted as a format; one
// without "%s" gets the value on a line of its own.
std::wstring FillLangText(const std::wstring& text, const std::wstring& value);

class InMemoryLanguageTexts final : public LanguageTexts {
 public:
  explicit InMemoryLanguageTexts(int language = 1033,
                                 std::map<int, std::wstring> texts = {});

  int CurrentLanguage() const override { return language_; }
  std::wstring GetLangText(int text_id) const override;

  void SetLanguage(int language) { language_ = language; }
  void SetText(int text_id, std::wstring text);

 private:
  int language_;
  std::map<int, std::wstring> texts_;
};

}  // namespace tk410
