// assign: stores a button function of the current profile the way the
// buttons page and its assignment dialog do — the same row fields, the text
// built with BuildFunctionText (and ModifierText for key combinations), the
// same SaveKeyRecord. The mouse receives it with the next write.

#include <cstdio>
#include <limits>

#include "assign/button_function.h"
#include "assign/emoji_table.h"
#include "assign/family_buttons.h"
#include "assign/function_text.h"
#include "assign/key_tables.h"
#include "base/text.h"
#include "ctl/ctl_session.h"
#include "ctl/commands.h"
#include "ctl/terminal_text.h"
#include "store/config_database.h"

namespace tk410::ctl_tool {

namespace {

constexpr int kEmojiCount = 109;

struct KindName {
  const char* name;
  int kind;
};

// Names of the kinds a user may assign; numbers are accepted as well.
constexpr KindName kKindNames[] = {
    {"left-click", kKindLeftClick},     {"middle-click", kKindMiddleClick},
    {"right-click", kKindRightClick},   {"forward", kKindForward},
    {"backward", kKindBackward},        {"scroll-up", kKindScrollUp},
    {"scroll-down", kKindScrollDown},   {"dpi-up", kKindDpiUp},
    {"dpi-down", kKindDpiDown},         {"dpi-cycle", kKindDpiCycle},
    {"key", kKindKeyboard},             {"macro", kKindMacro},
    {"multimedia", kKindMultimedia},    {"shortcut", kKindShortcut},
    {"emoji", kKindEmoji},
};

// Kinds the buttons page stores directly with value 1.
bool IsPlainKind(int kind) {
  return (kind >= 1 && kind <= 3) || (kind >= 5 && kind <= 12) || (kind >= 15 && kind <= 21) ||
         kind == kKindZeroCode;
}

bool ParseBounded(const std::string& text, long long low, long long high, int* value) {
  long long parsed = 0;
  if (!ParseInt(text, &parsed) || parsed < low || parsed > high) return false;
  *value = static_cast<int>(parsed);
  return true;
}

bool ParseKind(const std::string& text, int* kind) {
  for (const auto& k : kKindNames) {
    if (text == k.name) {
      *kind = k.kind;
      return true;
    }
  }
  return ParseBounded(text, 1, 27, kind);
}

// A HID keyboard usage: a number, or the key's name as UsageName gives it.
bool ParseUsage(const std::string& text, int* usage) {
  if (ParseBounded(text, 0, 0xFF, usage)) return true;
  const std::wstring wanted = UpperAscii(FromUtf8(text));
  for (int u = 1; u <= 0xFF; ++u) {
    const std::wstring name = UsageName(u);
    if (!name.empty() && UpperAscii(name) == wanted) {
      *usage = u;
      return true;
    }
  }
  return false;
}

// Modifier bits: a number, or words joined by '+' (ctrl+shift+alt+win).
bool ParseModifiers(const std::string& text, int* bits) {
  if (ParseBounded(text, 0, 0x0F, bits)) return true;
  int result = 0;
  size_t start = 0;
  while (start <= text.size()) {
    const size_t end = text.find('+', start);
    const std::string word =
        UpperAscii(std::string_view(text).substr(start, end == std::string::npos ? std::string::npos : end - start));
    if (word == "CTRL") result |= kModCtrl;
    else if (word == "SHIFT") result |= kModShift;
    else if (word == "ALT") result |= kModAlt;
    else if (word == "WIN") result |= kModWin;
    else return false;
    if (end == std::string::npos) break;
    start = end + 1;
  }
  *bits = result;
  return true;
}

// The offered parameter value of kinds 25 and 26 and its TextId.
bool FindOffered(std::span<const FunctionValueText> table, int value, int* text_id) {
  for (const auto& entry : table) {
    if (entry.value == value && entry.offered) {
      *text_id = entry.text_id;
      return true;
    }
  }
  return false;
}

Outcome Usage(const std::string& message) { return Outcome::Fail(kExitUsage, message); }

}  // namespace

Outcome AssignCommand(Session& session, const Args& args) {
  if (args.size() < 2 || args.size() > 4) return Usage("assign needs KEY_CODE KIND [VALUE [VALUE2]]");
  KeyMacroRecord row;
  row.profile = session.CurrentProfile();
  row.fn_layer = 0;
  if (!ParseBounded(args[0], kFirstButtonKeyCode, kLastButtonKeyCode, &row.key_code) ||
      !IsFamilyButton(session.DeviceType(), row.key_code)) {
    return Usage("KEY_CODE must be a button number from 1 to 11, not '" + args[0] + "'");
  }
  ConfigDatabase& db = session.Db();

  if (args[1] == "default") {
    if (args.size() != 2) return Usage("assign KEY_CODE default takes no value");
    // A row without values only removes the button's row: its own function returns.
    db.SaveKeyRecord(row);
    return Outcome::Ok();
  }

  int kind = 0;
  if (!ParseKind(args[1], &kind)) return Usage("unknown function kind '" + args[1] + "'");
  row.macro_type = kind;
  const std::string value = args.size() > 2 ? args[2] : std::string();
  const std::string value2 = args.size() > 3 ? args[3] : std::string();

  if (IsPlainKind(kind)) {
    if (args.size() != 2) return Usage("kind " + args[1] + " takes no value");
    row.macro_value = 1;
  } else if (kind == kKindKeyboard) {
    if (args.size() < 3) return Usage("key needs a HID usage or key name [and modifiers]");
    if (!ParseUsage(value, &row.macro_value)) return Usage("unknown key '" + value + "'");
    if (!value2.empty() && !ParseModifiers(value2, &row.macro_value2)) {
      return Usage("modifiers are a number 0..15 or words like ctrl+shift, not '" + value2 + "'");
    }
    if (row.macro_value == 0 && row.macro_value2 == 0) return Usage("key needs a key or a modifier");
    row.macro_desc = ModifierText(row.macro_value2, UsageName(row.macro_value));
  } else if (kind == kKindMacro) {
    if (args.size() != 3 || !ParseBounded(value, 1, std::numeric_limits<int>::max(), &row.macro_value)) {
      return Usage("macro needs a macro id");
    }
    MacroRecord macro;
    if (!db.GetMacro(row.macro_value, macro)) return Outcome::Fail(kExitData, "no macro " + value);
    row.macro_desc = macro.name;
  } else if (kind == kKindMultimedia || kind == kKindShortcut) {
    int text_id = 0;
    const auto table = kind == kKindMultimedia ? MultimediaValues() : ShortcutValues();
    if (args.size() != 3 || !ParseBounded(value, 1, 255, &row.macro_value) ||
        !FindOffered(table, row.macro_value, &text_id)) {
      return Usage(std::string(kind == kKindMultimedia ? "multimedia" : "shortcut") +
                   " needs one of the offered values, not '" + value + "'");
    }
    row.macro_desc = session.Texts().GetLangText(text_id);
  } else if (kind == kKindEmoji) {
    if (args.size() != 3 || !ParseBounded(value, 1, kEmojiCount, &row.macro_value)) {
      return Usage("emoji needs a number from 1 to 109");
    }
    row.macro_desc = EmojiText(row.macro_value);
  } else {
    return Usage("kind " + args[1] + " cannot be assigned");
  }

  row.macro_desc = BuildFunctionText(row, session.Texts());
  if (db.SaveKeyRecord(row) == 0) return Outcome::Fail(kExitData, "cannot store the button function");
  std::printf("button %d: %s\n", row.key_code, TerminalText(session.DisplayText(row.macro_desc)).c_str());
  return Outcome::Ok();
}

}  // namespace tk410::ctl_tool
