// Macro files: exact bytes of an export, safe file names, and import as a
// new macro.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "base/clock.h"
#include "base/text.h"
#include "xml/macro_file.h"
#include "xml/xml_files_fixture.h"

namespace tk410::testing {
namespace {

namespace fs = std::filesystem;

class MacroFileTest : public XmlFilesTest {
 protected:
  MacroFileTest() { fs::create_directories(dir_.path() / "out"); }

  // The macro of tests/data/xml/macro_expected.xml: play_type 2, three steps
  // stored out of order with a gap in their indexes.
  int BuildKnownMacro() {
    MacroRecord macro;
    macro.name = L"stored name";
    macro.play_type = 2;
    macro.play_times = 3;
    macro.delay_type = 1;
    macro.delay_time = 15;
    const int id = db_.AddMacro(macro);
    EXPECT_GT(id, 0);
    db_.AddMacroEvent(MacroEvent{0, id, 9, 5, 2, -1, L"Wait"});
    db_.AddMacroEvent(MacroEvent{0, id, 1, 0, 65, 100, L"A"});
    db_.AddMacroEvent(MacroEvent{0, id, 2, 1, 65, 100, L"A"});
    return id;
  }

  std::wstring Out() const { return dir_.wide() + L"out"; }

  MacroImportResult Import(const std::string& bytes) {
    dialogs_.Answer(WriteFile("import.xml", bytes));
    return ImportMacro(db_, dialogs_);
  }

  ManualClock clock_{5000};
};

TEST_F(MacroFileTest, ExportWritesTheExactLayoutUnderTheListName) {
  const int id = BuildKnownMacro();
  dialogs_.Answer(Out());
  std::wstring path;
  ASSERT_TRUE(ExportMacro(db_, dialogs_, clock_, id, L"Fire <1>", &path));
  EXPECT_EQ(path, Out() + L"/Fire _1_-5000.xml");
  const std::string expected = ExpectedFile("macro_expected.xml");
  ASSERT_FALSE(expected.empty());
  EXPECT_EQ(ReadFile(path), expected);

  const auto requests = dialogs_.Requests();
  ASSERT_EQ(requests.size(), 1u);
  EXPECT_EQ(requests[0].kind, FakeFileDialogs::Kind::kFolder);
  EXPECT_EQ(requests[0].title, L"Macro");

  // A second export later gives a second file; a cancelled folder choice none.
  clock_.AdvanceMs(1234);
  dialogs_.Answer(Out() + L"/");
  std::wstring second;
  ASSERT_TRUE(ExportMacro(db_, dialogs_, clock_, id, L"Fire <1>", &second));
  EXPECT_EQ(second, Out() + L"/Fire _1_-6234.xml");
  EXPECT_FALSE(ExportMacro(db_, dialogs_, clock_, id, L"Fire <1>"));
  EXPECT_EQ(std::distance(fs::directory_iterator(dir_.path() / "out"), fs::directory_iterator()),
            2);
}

TEST_F(MacroFileTest, SafeFileNames) {
  struct Case {
    std::wstring name;
    std::wstring safe;
  };
  const Case cases[] = {
      {L"M", L"M"},
      {L"Zo\u00EB \u5B8F", L"Zo\u00EB \u5B8F"},
      {L"../x/y", L"___x_y"},
      {L"..\\..\\x", L"___.._x"},
      {L"a:b*c?d\"e<f>g|h", L"a_b_c_d_e_f_g_h"},
      {L"tab\there\n", L"tab_here_"},
      {L"", L"_"},
      {L".", L"_"},
      {L"..", L"__"},
      {L".hidden", L"_hidden"},
      {L"end. ", L"end__"},
      {std::wstring(300, L'a'), std::wstring(200, L'a')},
      // Three UTF-8 bytes each: cut on a character boundary.
      {std::wstring(100, L'\u5B8F'), std::wstring(66, L'\u5B8F')},
  };
  for (const Case& c : cases) EXPECT_EQ(SafeFileName(c.name), c.safe) << ToUtf8(c.name);
}

TEST_F(MacroFileTest, NameWithPathPartsStaysInTheChosenFolder) {
  MacroRecord macro;
  macro.name = L"../x/y";
  const int id = db_.AddMacro(macro);
  fs::create_directories(dir_.path() / "out" / ".." / "x");  // a target an unsafe name would hit
  dialogs_.Answer(Out());
  std::wstring path;
  ASSERT_TRUE(ExportMacro(db_, dialogs_, clock_, id, L"../x/y", &path));

  std::vector<fs::path> files;
  for (const auto& entry : fs::recursive_directory_iterator(dir_.path())) {
    if (entry.is_regular_file() && entry.path().extension() == ".xml") files.push_back(entry.path());
  }
  ASSERT_EQ(files.size(), 1u);
  EXPECT_EQ(files[0].parent_path(), dir_.path() / "out");
  EXPECT_EQ(files[0].filename(), "___x_y-5000.xml");

  // The name inside the file is the macro's own.
  dialogs_.Answer(FromUtf8(files[0].string()));
  const MacroImportResult imported = ImportMacro(db_, dialogs_);
  EXPECT_TRUE(imported.Added());
  EXPECT_EQ(imported.name, L"../x/y");
}

// <macro><macroinfo macro_name="Twice" macro_type="1" play_times="12abc"
//   delay_type="2"/><macroitems> items with indexes 7, 2, 4 </macroitems></macro>
// (the missing fixed delay is clamped to 10, as the delay edit clamps it)
TEST_F(MacroFileTest, ImportAlwaysAddsANewMacroWithTheFileIndexes) {
  const std::string file =
      "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n<macro>\r\n"
      "<macroinfo macro_name=\"Twice\" macro_type=\"1\" play_times=\"12abc\" delay_type=\"2\"/>"
      "<macroitems><item desc=\"c\" index=\"7\" type=\"2\" value=\"67\" timestamp=\"30\"/>"
      "<item desc=\"a\" index=\"2\" type=\"1\" value=\"65\" timestamp=\"10\"/>"
      "<item index=\"4\" type=\"8\"/></macroitems></macro>\r\n";
  const MacroImportResult first = Import(file);
  const MacroImportResult second = Import(file);
  ASSERT_TRUE(first.Added());
  ASSERT_TRUE(second.Added());
  EXPECT_NE(first.macro_id, second.macro_id);
  EXPECT_EQ(first.name, L"Twice");
  EXPECT_EQ(Rows("SELECT name, play_type, play_times, delay_type, delay_time FROM t_macro_data"),
            (std::vector<std::string>{"Twice|1|12|2|10", "Twice|1|12|2|10"}));
  RecordList<MacroEvent> steps;
  ASSERT_EQ(db_.LoadMacroEvents(second.macro_id, steps), 3);
  EXPECT_EQ(steps[0]->record_index, 2);
  EXPECT_EQ(steps[0]->desc, L"a");
  EXPECT_EQ(steps[1]->record_index, 4);
  EXPECT_EQ(steps[1]->desc, L"");
  EXPECT_EQ(steps[2]->record_index, 7);
  EXPECT_EQ(steps[2]->delay_time, 30);
  EXPECT_EQ(dialogs_.Requests().back().filter.description, L"Macros (*.xml)");
}

TEST_F(MacroFileTest, ExportedMacroImportsAsAnEqualCopy) {
  const int id = BuildKnownMacro();
  dialogs_.Answer(Out());
  std::wstring path;
  ASSERT_TRUE(ExportMacro(db_, dialogs_, clock_, id, L"Fire <1>", &path));
  dialogs_.Answer(path);
  const MacroImportResult copy = ImportMacro(db_, dialogs_);
  ASSERT_TRUE(copy.Added());
  EXPECT_EQ(Rows("SELECT play_type, play_times, delay_type, delay_time FROM t_macro_data "
                 "WHERE macro_id = " + std::to_string(copy.macro_id)),
            (std::vector<std::string>{"2|3|1|15"}));
  const std::string steps =
      "SELECT type, record_index, desc, value, delay_time FROM t_macrorecord WHERE macro_id = ";
  EXPECT_EQ(Rows(steps + std::to_string(copy.macro_id) + " ORDER BY record_index"),
            Rows(steps + std::to_string(id) + " ORDER BY record_index"));
}

TEST_F(MacroFileTest, PartialAndForeignFiles) {
  // No macroitems: a macro without steps. No macroinfo: empty name, zeros
  // (the repeat count clamped to 1, as the repeat edit clamps it).
  MacroImportResult r = Import("<macro><macroinfo macro_name=\"bare\"/></macro>");
  ASSERT_TRUE(r.Added());
  EXPECT_EQ(Count("t_macrorecord"), 0);
  r = Import("<macro><macroitems><item index=\"3\" type=\"9\"/></macroitems></macro>");
  ASSERT_TRUE(r.Added());
  EXPECT_EQ(r.name, L"");
  EXPECT_EQ(Rows("SELECT name, play_type, play_times, delay_type, delay_time FROM t_macro_data "
                 "WHERE macro_id = " + std::to_string(r.macro_id)),
            (std::vector<std::string>{"|0|1|0|0"}));
  EXPECT_EQ(Count("t_macrorecord"), 1);

  const auto before = Snapshot();
  r = Import("<profile><profileinfo/></profile>");
  EXPECT_TRUE(r.file_chosen);
  EXPECT_FALSE(r.Added());
  r = Import("<macro><macroinfo>");
  EXPECT_TRUE(r.file_chosen);
  EXPECT_FALSE(r.Added());
  dialogs_.Answer(dir_.wide() + L"missing.xml");
  EXPECT_FALSE(ImportMacro(db_, dialogs_).file_chosen);
  EXPECT_FALSE(ImportMacro(db_, dialogs_).file_chosen);  // cancelled
  EXPECT_EQ(Snapshot(), before);
}

TEST_F(MacroFileTest, FailedInsertGivesNoMacroNumber) {
  Sql("DROP TABLE t_macro_data");
  const MacroImportResult r =
      Import("<macro><macroinfo macro_name=\"m\"/><macroitems><item index=\"1\" type=\"9\"/></macroitems>"
             "</macro>");
  EXPECT_TRUE(r.file_chosen);
  EXPECT_FALSE(r.Added());
  EXPECT_EQ(r.macro_id, 0);
  EXPECT_EQ(Count("t_macrorecord"), 0);  // no steps under number 0 either
}

}  // namespace
}  // namespace tk410::testing
