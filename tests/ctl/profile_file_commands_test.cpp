// tk410ctl profile export and import: the round trip through a fresh data
// directory, files that are refused, and what a refused file leaves behind.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "ctl/ctl_runner.h"

namespace tk410::testing {
namespace {

const std::string kDecl = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n";

// A profile file with the given key items and a Mouse section.
std::string ProfileText(const std::string& items, const std::string& report_rate) {
  return kDecl + "<profile>\r\n<profileinfo name=\"x\">\r\n<keyitems>\r\n" + items +
         "</keyitems>\r\n<Mouse>\r\n<report_rate value=\"" + report_rate +
         "\"/>\r\n</Mouse>\r\n</profileinfo>\r\n</profile>\r\n";
}

std::string Item(int key_code, int macro_value) {
  return "<item key_code=\"" + std::to_string(key_code) + "\" macro_type=\"22\" macro_value=\"" +
         std::to_string(macro_value) + "\" macro_value2=\"1\" macro_value3=\"0\" macro_desc=\"k\"/>\r\n";
}

TEST(CtlProfileFileTest, ExportImportIntoAFreshDataDirectoryAndExportAgainIsByteIdentical) {
  CtlRunner ctl;
  ASSERT_EQ(ctl.Run({"profile", "select", "2"}).code, 0);
  ASSERT_EQ(ctl.Run({"assign", "4", "key", "A", "ctrl+alt"}).code, 0);
  ASSERT_EQ(ctl.Run({"assign", "8", "dpi-up"}).code, 0);
  ASSERT_EQ(ctl.Run({"assign", "10", "emoji", "3"}).code, 0);
  ASSERT_EQ(ctl.Run({"set", "dpi_group1_value", "2100"}).code, 0);
  ASSERT_EQ(ctl.Run({"set", "report_rate", "1"}).code, 0);

  const std::string first = (ctl.Dir().path() / "first.xml").string();
  const CtlRun exported = ctl.Run({"profile", "export", first});
  ASSERT_EQ(exported.code, 0) << exported.err;
  EXPECT_TRUE(exported.err.empty());
  const std::string bytes = ctl.Dir().Read("first.xml");
  // The profile's displayed name and what was set are in the file.
  EXPECT_NE(bytes.find("<profileinfo name=\"Profile 2\">"), std::string::npos) << bytes;
  EXPECT_NE(bytes.find("key_code=\"4\" macro_type=\"22\""), std::string::npos);
  EXPECT_NE(bytes.find("<DPI2 value=\"2100\""), std::string::npos);

  // A fresh data directory with the same profile selected.
  ASSERT_EQ(ctl.RunIn("fresh", {"profile", "select", "2"}).code, 0);
  const CtlRun imported = ctl.RunIn("fresh", {"profile", "import", first});
  ASSERT_EQ(imported.code, 0) << imported.err;
  EXPECT_EQ(ctl.RunIn("fresh", {"get", "report_rate"}).out, "1\n");
  const std::string second = (ctl.Dir().path() / "second.xml").string();
  ASSERT_EQ(ctl.RunIn("fresh", {"profile", "export", second}).code, 0);
  EXPECT_EQ(ctl.Dir().Read("second.xml"), bytes);

  // --json names the file and the profile.
  const CtlRun json = ctl.RunIn("fresh", {"--json", "profile", "import", second});
  ASSERT_EQ(json.code, 0) << json.err;
  EXPECT_NE(json.out.find("\"profile\":2"), std::string::npos) << json.out;
  EXPECT_NE(json.out.find("second.xml\""), std::string::npos) << json.out;
  const CtlRun json_export = ctl.RunIn("fresh", {"--json", "profile", "export", second});
  ASSERT_EQ(json_export.code, 0) << json_export.err;
  EXPECT_NE(json_export.out.find("\"file\":"), std::string::npos) << json_export.out;
  EXPECT_EQ(ctl.Dir().Read("second.xml"), bytes);
}

TEST(CtlProfileFileTest, FilesThatCannotBeReadExitThreeWithOneLineAndChangeNothing) {
  CtlRunner ctl;
  ASSERT_EQ(ctl.Run({"assign", "4", "dpi-up"}).code, 0);
  const std::string before = (ctl.Dir().path() / "before.xml").string();
  ASSERT_EQ(ctl.Run({"profile", "export", before}).code, 0);

  struct Bad {
    const char* name;
    std::string bytes;
  };
  const Bad files[] = {
      {"empty.xml", ""},
      {"text.xml", "not xml at all"},
      {"macro.xml", kDecl + "<macro><macroinfo macro_name=\"m\"/></macro>"},
      {"noinfo.xml", kDecl + "<profile><keyitems/></profile>"},
      {"cut.xml", ProfileText(Item(4, 9), "1").substr(0, 90)},
  };
  std::vector<std::string> paths;
  for (const Bad& f : files) paths.push_back(ctl.Dir().Write(f.name, f.bytes).string());
  paths.push_back((ctl.Dir().path() / "missing.xml").string());
  paths.push_back(ctl.Dir().path().string());  // a folder
  for (const std::string& path : paths) {
    const CtlRun run = ctl.Run({"profile", "import", path});
    EXPECT_EQ(run.code, 3) << path;
    EXPECT_TRUE(run.out.empty()) << path;
    EXPECT_EQ(Lines(run.err).size(), 1u) << path << ": " << run.err;
    EXPECT_NE(run.err.find(path), std::string::npos) << run.err;
  }
  // Export into a folder that does not exist.
  const CtlRun unwritable =
      ctl.Run({"profile", "export", (ctl.Dir().path() / "no" / "such" / "p.xml").string()});
  EXPECT_EQ(unwritable.code, 3);
  EXPECT_EQ(Lines(unwritable.err).size(), 1u) << unwritable.err;
  // Usage errors.
  EXPECT_EQ(ctl.Run({"profile", "import"}).code, 2);
  EXPECT_EQ(ctl.Run({"profile", "export"}).code, 2);
  EXPECT_EQ(ctl.Run({"profile", "export", "a.xml", "b.xml"}).code, 2);

  const std::string after = (ctl.Dir().path() / "after.xml").string();
  ASSERT_EQ(ctl.Run({"profile", "export", after}).code, 0);
  EXPECT_EQ(ctl.Dir().Read("after.xml"), ctl.Dir().Read("before.xml"));
}

TEST(CtlProfileFileTest, KeyCodesWithoutAButtonAreNamedAndNothingChanges) {
  CtlRunner ctl;
  ASSERT_EQ(ctl.Run({"assign", "4", "dpi-up"}).code, 0);
  ASSERT_EQ(ctl.Run({"set", "report_rate", "1"}).code, 0);
  const std::string before = (ctl.Dir().path() / "before.xml").string();
  ASSERT_EQ(ctl.Run({"profile", "export", before}).code, 0);

  // Button 11 is the last one both families have; 0, 12 and 300 name none.
  // A repeated foreign code is named once; the list is sorted.
  const std::string file =
      ctl.Dir()
          .Write("foreign.xml", ProfileText(Item(1, 5) + Item(300, 6) + Item(11, 7) + Item(0, 8) +
                                                Item(12, 9) + Item(300, 10),
                                            "3"))
          .string();
  for (const char* type : {"101", "201"}) {
    const CtlRun run = ctl.Run({"--device-type", type, "profile", "import", file});
    EXPECT_EQ(run.code, 3) << type;
    ASSERT_EQ(Lines(run.err).size(), 1u) << run.err;
    EXPECT_NE(run.err.find("0, 12, 300"), std::string::npos) << run.err;
  }
  const std::string after = (ctl.Dir().path() / "after.xml").string();
  ASSERT_EQ(ctl.Run({"profile", "export", after}).code, 0);
  EXPECT_EQ(ctl.Dir().Read("after.xml"), ctl.Dir().Read("before.xml"));
  EXPECT_EQ(ctl.Run({"get", "report_rate"}).out, "1\n");

  // The same file without the foreign items is taken, the last item of a
  // repeated button deciding.
  const std::string good =
      ctl.Dir().Write("good.xml", ProfileText(Item(1, 5) + Item(11, 7) + Item(1, 6), "3")).string();
  const CtlRun run = ctl.Run({"profile", "import", good});
  ASSERT_EQ(run.code, 0) << run.err;
  EXPECT_EQ(ctl.Run({"get", "report_rate"}).out, "3\n");
  const std::string now = (ctl.Dir().path() / "now.xml").string();
  ASSERT_EQ(ctl.Run({"profile", "export", now}).code, 0);
  const std::string bytes = ctl.Dir().Read("now.xml");
  EXPECT_EQ(bytes.find("key_code=\"4\""), std::string::npos);  // replaced
  EXPECT_NE(bytes.find("key_code=\"1\" macro_type=\"22\" macro_value=\"6\""), std::string::npos);
  EXPECT_NE(bytes.find("key_code=\"11\""), std::string::npos);
}

}  // namespace
}  // namespace tk410::testing
