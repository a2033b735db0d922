#pragma once
// The texts stored in macro_desc of a button row and shown on the buttons
// page: TextIds written as decimal digits, key-combination texts and macro
// names translated between the built-in languages.

#include <string>

#include "store/records.h"

namespace tk410 {

class LanguageTexts;

// The text to store in macro_desc for record's macro_type and macro_value;
// record.macro_desc is the proposed text (key text, macro name, emoji text).
std::wstring BuildFunctionText(const KeyMacroRecord& record, const LanguageTexts& texts);

// A macro name made under another built-in language, read in the current
// one: a default-name prefix becomes text 351 and a copy suffix becomes the
// current language's copy word. Other names and languages are left as they are.
std::wstring TranslateMacroName(const std::wstring& name, const LanguageTexts& texts);

// The text of a key combination: modifier words (Shift, Ctrl, Win, Alt in
// that order, joined by "+ ") and the key text joined by " + ", e.g.
// 'Shift+ Ctrl' or 'Ctrl+ Alt + A'. Bits above Win are not named.
std::wstring ModifierText(int modifier_bits, const std::wstring& key_text);

// The key text of a combination text made by ModifierText with the same
// modifier bits; empty when the text is not one (or names no key).
std::wstring KeyTextOf(const std::wstring& combination_text, int modifier_bits);

}  // namespace tk410
