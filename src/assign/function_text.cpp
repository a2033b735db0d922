#include "assign/function_text.h"

#include "app/lang_text.h"
#include "assign/button_function.h"
#include "base/text.h"

namespace tk410 {
namespace {

constexpr int kTextNewMacro = 351;

// Per interface language: the default-name prefixes and copy suffixes of the
// other built-in languages, tried in order, and the copy word of this one.
struct MacroNameRule {
  int language;
  const wchar_t* prefixes[4];
  const wchar_t* suffixes[3];  // nullptr ends a shorter list
  const wchar_t* copy_word;
};

constexpr MacroNameRule kMacroNameRules[] = {
    {2052, {L"Custom", L"自定義", L"カスタム", L"Пользоват"}, {L"Copy", L"複製", L"Копировать"}, L"复制"},
    {1033, {L"自定义", L"自定義", L"カスタム", L"Пользоват"}, {L"复制", L"複製", L"Копировать"}, L"Copy"},
    {1028, {L"自定义", L"Custom", L"カスタム", L"Пользоват"}, {L"复制", L"Copy", L"Копировать"}, L"複製"},
    {1041, {L"自定义", L"Custom", L"自定義", L"Пользоват"}, {L"复制", L"Copy", L"Копировать"}, L"複製"},
    {1049, {L"自定义", L"Custom", L"自定義", L"カスタム"}, {L"复制", L"Copy", nullptr}, L"Копировать"},
};

const MacroNameRule* FindRule(int language) {
  for (const auto& rule : kMacroNameRules)
    if (rule.language == language) return &rule;
  return nullptr;
}

void AppendModifierWord(std::wstring& text, const wchar_t* word) {
  if (!text.empty()) text += L"+ ";
  text += word;
}

}  // namespace

std::wstring TranslateMacroName(const std::wstring& name, const LanguageTexts& texts) {
  const MacroNameRule* rule = FindRule(texts.CurrentLanguage());
  if (!rule) return name;
  std::wstring result = name;

  // A missing text 351 would turn the prefix into nothing; keep the name then.
  const std::wstring new_macro_text = texts.GetLangText(kTextNewMacro);
  if (!new_macro_text.empty()) {
    for (const wchar_t* prefix : rule->prefixes) {
      if (StartsWith(result, prefix)) {
        result = new_macro_text + result.substr(std::wstring_view(prefix).size());
        break;
      }
    }
  }

  for (const wchar_t* suffix : rule->suffixes) {
    if (suffix && EndsWith(result, suffix)) {
      // Cut off the matched suffix itself (any space before it stays), so a
      // name that contains the word earlier keeps the rest of it.
      result.resize(result.size() - std::wstring_view(suffix).size());
      result += L" ";
      result += rule->copy_word;
      break;
    }
  }
  return result;
}

std::wstring BuildFunctionText(const KeyMacroRecord& record, const LanguageTexts& texts) {
  if (record.macro_type == kKindMacro) return TranslateMacroName(record.macro_desc, texts);
  const int text_id = FunctionTextId(record.macro_type, record.macro_value);
  return text_id != 0 ? FormatInt(text_id) : record.macro_desc;
}

std::wstring ModifierText(int modifier_bits, const std::wstring& key_text) {
  std::wstring mods;
  if (modifier_bits & kModShift) AppendModifierWord(mods, L"Shift");
  if (modifier_bits & kModCtrl) AppendModifierWord(mods, L"Ctrl");
  if (modifier_bits & kModWin) AppendModifierWord(mods, L"Win");
  if (modifier_bits & kModAlt) AppendModifierWord(mods, L"Alt");
  if (mods.empty()) return key_text;
  if (key_text.empty()) return mods;
  return mods + L" + " + key_text;
}

std::wstring KeyTextOf(const std::wstring& combination_text, int modifier_bits) {
  const std::wstring mods = ModifierText(modifier_bits, L"");
  if (mods.empty()) return combination_text;
  const std::wstring prefix = mods + L" + ";
  if (!StartsWith(combination_text, prefix)) return std::wstring();
  return combination_text.substr(prefix.size());
}

}  // namespace tk410
