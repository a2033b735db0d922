// Files saved by editors in a national code page and declared as such: the
// names arrive as the characters the user typed.

#include <gtest/gtest.h>

#include <string>

#include "base/text.h"
#include "xml/macro_file.h"
#include "xml/profile_file.h"
#include "xml/xml_document.h"
#include "xml/xml_files_fixture.h"

namespace tk410::testing {
namespace {

std::string ProfileIn(const std::string& encoding, const std::string& name_bytes) {
  return "<?xml version=\"1.0\" encoding=\"" + encoding + "\"?>\r\n<profile>\r\n<profileinfo name=\"" +
         name_bytes + "\"/>\r\n</profile>\r\n";
}

std::string MacroIn(const std::string& encoding, const std::string& name_bytes) {
  return "<?xml version=\"1.0\" encoding=\"" + encoding + "\"?>\r\n<macro>\r\n<macroinfo macro_name=\"" +
         name_bytes + "\"/>\r\n</macro>\r\n";
}

// The name bytes in each code page and the text they stand for.
struct Row {
  const char* encoding;
  std::string bytes;
  const wchar_t* text;
};

const Row kRows[] = {
    {"GBK", "\xC5\xE4\xD6\xC3", L"\u914D\u7F6E"},             // 配置
    {"gbk", "\xC5\xE4\xD6\xC3 \x80", L"\u914D\u7F6E \u20AC"},  // the name is case-blind; 80 is €
    // Editors label CP936 text "GB2312"; the euro sign exists only in the wider set.
    {"GB2312", "\xC5\xE4\xD6\xC3\x80", L"\u914D\u7F6E\u20AC"},
    {"GB18030", "\xC5\xE4\x94\x39\xFC\x36", L"\u914D\U0001F600"},  // four-byte form of U+1F600
    {"Windows-1252", "\x80 caf\xE9", L"\u20AC caf\u00E9"},
    {"Shift_JIS", "\x93\xFA\x96\x7B", L"\u65E5\u672C"},  // 日本
    {"ISO-8859-5", "\xB6", L"\u0416"},                   // Ж
    {"ISO-8859-1", "Zo\xEB", L"Zo\u00EB"},
};

TEST_F(XmlFilesTest, NamesInDeclaredCodePagesArriveAsTyped) {
  int serial = 0;
  for (const Row& row : kRows) {
    const std::string tag = std::to_string(++serial);
    const auto profile = ReadProfileFile(WriteFile("p" + tag + ".xml", ProfileIn(row.encoding, row.bytes)));
    ASSERT_TRUE(profile.has_value()) << row.encoding;
    EXPECT_EQ(profile->name, row.text) << row.encoding;
    const MacroImportResult macro =
        ImportMacroFile(db_, WriteFile("m" + tag + ".xml", MacroIn(row.encoding, row.bytes)));
    ASSERT_TRUE(macro.Added()) << row.encoding;
    EXPECT_EQ(macro.name, row.text) << row.encoding;
    // Stored as UTF-8 like any other name.
    EXPECT_EQ(Rows("SELECT name FROM t_macro_data WHERE macro_id = " +
                   std::to_string(macro.macro_id)),
              (std::vector<std::string>{ToUtf8(row.text)}))
        << row.encoding;
  }
}

// Bytes the declared code page has no character for become U+FFFD, one per
// bad byte, and the rest of the file reads on: a lead byte with a bad second
// byte, a byte no sequence starts with, and a lead byte cut off by the end of
// the file (after the root, where it harms nothing).
TEST_F(XmlFilesTest, UndecodableBytesBecomeReplacementCharacters) {
  const std::string bytes = ProfileIn("GBK", "\x81\x20" "A\xFF\xC5\xE4") + "\xC5";
  const std::wstring path = WriteFile("bad.xml", bytes);
  XmlDocument doc;
  ASSERT_TRUE(doc.LoadFile(path));
  EXPECT_NE(doc.GetResult().find(L"conversion_loss"), std::wstring::npos);
  EXPECT_EQ(doc.GetDocText().back(), L'\uFFFD');
  const auto profile = ReadProfileFile(path);
  ASSERT_TRUE(profile.has_value());
  EXPECT_EQ(profile->name, L"\uFFFD A\uFFFD\u914D");
}

// A name no converter knows, or one whose declaration would not even read as
// ASCII, is read byte for byte as Latin-1, and the load says so.
TEST_F(XmlFilesTest, UnknownCodePageReadsAsLatin1) {
  for (const char* encoding : {"x-no-such-code-page", "UTF-32", "EBCDIC-US", "GBK//TRANSLIT"}) {
    XmlDocument doc;
    ASSERT_TRUE(doc.LoadFile(WriteFile("unknown.xml", ProfileIn(encoding, "caf\xE9"))));
    EXPECT_NE(doc.GetResult().find(L"unknown_encoding"), std::wstring::npos) << encoding;
    ASSERT_TRUE(doc.ParseDocument() && doc.FindElement(L"profile") && doc.EnterElement() &&
                doc.FindElement(L"profileinfo"))
        << encoding;
    EXPECT_EQ(doc.GetAttribute(L"name"), L"caf\u00E9") << encoding;
  }
}

}  // namespace
}  // namespace tk410::testing
