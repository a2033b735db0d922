// Damaged and hostile files fed to both imports: each is either refused
// without any change or applied as a well-formed file would be; never a crash
// or a hang. Worth running under AddressSanitizer.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/text.h"
#include "xml/macro_file.h"
#include "xml/profile_file.h"
#include "xml/xml_file_io.h"
#include "xml/xml_files_fixture.h"

namespace tk410::testing {
namespace {

const std::string kDecl = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n";

std::string Utf16Le(const std::string& ascii) {
  std::string bytes = "\xFF\xFE";
  for (char c : ascii) bytes += std::string{c, '\0'};
  return bytes;
}

// Files that must change nothing, whichever import reads them.
std::vector<std::string> RefusedFiles() {
  const std::string profile =
      kDecl + "<profile>\r\n<profileinfo name=\"p\">\r\n<keyitems>\r\n"
              "<item key_code=\"1\" macro_value=\"1\"/>\r\n</keyitems>\r\n</profileinfo>\r\n"
              "</profile>\r\n";
  std::vector<std::string> files = {
      "",
      "not xml at all",
      std::string("\x00\x01\x02\xFF\xFE\x00", 6),
      kDecl,
      kDecl + "<other/>",
      kDecl + "<profile/><profile/>",
      kDecl + "<profile><profileinfo></profile>",
      kDecl + "</profile>",
      kDecl + "<profile attr=\"unterminated/>",
      kDecl + "<<profile>>",
      Utf16Le("<other><profileinfo/></other>"),
      "\xFE\xFF",
      "\xEF\xBB\xBF",
  };
  // Every cut of a genuine file before its root ends.
  const size_t root_end = profile.rfind("</profile>");
  for (size_t cut = 0; cut < root_end + 9; cut += 3) files.push_back(profile.substr(0, cut));
  return files;
}

TEST_F(XmlFilesTest, RefusedFilesChangeNothing) {
  const auto before = Snapshot();
  int serial = 0;
  for (const std::string& bytes : RefusedFiles()) {
    const std::wstring path = WriteFile("bad" + std::to_string(++serial) + ".xml", bytes);
    dialogs_.Answer(path);
    EXPECT_EQ(ImportProfile(db_, dialogs_, 2, 101), std::nullopt) << serial;
    EXPECT_FALSE(ImportMacroFile(db_, path).Added()) << serial;
  }
  // Too large to be a profile: refused before it is read.
  const std::wstring huge = WriteFile("huge.xml", std::string(kMaxImportFileBytes + 1, ' '));
  dialogs_.Answer(huge);
  EXPECT_EQ(ImportProfile(db_, dialogs_, 2, 101), std::nullopt);
  EXPECT_FALSE(ImportMacroFile(db_, huge).Added());
  EXPECT_EQ(Snapshot(), before);
}

// Well-formed but unusual: huge values, other encodings, many items.
TEST_F(XmlFilesTest, UnusualButWellFormedFilesApply) {
  const std::string big(1 << 20, 'x');
  dialogs_.Answer(WriteFile(
      "big.xml", kDecl + "<profile><profileinfo name=\"" + big + "\"><keyitems><item key_code=\"3\" "
                 "macro_value=\"1\" macro_desc=\"" + big + "\"/></keyitems><Mouse>"
                 "<report_rate value=\"" + big + "\"/></Mouse></profileinfo></profile>"));
  EXPECT_TRUE(ImportProfile(db_, dialogs_, 2, 101).has_value());
  EXPECT_EQ(Config(2, L"report_rate"), big);
  EXPECT_EQ(Rows("SELECT length(macro_desc) FROM t_key_macro_data WHERE profile = 2"),
            (std::vector<std::string>{std::to_string(big.size())}));

  // Latin-1 declared, UTF-16 with a byte-order mark: the same name arrives.
  const std::string latin1 =
      "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?><macro><macroinfo macro_name=\"Zo\xEB\"/>"
      "</macro>";
  MacroImportResult r = ImportMacroFile(db_, WriteFile("latin1.xml", latin1));
  ASSERT_TRUE(r.Added());
  EXPECT_EQ(r.name, L"Zo\u00EB");
  r = ImportMacroFile(db_, WriteFile("utf16.xml",
                                     Utf16Le("<macro><macroinfo macro_name=\"wide\"/></macro>")));
  ASSERT_TRUE(r.Added());
  EXPECT_EQ(r.name, L"wide");

  // 100 000 items: far more steps than a macro holds, so the macro is refused
  // whole; a repeated button keeps its last row, in the order the last rows
  // come in the file.
  std::string steps = kDecl + "<macro><macroinfo macro_name=\"long\"/><macroitems>\r\n";
  std::string keys = kDecl + "<profile><profileinfo><keyitems>\r\n";
  for (int i = 0; i < 100000; ++i) {
    steps += "<item index=\"" + std::to_string(i) + "\" type=\"1\" value=\"65\"/>\r\n";
    keys += "<item key_code=\"" + std::to_string(1 + i % 11) + "\" macro_value=\"" +
            std::to_string(i) + "\"/>\r\n";
  }
  steps += "</macroitems></macro>\r\n";
  keys += "</keyitems></profileinfo></profile>\r\n";
  r = ImportMacroFile(db_, WriteFile("steps.xml", steps));
  EXPECT_FALSE(r.Added());
  EXPECT_EQ(r.limits.refusal, MacroRefusal::kTooManySteps);
  EXPECT_EQ(r.limits.value, 100000);
  EXPECT_EQ(Count("t_macrorecord"), 0);
  dialogs_.Answer(WriteFile("keys.xml", keys));
  EXPECT_TRUE(ImportProfile(db_, dialogs_, 2, 101).has_value());
  EXPECT_EQ(Rows("SELECT key_code, macro_value FROM t_key_macro_data WHERE profile = 2 "
                 "ORDER BY key_id"),
            (std::vector<std::string>{"11|99989", "1|99990", "2|99991", "3|99992", "4|99993",
                                      "5|99994", "6|99995", "7|99996", "8|99997", "9|99998",
                                      "10|99999"}));
}

}  // namespace
}  // namespace tk410::testing
