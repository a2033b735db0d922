#include "app/ini_file.h"

#include <gtest/gtest.h>

#include "base/text.h"
#include "support/temp_dir.h"

namespace tk410 {
namespace {

std::string Utf16LeWithBom(const std::wstring& text) {
  std::string bytes = "\xFF\xFE";
  for (char16_t unit : ToUtf16(text)) {
    bytes.push_back(static_cast<char>(unit & 0xFF));
    bytes.push_back(static_cast<char>(unit >> 8));
  }
  return bytes;
}

TEST(IniFileTest, LookupFollowsTheProfileStringRules) {
  const IniFile ini = IniFile::Parse(
      "; comment line\r\n"
      "[Other]\n57=wrong section\n"
      "  [ lan ]  \r\n"
      "57 =  Please connect  \r\n"
      "058=leading zero key\n"
      "5=\"  quoted keeps inner spaces \"\n"
      "6='single'\n"
      "7=\"unbalanced\n"
      "8=\"\"\n"
      "line without equals sign\n"
      "57=second occurrence\n"
      "[LAN]\n9=second section of the same name\n");
  struct Row { const wchar_t* section; const wchar_t* key; const wchar_t* text; };
  const Row rows[] = {
      {L"LAN", L"57", L"Please connect"},  // case-insensitive section, trimmed value
      {L"Lan", L"57", L"Please connect"},  // the first key of a name wins
      {L"LAN", L"58", L""},                // keys are text: "058" is not "58"
      {L"LAN", L"058", L"leading zero key"},
      {L"LAN", L"5", L"  quoted keeps inner spaces "},
      {L"LAN", L"6", L"single"},
      {L"LAN", L"7", L"\"unbalanced"},
      {L"LAN", L"8", L""},
      {L"LAN", L"9", L""},                 // only the first [LAN] is searched
      {L"Other", L"57", L"wrong section"},
      {L"Missing", L"57", L""},
      {L"LAN", L"404", L""},
  };
  for (const auto& r : rows)
    EXPECT_EQ(ini.GetString(r.section, r.key), r.text) << ToUtf8(r.section) << "/" << ToUtf8(r.key);
}

TEST(IniFileTest, TextsAreCutAt259Characters) {
  const std::string exact(259, 'a');
  const std::string longer = std::string(259, 'b') + "cdef";
  const IniFile ini = IniFile::Parse("[LAN]\n1=" + exact + "\n2=" + longer + "\n3=\"" + exact + "\"\n");
  EXPECT_EQ(ini.GetString(L"LAN", L"1"), std::wstring(259, L'a'));
  EXPECT_EQ(ini.GetString(L"LAN", L"2"), std::wstring(259, L'b'));
  EXPECT_EQ(ini.GetString(L"LAN", L"3"), std::wstring(259, L'a'));  // quotes do not count
  // Characters, not bytes: 259 Chinese characters are 777 UTF-8 bytes.
  std::wstring chinese(300, L'中');
  const IniFile wide = IniFile::Parse("[LAN]\n1=" + ToUtf8(chinese) + "\n");
  EXPECT_EQ(wide.GetString(L"LAN", L"1"), std::wstring(259, L'中'));
}

TEST(IniFileTest, ReadsUtf16LeWithBomAndUtf8WithOrWithoutBom) {
  // FF FE, then UTF-16LE code units; 😀 is the surrogate pair D83D DE00.
  const std::wstring text = L"[LAN]\r\n57=请连接鼠标 😀\r\n";
  EXPECT_EQ(IniFile::Parse(Utf16LeWithBom(text)).GetString(L"LAN", L"57"), L"请连接鼠标 😀");
  // An odd trailing byte is dropped, not read past.
  EXPECT_EQ(IniFile::Parse(Utf16LeWithBom(text) + "\x41").GetString(L"LAN", L"57"),
            L"请连接鼠标 😀");
  // EF BB BF before the first section must not hide it.
  EXPECT_EQ(IniFile::Parse("\xEF\xBB\xBF[LAN]\n57=" + ToUtf8(L"请连接") + "\n")
                .GetString(L"LAN", L"57"),
            L"请连接");
  EXPECT_EQ(IniFile::Parse("[LAN]\n57=" + ToUtf8(L"请连接")).GetString(L"LAN", L"57"), L"请连接");
}

TEST(IniFileTest, GarbageAndMissingFilesGiveEmptyTexts) {
  std::string garbage;
  for (int i = 0; i < 4096; ++i) garbage.push_back(static_cast<char>((i * 7919) & 0xFF));
  const IniFile junk = IniFile::Parse(garbage + "\n[LAN]\n1=\xC3(\xFF ok\n");
  EXPECT_EQ(junk.GetString(L"LAN", L"1"), L"\uFFFD(\uFFFD ok");
  EXPECT_EQ(IniFile::Parse("").GetString(L"LAN", L"1"), L"");
  EXPECT_EQ(IniFile::Parse("\xFF\xFE").GetString(L"LAN", L"1"), L"");
  EXPECT_EQ(IniFile::Parse("[LAN").GetString(L"LAN", L"1"), L"");
  EXPECT_EQ(IniFile::Load(L"/nonexistent/tk410/1033.lan").GetString(L"LAN", L"1"), L"");
  testing::TempDir dir;
  EXPECT_EQ(IniFile::Load(dir.wide()).GetString(L"LAN", L"1"), L"");  // a folder
}

TEST(IniFileTest, SetStringKeepsOtherEntriesAndSerializesBack) {
  IniFile ini = IniFile::Parse("[TEVO TK410]\nLCID=2052\nOther=x y\n");
  ini.SetString(L"tevo tk410", L"lcid", L"1033");
  ini.SetString(L"TEVO TK410", L"DeviceType", L"101");
  ini.SetString(L"New", L"k", L"v");
  const IniFile back = IniFile::Parse(ini.Serialize());
  EXPECT_EQ(back.GetString(L"TEVO TK410", L"LCID"), L"1033");
  EXPECT_EQ(back.GetString(L"TEVO TK410", L"Other"), L"x y");
  EXPECT_EQ(back.GetString(L"TEVO TK410", L"DeviceType"), L"101");
  EXPECT_EQ(back.GetString(L"New", L"k"), L"v");
  EXPECT_EQ(back.sections().size(), 2u);
}

// SetString edits the file's own lines: only the value it sets changes, a
// missing key joins the end of its section's entries, a missing section the
// end of the file; everything else (comments, blank lines, stray lines,
// spacing, line ends, byte-order marks, bytes that are not UTF-8) stays.
TEST(IniFileTest, SetStringChangesOnlyWhatItSets) {
  struct Case {
    const char* label;
    std::string before;
    const wchar_t* section;
    const wchar_t* key;
    const wchar_t* value;
    std::string after;
  };
  const std::string bom = "\xEF\xBB\xBF";
  const Case cases[] = {
      {"value in place", "; c\r\n[S]\r\nk = 1  \r\nx=2\r\n", L"s", L"K", L"30",
       "; c\r\n[S]\r\nk = 30  \r\nx=2\r\n"},
      {"same value", "[S]\nk=1\n", L"S", L"k", L"1", "[S]\nk=1\n"},
      {"quoted value", "[S]\nk=\"old\"\n", L"S", L"k", L"new", "[S]\nk=new\n"},
      {"empty value", "[S]\nk=\n", L"S", L"k", L"v", "[S]\nk=v\n"},
      {"new key after the last entry", "[S]\na=1\n\n; tail\n[T]\n", L"S", L"k", L"2",
       "[S]\na=1\nk=2\n\n; tail\n[T]\n"},
      {"new key in an empty section", "[S]\r\n[T]\r\n", L"S", L"k", L"2",
       "[S]\r\nk=2\r\n[T]\r\n"},
      {"new key, last line unended", "[S]\na=1", L"S", L"k", L"2", "[S]\na=1\nk=2\n"},
      {"new section", "stray\n[S]\na=1", L"N", L"k", L"v", "stray\n[S]\na=1\n\n[N]\nk=v\n"},
      {"new section, CR LF file", "[S]\r\na=1\r\n", L"N", L"k", L"v",
       "[S]\r\na=1\r\n\r\n[N]\r\nk=v\r\n"},
      {"empty file", "", L"S", L"k", L"v", "[S]\nk=v\n"},
      {"first of two sections", "[S]\n[S]\nk=1\n", L"S", L"k", L"2", "[S]\nk=2\n[S]\nk=1\n"},
      {"bytes that are not UTF-8", "[S]\nx=\xFF\xC3( junk\nk=1\n", L"S", L"k", L"2",
       "[S]\nx=\xFF\xC3( junk\nk=2\n"},
      {"UTF-8 byte-order mark", bom + "[S]\nk=1\n", L"S", L"k", L"2", bom + "[S]\nk=2\n"},
      {"UTF-16LE", Utf16LeWithBom(L"; \u4E2D\r\n[S]\r\nk=1\r\n"), L"S", L"k", L"\u6587",
       Utf16LeWithBom(L"; \u4E2D\r\n[S]\r\nk=\u6587\r\n")},
      {"UTF-16LE new key", Utf16LeWithBom(L"[S]\r\na=1"), L"S", L"k", L"2",
       Utf16LeWithBom(L"[S]\r\na=1\r\nk=2\r\n")},
      // A cut file ends in half a character, which reads as nothing: a line
      // written after it starts on a whole character, or every later
      // character would be read from the wrong pair of bytes.
      {"UTF-16LE new key after half a character", Utf16LeWithBom(L"[S]\r\na=1") + "\x41", L"S",
       L"k", L"2", Utf16LeWithBom(L"[S]\r\na=1\r\nk=2\r\n")},
      {"UTF-16LE new section after half a character", Utf16LeWithBom(L"[S]\r\na=1\r\n") + "\x41",
       L"N", L"k", L"v", Utf16LeWithBom(L"[S]\r\na=1\r\n\r\n[N]\r\nk=v\r\n")},
  };
  for (const Case& c : cases) {
    IniFile ini = IniFile::Parse(c.before);
    ini.SetString(c.section, c.key, c.value);
    EXPECT_EQ(ini.Serialize(), c.after) << c.label;
    EXPECT_EQ(IniFile::Parse(ini.Serialize()).GetString(c.section, c.key), c.value) << c.label;
  }
}

}  // namespace
}  // namespace tk410
