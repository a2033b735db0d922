// tk410ctl macro export and import: the window's file routines from the
// command line, the limits an imported macro must keep, and texts from
// imported files printed without their control characters reaching the
// terminal.
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <filesystem>
#include <functional>
#include <fstream>
#include <sstream>

#include "base/text.h"
#include "ctl/ctl_runner.h"
#include "store/config_database.h"

namespace tk410::testing {
namespace {

namespace fs = std::filesystem;

// A macro file as the program writes one: CR LF, one element per line.
std::string MacroFile(const std::string& info, const std::vector<std::string>& items) {
  std::string text = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n<macro>\r\n<macroinfo " + info +
                     "/>\r\n<macroitems>\r\n";
  for (const auto& item : items) text += "<item " + item + "/>\r\n";
  return text + "</macroitems>\r\n</macro>\r\n";
}

std::string Item(int index, int type, int value, int timestamp, const std::string& desc = "s") {
  return "desc=\"" + desc + "\" index=\"" + std::to_string(index) + "\" type=\"" + std::to_string(type) +
         "\" value=\"" + std::to_string(value) + "\" timestamp=\"" + std::to_string(timestamp) + "\"";
}

// `count` key steps, A down and up in turn.
std::vector<std::string> KeySteps(int count) {
  std::vector<std::string> items;
  for (int i = 0; i < count; ++i) items.push_back(Item(i, i % 2 == 0 ? 2 : 3, 65, i / 2));
  return items;
}

std::string Info(const std::string& name, int play_type = 0, int play_times = 1, int delay_type = 1,
                 int delay_time = 0) {
  return "macro_name=\"" + name + "\" macro_type=\"" + std::to_string(play_type) + "\" play_times=\"" +
         std::to_string(play_times) + "\" delay_type=\"" + std::to_string(delay_type) +
         "\" delay_time=\"" + std::to_string(delay_time) + "\"";
}

class CtlMacroFileTest : public ::testing::Test {
 protected:
  std::string Write(const std::string& name, const std::string& bytes) {
    const fs::path path = ctl_.Dir().path() / name;
    std::ofstream(path, std::ios::binary) << bytes;
    return path.string();
  }
  std::string Folder(const std::string& name) {
    const fs::path path = ctl_.Dir().path() / name;
    fs::create_directories(path);
    return path.string();
  }
  static std::string Read(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
  }
  size_t MacroCount(const std::string& data = "data") const {
    return Lines(ctl_.RunIn(data, {"macro", "list"}).out).size();
  }
  // The settings database of the data folder, opened beside the tool (after
  // a first run created it).
  void WithDb(const std::function<void(ConfigDatabase&)>& action, const wchar_t* name = L"TK410") const {
    ConfigDatabase db;
    ASSERT_TRUE(db.OpenForDevice(FromUtf8(ctl_.DataDir()) + L"/", name));
    action(db);
    db.Close();
  }
  void Sql(const std::string& statement) const {
    sqlite3* raw = nullptr;
    ASSERT_EQ(sqlite3_open((ctl_.DataDir() + "/db/TK410_data_kvr.db").c_str(), &raw), SQLITE_OK);
    EXPECT_EQ(sqlite3_exec(raw, statement.c_str(), nullptr, nullptr, nullptr), SQLITE_OK) << statement;
    sqlite3_close(raw);
  }

  CtlRunner ctl_;
};

// The exported file holds exactly the imported bytes: every value lies
// within the limits, so nothing is changed on the way in or out.
TEST_F(CtlMacroFileTest, ExportImportRoundTripThroughAFreshDataFolder) {
  const std::string original = MacroFile(
      Info("Combo", 0, 3, 2, 40),
      {Item(0, 2, 65, 7, "\xE2\x86\x93  A"), Item(1, 1, 30, 8, " -   30 ms"), Item(2, 3, 65, 7, "\xE2\x86\x91  A"),
       Item(3, 12, 0x8081, 9, "\xE2\x86\x90  1,\xE2\x86\x91  1"), Item(4, 4, 1, 10, "\xE2\x86\x91  Scroll Up"),
       Item(5, 5, 2, 10, "\xE2\x86\x91  Scroll Up"), Item(6, 8, 1, 11, "\xE2\x86\x91  1")});
  const std::string in = Write("in.xml", original);

  CtlRun run = ctl_.Run({"macro", "import", in});
  ASSERT_EQ(run.code, 0) << run.err;
  EXPECT_EQ(run.out, "1 Combo\n");

  const std::string out1 = Folder("out1");
  run = ctl_.Run({"macro", "export", "1", out1});
  ASSERT_EQ(run.code, 0) << run.err;
  const auto printed = Lines(run.out);
  ASSERT_EQ(printed.size(), 1u) << run.out;
  const fs::path first = printed[0];
  EXPECT_EQ(first.parent_path(), fs::path(out1));
  EXPECT_EQ(first.filename().string().rfind("Combo-", 0), 0u) << first;
  EXPECT_EQ(first.extension(), ".xml");
  EXPECT_EQ(Read(first.string()), original);

  // Into a fresh data folder and out again: the same file under a new tick.
  run = ctl_.RunIn("fresh", {"--json", "macro", "import", first.string()});
  ASSERT_EQ(run.code, 0) << run.err;
  EXPECT_EQ(run.out, "{\"id\":1,\"name\":\"Combo\"}\n");
  const std::string out2 = Folder("out2");
  run = ctl_.RunIn("fresh", {"--json", "macro", "export", "1", out2});
  ASSERT_EQ(run.code, 0) << run.err;
  std::vector<fs::path> files;
  for (const auto& entry : fs::directory_iterator(out2)) files.push_back(entry.path());
  ASSERT_EQ(files.size(), 1u);
  EXPECT_EQ(run.out, "{\"file\":\"" + files[0].string() + "\"}\n");
  EXPECT_EQ(Read(files[0].string()), original);
  EXPECT_EQ(files[0].filename().string().rfind("Combo-", 0), 0u);
}

TEST_F(CtlMacroFileTest, UnreadableFilesAndBadArgumentsEndWithOneLine) {
  ASSERT_EQ(ctl_.Run({"macro", "new", "Kept"}).code, 0);
  const std::string missing = (ctl_.Dir().path() / "missing.xml").string();
  const std::string folder = Folder("a-folder");
  const std::string ill_formed = Write("bad.xml", "<macro><macroinfo>");
  const std::string foreign = Write("profile.xml", "<profile><profileinfo name=\"p\"/></profile>");
  const std::string empty = Write("empty.xml", "");
  struct Case {
    const char* what;
    std::vector<std::string> args;
    int code;
    const char* message_part;
  };
  const Case cases[] = {
      {"missing file", {"macro", "import", missing}, 3, "missing.xml"},
      {"folder", {"macro", "import", folder}, 3, "a-folder"},
      {"ill-formed", {"macro", "import", ill_formed}, 3, "not a macro file"},
      {"other root", {"macro", "import", foreign}, 3, "not a macro file"},
      {"empty", {"macro", "import", empty}, 3, "not a macro file"},
      {"no file", {"macro", "import"}, 2, "macro import"},
      {"two files", {"macro", "import", foreign, foreign}, 2, "macro import"},
      {"unknown macro", {"macro", "export", "9", folder}, 3, "no macro 9"},
      {"no folder", {"macro", "export", "1"}, 2, "macro export"},
      {"bad id", {"macro", "export", "one", folder}, 2, "macro export"},
      {"missing folder", {"macro", "export", "1", folder + "/no/such"}, 3, "cannot write"},
  };
  for (const auto& c : cases) {
    const CtlRun run = ctl_.Run(c.args);
    EXPECT_EQ(run.code, c.code) << c.what << ": " << run.err;
    const auto lines = Lines(run.err);
    ASSERT_EQ(lines.size(), 1u) << c.what << ": " << run.err;
    EXPECT_NE(lines[0].find(c.message_part), std::string::npos) << c.what << ": " << lines[0];
    EXPECT_TRUE(run.out.empty()) << c.what << ": " << run.out;
  }
  EXPECT_EQ(MacroCount(), 1u);
  EXPECT_TRUE(fs::is_empty(folder));
}

// What the macro page itself can never store is refused whole; what its
// edits clamp is clamped the same way.
TEST_F(CtlMacroFileTest, MacrosPastTheLimitsAreRefusedAndNothingIsStored) {
  struct Case {
    const char* what;
    std::string file;
    const char* message_part;
  };
  const Case refused[] = {
      {"201 steps", MacroFile(Info("big"), KeySteps(201)), "201 steps"},
      {"20000 steps", MacroFile(Info("huge"), KeySteps(20000)), "20000 steps"},
      {"play type", MacroFile(Info("p", 7), KeySteps(2)), "play type 7"},
      {"delay type", MacroFile(Info("d", 0, 1, -5), KeySteps(2)), "delay type -5"},
      {"step type", MacroFile(Info("t"), {Item(0, 2, 65, 1), Item(1, 13, 1, 2)}), "type 13"},
      {"step type 0", MacroFile(Info("t"), {"index=\"0\""}), "type 0"},
      {"key code", MacroFile(Info("k"), {Item(0, 2, 300, 1)}), "value 300"},
      {"button mask", MacroFile(Info("b"), {Item(0, 4, -1, 1)}), "value -1"},
      {"move bits", MacroFile(Info("m"), {Item(0, 12, 0x10000, 1)}), "value 65536"},
  };
  for (const auto& c : refused) {
    const CtlRun run = ctl_.Run({"macro", "import", Write("refused.xml", c.file)});
    EXPECT_EQ(run.code, 3) << c.what << ": " << run.err;
    const auto lines = Lines(run.err);
    ASSERT_EQ(lines.size(), 1u) << c.what << ": " << run.err;
    EXPECT_NE(lines[0].find(c.message_part), std::string::npos) << c.what << ": " << lines[0];
    EXPECT_TRUE(run.out.empty()) << c.what;
  }
  EXPECT_EQ(MacroCount(), 0u);

  // 200 steps fit; values are clamped as the delay, repeat and move edits clamp them.
  ASSERT_EQ(ctl_.Run({"macro", "import", Write("full.xml", MacroFile(Info("full"), KeySteps(200)))}).code, 0);
  const std::string clamped = MacroFile(
      Info("clamped", 0, 100000, 2, -5),
      {Item(0, 1, 99999, 1), Item(1, 1, -5, 2), Item(2, 8, 500, 3), Item(3, 11, -9, 4),
       Item(4, 12, 0x7F7F, 5), Item(5, 6, 123456, 6)});
  CtlRun run = ctl_.Run({"macro", "import", Write("clamped.xml", clamped)});
  ASSERT_EQ(run.code, 0) << run.err;
  run = ctl_.Run({"--json", "macro", "show", "2"});
  ASSERT_EQ(run.code, 0) << run.err;
  EXPECT_EQ(run.out,
            "{\"id\":2,\"name\":\"clamped\",\"play_type\":0,\"play_times\":255,\"delay_type\":2,"
            "\"delay_time\":10,\"steps\":[{\"type\":1,\"value\":15000,\"time\":1,\"text\":\"s\"},"
            "{\"type\":1,\"value\":1,\"time\":2,\"text\":\"s\"},{\"type\":8,\"value\":127,\"time\":3,\"text\":\"s\"},"
            "{\"type\":11,\"value\":0,\"time\":4,\"text\":\"s\"},{\"type\":12,\"value\":3967,\"time\":5,\"text\":\"s\"},"
            "{\"type\":6,\"value\":123456,\"time\":6,\"text\":\"s\"}]}\n");

  // The 33rd macro is refused as the macro page refuses it.
  for (int i = 3; i <= 32; ++i) ASSERT_EQ(ctl_.Run({"macro", "new"}).code, 0) << i;
  run = ctl_.Run({"macro", "import", Write("one.xml", MacroFile(Info("one"), KeySteps(2)))});
  EXPECT_EQ(run.code, 3);
  EXPECT_NE(run.err.find("32 macros"), std::string::npos) << run.err;
  EXPECT_EQ(MacroCount(), 32u);
}

// ESC ] 0 ; ... BEL sets a terminal's title; ESC ] 52 ; c ; ... BEL its
// clipboard. Printed as \x1b and \x07 (C1 controls as \u0080..\u009f); a
// backslash is doubled so the escape cannot be forged.
TEST_F(CtlMacroFileTest, ControlCharactersFromFilesArePrintedEscaped) {
  const std::string file = MacroFile(Info("T&#27;]0;owned&#7;\\x"),
                                     {Item(0, 2, 65, 1, "&#27;]52;c;aGk=&#7;"), Item(1, 3, 65, 1, "tab&#9;end&#155;2J")});
  CtlRun run = ctl_.Run({"macro", "import", Write("title.xml", file)});
  ASSERT_EQ(run.code, 0) << run.err;
  EXPECT_EQ(run.out, "1 T\\x1b]0;owned\\x07\\\\x\n");

  run = ctl_.Run({"macro", "list"});
  EXPECT_EQ(run.out, "1 T\\x1b]0;owned\\x07\\\\x (2 steps)\n");
  run = ctl_.Run({"macro", "show", "1"});
  const auto lines = Lines(run.out);
  ASSERT_EQ(lines.size(), 3u) << run.out;
  EXPECT_EQ(lines[0].rfind("1 T\\x1b]0;owned\\x07\\\\x: play_type 0", 0), 0u) << lines[0];
  EXPECT_EQ(lines[1], "  2 65 1 \\x1b]52;c;aGk=\\x07");
  EXPECT_EQ(lines[2], "  3 65 1 tab\\x09end\\u009b2J");  // U+009B: CSI of 8-bit terminals
  // JSON has escapes of its own and stays as it was.
  run = ctl_.Run({"--json", "macro", "list"});
  EXPECT_NE(run.out.find("\"name\":\"T\\u001b]0;owned\\u0007\\\\x\""), std::string::npos) << run.out;

  // Profile names and setting values that arrive with a profile file.
  WithDb([](ConfigDatabase& db) { ASSERT_TRUE(db.SetConfigValue(1, L"light_mode", L"\x1b]0;x\x07")); });
  Sql("UPDATE t_profile_data SET name = 'P' || char(27) || '[2J' WHERE profile = 2");
  run = ctl_.Run({"get", "light_mode"});
  EXPECT_EQ(run.out, "\\x1b]0;x\\x07\n");
  run = ctl_.Run({"get"});
  EXPECT_NE(run.out.find("light_mode=\\x1b]0;x\\x07\n"), std::string::npos) << run.out;
  run = ctl_.Run({"profile", "list"});
  EXPECT_NE(run.out.find("  2 P\\x1b[2J\n"), std::string::npos) << run.out;
  for (const char* command : {"get", "profile", "macro"}) {
    const CtlRun all = command == std::string("get") ? ctl_.Run({"get"})
                       : command == std::string("profile") ? ctl_.Run({"profile", "list"})
                                                           : ctl_.Run({"macro", "show", "1"});
    EXPECT_EQ(all.out.find('\x1b'), std::string::npos) << command;
  }
}

// Macros of `steps` key steps each, stored as a database of an earlier
// version (or a full one) holds them.
void AddKeyMacros(ConfigDatabase& db, int count, int steps) {
  for (int m = 1; m <= count; ++m) {
    const int id = db.AddMacro(L"M" + FormatInt(m));
    ASSERT_EQ(id, m);
    std::vector<MacroEvent> events;
    for (int i = 0; i < steps; ++i) events.push_back(MacroEvent{0, id, i % 2 == 0 ? 2 : 3, i, 65, i / 2, L"A"});
    db.AddMacroEvents(events);
  }
}

// The wired mouse holds 1040 macro entries: five macros of 200 key steps
// fill 1000 of them and the sixth is left out.
TEST_F(CtlMacroFileTest, WriteFailsNamingTheMacrosTheWiredMouseHasNoRoomFor) {
  const std::vector<std::string> sim = {"--simulate", "wired", "--sim-state", ctl_.StatePath()};
  ASSERT_EQ(ctl_.Run({"macro", "list"}).code, 0);
  WithDb([](ConfigDatabase& db) { AddKeyMacros(db, 6, 200); });
  std::vector<std::string> args = sim;
  args.push_back("write");
  CtlRun run = ctl_.Run(args);
  EXPECT_EQ(run.code, 3) << run.err;
  const auto lines = Lines(run.err);
  ASSERT_EQ(lines.size(), 1u) << run.err;
  EXPECT_NE(lines[0].find("6 M6"), std::string::npos) << lines[0];
  EXPECT_EQ(lines[0].find("5 M5"), std::string::npos) << lines[0];

  // Without the sixth everything fits.
  ASSERT_EQ(ctl_.Run({"macro", "list"}).code, 0);
  WithDb([](ConfigDatabase& db) { db.DeleteMacro(6); });
  run = ctl_.Run(args);
  EXPECT_EQ(run.code, 0) << run.err;
}

// A Nordic macro image carries 246 steps; a longer macro is cut short.
TEST_F(CtlMacroFileTest, WriteFailsNamingTheMacrosCutShortForTheNordicMouse) {
  const std::vector<std::string> sim = {"--simulate", "receiver", "--sim-state", ctl_.StatePath()};
  auto with_sim = [&](std::vector<std::string> args) {
    args.insert(args.begin(), sim.begin(), sim.end());
    return ctl_.Run(args);
  };
  ASSERT_EQ(with_sim({"macro", "list"}).code, 0);
  WithDb([](ConfigDatabase& db) { AddKeyMacros(db, 2, 250); }, L"TK410N");
  ASSERT_EQ(with_sim({"assign", "4", "macro", "2"}).code, 0);
  CtlRun run = with_sim({"write"});
  EXPECT_EQ(run.code, 3) << run.err;
  const auto lines = Lines(run.err);
  ASSERT_EQ(lines.size(), 1u) << run.err;
  EXPECT_NE(lines[0].find("2 M2"), std::string::npos) << lines[0];
  EXPECT_EQ(lines[0].find("1 M1"), std::string::npos) << lines[0];  // no button uses it: not sent
}

}  // namespace
}  // namespace tk410::testing
