#include "rules/app_rule.h"

#include <cwctype>

namespace tk410 {

namespace {

constexpr size_t kMaxName = 255;
constexpr size_t kMaxPath = 4095;
constexpr size_t kMaxSteamDigits = 10;
constexpr unsigned long long kMaxSteamApp = 4294967295ULL;

struct TypeName {
  int type;
  const char* name;
};
constexpr TypeName kNames[] = {{kMatchOtherPrograms, "other"},
                               {kMatchExecutable, "exe"},
                               {kMatchWindowClass, "class"},
                               {kMatchSteamApp, "steam"}};

bool HasControlCharacter(const std::wstring& text) {
  for (wchar_t c : text) {
    if (c < 0x20 || c == 0x7F) return true;
  }
  return false;
}

}  // namespace

const char* MatchTypeName(int type) {
  for (const TypeName& n : kNames) {
    if (n.type == type) return n.name;
  }
  return nullptr;
}

int MatchTypeOfName(const std::string& name) {
  for (const TypeName& n : kNames) {
    if (name == n.name) return n.type;
  }
  return -1;
}

std::string MatchTextProblem(int type, const std::wstring& text) {
  switch (type) {
    case kMatchOtherPrograms:
      return text.empty() ? "" : "a rule for every other program names no program";
    case kMatchExecutable:
    case kMatchWindowClass: {
      const bool path = type == kMatchExecutable && text.find(L'/') != std::wstring::npos;
      if (text.empty()) return "the program's name is empty";
      if (path && text[0] != L'/') return "a path to a program must start with /";
      if (text.size() > (path ? kMaxPath : kMaxName)) return "the name is too long";
      if (HasControlCharacter(text)) return "the name holds control characters";
      return "";
    }
    case kMatchSteamApp: {
      if (text.empty() || text.size() > kMaxSteamDigits || text[0] == L'0') return "a Steam app id is a number from 1";
      unsigned long long value = 0;
      for (wchar_t c : text) {
        if (c < L'0' || c > L'9') return "a Steam app id is a number from 1";
        value = value * 10 + static_cast<unsigned>(c - L'0');
      }
      return value <= kMaxSteamApp ? "" : "a Steam app id is a number from 1";
    }
    default:
      return "unknown kind of rule";
  }
}

}  // namespace tk410
