// Language files as the interface reads them: any bytes in <language>.lan,
// every text of its LAN section looked up by number and filled with a value
// as the message boxes do; and the locale names that choose the language.
//
// Input: the file; after a NUL NUL pair, three NUL-separated locale names
// (LC_ALL, LC_MESSAGES, LANG).

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "app/ini_file.h"
#include "app/language_files.h"
#include "base/text.h"
#include "support/check.h"
#include "support/scratch.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace tk410;
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  const size_t split = input.find(std::string_view("\0\0", 2));
  const std::string_view file = input.substr(0, split);
  if (fuzz::WriteScratchFile("1033.lan", file).empty()) return 0;

  // A new reader each time: no cached file from the input before.
  LanguageFileTexts texts(FromUtf8(fuzz::ScratchDir()), kLanguageEnglish);
  const IniFile ini = IniFile::Parse(file);
  for (const auto& section : ini.sections()) {
    for (const auto& entry : section.entries) {
      const int id = WToI(entry.first);
      const std::wstring text = texts.GetLangText(id);
      TK410_FUZZ_CHECK(text.size() <= kMaxProfileText);
      const std::wstring filled = FillLangText(text, L"<value>");
      TK410_FUZZ_CHECK(filled.find(L"<value>") != std::wstring::npos);
    }
  }
  (void)texts.GetLangText(-1);

  if (split == std::string_view::npos) return 0;
  std::vector<std::string> names;
  std::string_view rest = input.substr(split + 2);
  for (int i = 0; i < 3; ++i) {
    const size_t end = rest.find('\0');
    names.emplace_back(rest.substr(0, end));
    rest = end == std::string_view::npos ? std::string_view() : rest.substr(end + 1);
  }
  const int language = UserUiLanguage(names[0].c_str(), names[1].c_str(), names[2].c_str());
  TK410_FUZZ_CHECK(language == kLanguageEnglish || language == kLanguageChinese);
  return 0;
}
