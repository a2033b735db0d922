// Profile files: exact bytes of an export, the round trip, and how import
// treats partial and unusual files.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "base/text.h"
#include "sync/sync_task.h"
#include "xml/profile_file.h"
#include "xml/xml_files_fixture.h"

namespace tk410::testing {
namespace {

class ProfileFileTest : public XmlFilesTest {
 protected:
  // Profile 2 as tests/data/xml/profile_expected.xml shows it: two button rows
  // (texts that need escaping, a non-ASCII letter, a negative number), two
  // lighting rows with mode 1 active, dpi_count 4, report_rate 3 and no
  // colour row for stage 5. Profile 3 has a button row of its own.
  void BuildKnownProfile() {
    KeyMacroRecord left;
    left.profile = 2;
    left.key_code = 1;
    left.layout_value = 77;
    left.layout_desc = L"layout";
    left.macro_type = 1;
    left.macro_value = 1;
    left.macro_value2 = 240;
    left.macro_desc = L"Left & <Click>";
    ASSERT_GT(db_.SaveKeyRecord(left), 0);
    KeyMacroRecord macro = left;
    macro.key_code = 4;
    macro.macro_type = 9;
    macro.macro_value = 3;
    macro.macro_value2 = 7;
    macro.macro_value3 = -2;
    macro.macro_desc = L"Macro \"\u00DC\"";
    ASSERT_GT(db_.SaveKeyRecord(macro), 0);
    KeyMacroRecord other = left;
    other.profile = 3;
    other.key_code = 9;
    ASSERT_GT(db_.SaveKeyRecord(other), 0);
    Sql("INSERT INTO t_light_data(profile, name, mode, brightness, speed, direction, colorful, "
        "colorindex, color_value, config_func, reserved, status) VALUES "
        "(2, 'steady', 1, 3, 2, 0, 1, 4, 16711680, 5, 6, 1),"
        "(2, 'breath', 2, 1, 1, 1, 0, 0, 255, 0, 0, 0),"
        "(3, 'steady', 1, 9, 9, 9, 9, 9, 9, 0, 0, 1)");
    db_.SetConfigValue(2, L"dpi_count", L"4");
    db_.SetConfigValue(2, L"report_rate", L"3");
    Sql("DELETE FROM t_configdata WHERE profile = 2 AND key = 'dpi_group5_rgb'");
  }

  std::optional<int> Import(const std::string& bytes, int device_type = 101) {
    dialogs_.Answer(WriteFile("import.xml", bytes));
    return ImportProfile(db_, dialogs_, 2, device_type);
  }
};

void ExpectSame(const std::vector<std::string>& now, const std::vector<std::string>& before) {
  ASSERT_EQ(now.size(), before.size());
  for (size_t i = 0; i < now.size(); ++i) EXPECT_EQ(now[i], before[i]) << "row " << i;
}

TEST_F(ProfileFileTest, ExportWritesTheExactLayout) {
  BuildKnownProfile();
  const std::wstring path = dir_.wide() + L"out/profile.xml";
  std::filesystem::create_directories(dir_.path() / "out");
  dialogs_.Answer(path);
  ASSERT_TRUE(ExportProfile(db_, dialogs_, 2, 2, L"Profile 2 'A&B'"));
  const std::string expected = ExpectedFile("profile_expected.xml");
  ASSERT_FALSE(expected.empty());
  EXPECT_EQ(ReadFile(path), expected);

  const auto requests = dialogs_.Requests();
  ASSERT_EQ(requests.size(), 1u);
  EXPECT_EQ(requests[0].kind, FakeFileDialogs::Kind::kSave);
  EXPECT_EQ(requests[0].filter.description, L"Profile (*.xml)");
  EXPECT_EQ(requests[0].filter.pattern, L"*.xml");

  // Cancelled: nothing is written.
  EXPECT_FALSE(ExportProfile(db_, dialogs_, 2, 2, L"x"));
}

TEST_F(ProfileFileTest, ExportTakesButtonsOfTheGivenProfileAndTheRestOfTheCurrentOne) {
  BuildKnownProfile();
  const std::wstring text = BuildProfileDocument(db_, 3, 2, L"P");
  EXPECT_NE(text.find(L"<item key_code=\"9\""), std::wstring::npos);
  EXPECT_EQ(text.find(L"<item key_code=\"1\""), std::wstring::npos);
  EXPECT_NE(text.find(L"<Lightitems light_mode=\"1\">"), std::wstring::npos);
  EXPECT_NE(text.find(L"brightness=\"3\""), std::wstring::npos);  // profile 2's row
  EXPECT_EQ(text.find(L"brightness=\"9\""), std::wstring::npos);
}

TEST_F(ProfileFileTest, RoundTripChangesOnlyKeyIdsAndLayoutColumns) {
  BuildKnownProfile();
  const std::wstring path = dir_.wide() + L"round.xml";
  dialogs_.Answer(path);
  ASSERT_TRUE(ExportProfile(db_, dialogs_, 2, 2, L"Profile 2"));
  const auto before = Snapshot();
  const auto key_ids_before = Rows("SELECT key_id FROM t_key_macro_data WHERE profile = 2");

  dialogs_.Answer(path);
  EXPECT_EQ(ImportProfile(db_, dialogs_, 2, 101), std::optional<int>(kTaskProfileSwitch));
  ExpectSame(Snapshot(), before);
  EXPECT_NE(Rows("SELECT key_id FROM t_key_macro_data WHERE profile = 2"), key_ids_before);
  EXPECT_EQ(Rows("SELECT layout_value, layout_desc FROM t_key_macro_data WHERE profile = 2"),
            (std::vector<std::string>{"0|", "0|"}));

  // The Nordic family downloads the imported profile instead.
  dialogs_.Answer(path);
  EXPECT_EQ(ImportProfile(db_, dialogs_, 2, 201), std::optional<int>(kTaskImportNordic));
  ExpectSame(Snapshot(), before);
  EXPECT_EQ(dialogs_.Requests().back().filter.description, L"MouseKey (*.xml)");
}

// <profile><profileinfo name="n">
//   <Mouse> with report_rate, button_respondtime, leftbtn_lock in that order
// No keyitems, Lightitems or Mouse_DPI.
TEST_F(ProfileFileTest, PartialFilesApplyWhatTheyHoldInOrder) {
  BuildKnownProfile();
  auto result = Import(
      "<?xml version=\"1.0\"?>\r\n<profile><profileinfo name=\"n\"><Mouse>"
      "<report_rate value=\"1\"/><button_respondtime value=\"2\"/>"
      "<leftbtn_lock value=\"0\"/></Mouse></profileinfo></profile>");
  EXPECT_EQ(result, std::optional<int>(kTaskProfileSwitch));
  // Without keyitems every button of the profile returns to its default.
  EXPECT_EQ(Count("t_key_macro_data WHERE profile = 2"), 0);
  EXPECT_EQ(Count("t_key_macro_data WHERE profile = 3"), 1);
  // report_rate comes before button_respondtime, so the search misses it.
  EXPECT_EQ(Config(2, L"report_rate"), "3");
  EXPECT_EQ(Config(2, L"button_respondtime"), "2");
  EXPECT_EQ(Config(2, L"leftbtn_lock"), "0");
  // Untouched sections stay.
  EXPECT_EQ(Config(2, L"dpi_count"), "4");
  EXPECT_EQ(Rows("SELECT brightness, status FROM t_light_data WHERE profile = 2 ORDER BY mode"),
            (std::vector<std::string>{"3|1", "1|0"}));
}

// <Lightitems light_mode="2"> with items for mode 2 (twice: the last wins),
// mode 7 (no row: ignored), and a DPI section whose DPI1 lacks its colour,
// DPI3 is missing and DPI4 comes before DPI2 (so only DPI2 is found).
TEST_F(ProfileFileTest, LightingAndDpiSectionsFollowTheirRules) {
  BuildKnownProfile();
  auto result = Import(
      "<profile><profileinfo>"
      "<keyitems><item key_code=\"11abc\" macro_type=\"-5\" macro_value=\" 7\" "
      "macro_value2=\"x\" macro_desc=\"d\"/>"
      "<item key_code=\"2\" macro_value=\"0\" macro_value2=\"0\"/>"
      "<item key_code=\"3\" macro_value=\"99999999999\"/></keyitems>"
      "<Lightitems light_mode=\"2\">"
      "<item light_mode=\"2\" brightness=\"5\"/>"
      "<item light_mode=\"7\" brightness=\"9\"/>"
      "<item light_mode=\"2\" brightness=\"4\" speed=\"3\" color_value=\"-1\"/>"
      "</Lightitems>"
      "<Mouse_DPI dpi_flag=\"12abc\" dpi_index=\"-5\">"
      "<DPI1 value=\"400\"/><DPI4 value=\"4000\" color=\"1\"/><DPI2 value=\"2\" color=\"2\"/>"
      "</Mouse_DPI></profileinfo></profile>");
  EXPECT_EQ(result, std::optional<int>(kTaskProfileSwitch));
  // Numbers read as _wtoi does; a row with both values 0 stays on the default.
  EXPECT_EQ(Rows("SELECT key_code, macro_type, macro_value, macro_value2, macro_value3, "
                 "macro_desc FROM t_key_macro_data WHERE profile = 2 ORDER BY key_id"),
            (std::vector<std::string>{"11|-5|7|0|0|d", "3|0|2147483647|0|0|"}));
  EXPECT_EQ(Rows("SELECT mode, brightness, speed, color_value, config_func, status "
                 "FROM t_light_data WHERE profile = 2 ORDER BY mode"),
            (std::vector<std::string>{"1|3|2|16711680|5|0", "2|4|3|-1|0|1"}));
  EXPECT_EQ(Count("t_light_data"), 3);
  // Configuration texts are stored as found; a missing attribute stores "".
  EXPECT_EQ(Config(2, L"dpi_flag"), "12abc");
  EXPECT_EQ(Config(2, L"dpi_index"), "-5");
  EXPECT_EQ(Config(2, L"dpi_count"), "");
  EXPECT_EQ(Config(2, L"dpi_group0_value"), "400");
  EXPECT_EQ(Config(2, L"dpi_group0_rgb"), "");
  EXPECT_EQ(Config(2, L"dpi_group1_value"), "2");
  EXPECT_EQ(Config(2, L"dpi_group1_rgb"), "2");
  EXPECT_EQ(Config(2, L"dpi_group3_value"), "4800");  // came before DPI2: missed
  EXPECT_EQ(Config(2, L"dpi_group2_value"), "3200");  // missing
  EXPECT_EQ(Config(2, L"report_rate"), "3");          // no Mouse section
}

// A file naming buttons the mouse does not have: key_code 0 and 12 beside
// the buttons 1 and 11 that both families have.
TEST_F(ProfileFileTest, KeyCodesWithoutAButtonRefuseTheWholeFile) {
  BuildKnownProfile();
  const auto before = Snapshot();
  const std::string items =
      "<item key_code=\"1\" macro_type=\"15\" macro_value=\"1\"/>"
      "<item key_code=\"12\" macro_type=\"15\" macro_value=\"1\"/>"
      "<item key_code=\"11\" macro_type=\"15\" macro_value=\"1\"/>"
      "<item key_code=\"0\" macro_type=\"15\" macro_value=\"1\"/>";
  const std::string file = "<profile><profileinfo><keyitems>" + items +
                           "</keyitems><Mouse><report_rate value=\"1\"/></Mouse>"
                           "</profileinfo></profile>";
  for (int device_type : {101, 201}) {
    dialogs_.Answer(WriteFile("foreign.xml", file));
    ProfileImportReport report;
    EXPECT_EQ(ImportProfile(db_, dialogs_, 2, device_type, &report), std::nullopt) << device_type;
    EXPECT_EQ(report.status, ProfileImportStatus::kForeignKeyCodes);
    EXPECT_EQ(report.foreign_key_codes, (std::vector<int>{0, 12}));
    ExpectSame(Snapshot(), before);
  }
  // A message names ten codes at most.
  EXPECT_EQ(KeyCodeListText({0, 12}), L"0, 12");
  EXPECT_EQ(KeyCodeListText({12, 13, 14, 15, 16, 17, 18, 19, 20, 21, 22}),
            L"12, 13, 14, 15, 16, 17, 18, 19, 20, 21, \u2026");
}

// A statement that fails half-way (here a trigger that aborts one update)
// takes back everything the import did before it.
TEST_F(ProfileFileTest, AFailedStatementRollsBackTheWholeImport) {
  BuildKnownProfile();
  const auto before = Snapshot();
  const std::string file =
      "<profile><profileinfo><keyitems>"
      "<item key_code=\"2\" macro_type=\"15\" macro_value=\"1\"/>"
      "<item key_code=\"3\" macro_type=\"16\" macro_value=\"1\"/></keyitems>"
      "<Lightitems light_mode=\"2\"><item light_mode=\"2\" brightness=\"9\"/></Lightitems>"
      "<Mouse_DPI dpi_flag=\"1\" dpi_index=\"1\" dpi_count=\"1\"/>"
      "<Mouse><report_rate value=\"1\"/><leftbtn_lock value=\"0\"/></Mouse>"
      "</profileinfo></profile>";
  Sql("CREATE TRIGGER refuse_lock BEFORE UPDATE ON t_configdata WHEN NEW.key = 'leftbtn_lock' "
      "BEGIN SELECT RAISE(ABORT, 'refused'); END");
  dialogs_.Answer(WriteFile("import.xml", file));
  ProfileImportReport report;
  EXPECT_EQ(ImportProfile(db_, dialogs_, 2, 101, &report), std::nullopt);
  EXPECT_EQ(report.status, ProfileImportStatus::kNotStored);
  ExpectSame(Snapshot(), before);
  Sql("DROP TRIGGER refuse_lock");

  Sql("CREATE TRIGGER refuse_key BEFORE INSERT ON t_key_macro_data WHEN NEW.key_code = 3 "
      "BEGIN SELECT RAISE(ABORT, 'refused'); END");
  EXPECT_EQ(Import(file), std::nullopt);
  ExpectSame(Snapshot(), before);
  Sql("DROP TRIGGER refuse_key");

  // Nothing is left open: the same file now goes in whole.
  EXPECT_EQ(Import(file), std::optional<int>(kTaskProfileSwitch));
  EXPECT_EQ(Config(2, L"leftbtn_lock"), "0");
  EXPECT_EQ(Rows("SELECT key_code FROM t_key_macro_data WHERE profile = 2 ORDER BY key_code"),
            (std::vector<std::string>{"2", "3"}));
}

TEST_F(ProfileFileTest, CancelledMissingAndForeignFilesChangeNothing) {
  BuildKnownProfile();
  const auto before = Snapshot();
  EXPECT_EQ(ImportProfile(db_, dialogs_, 2, 101), std::nullopt);  // cancelled
  dialogs_.Answer(dir_.wide() + L"missing.xml");
  EXPECT_EQ(ImportProfile(db_, dialogs_, 2, 101), std::nullopt);
  dialogs_.Answer(dir_.wide());  // a folder
  EXPECT_EQ(ImportProfile(db_, dialogs_, 2, 101), std::nullopt);
  EXPECT_EQ(Import("<macro><macroinfo/></macro>"), std::nullopt);
  EXPECT_EQ(Import("<profile><keyitems/></profile>"), std::nullopt);  // no profileinfo
  ExpectSame(Snapshot(), before);
}

}  // namespace
}  // namespace tk410::testing
