#include "device/catalog.h"

#include <sys/stat.h>

#include <gtest/gtest.h>

#include <filesystem>

#include "base/text.h"
#include "device/product.h"
#include "support/temp_dir.h"

namespace tk410 {
namespace {

using testing::TempDir;

// Writes `body` as config.xml (with a declaration) and loads it.
bool LoadText(DeviceCatalog& catalog, const std::string& body) {
  TempDir dir;
  dir.Write("config.xml", "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n" + body);
  return catalog.Load(dir.wide() + L"config.xml");
}

std::string OneMode(const std::string& mouse_attrs, const std::string& mode_attrs) {
  return "<config><device><mouse " + mouse_attrs + "><mode " + mode_attrs +
         "/></mouse></device></config>";
}

TEST(CatalogTest, NumberForms) {
  // Hexadecimal ids read like wcstol(base 16); decimals like _wtoi.
  struct Row { const char* vid; int expected; };
  const Row hex[] = {{"046d", 0x046D}, {"046D", 0x046D}, {"0x046D", 0x046D}, {"", 0}, {"12zz", 0x12}};
  for (const auto& r : hex) {
    DeviceCatalog catalog;
    ASSERT_TRUE(LoadText(catalog, OneMode("device_type=\"101\"", std::string("vid=\"") + r.vid + "\" pid=\"" + r.vid + "\"")));
    ASSERT_EQ(catalog.Modes().size(), 1u);
    EXPECT_EQ(catalog.Modes()[0].vid, r.expected) << r.vid;
    EXPECT_EQ(catalog.Modes()[0].pid, r.expected) << r.vid;
  }
  struct DecRow { const char* type; int expected; };
  const DecRow dec[] = {{"101abc", 101}, {"abc", 0}, {" 7", 7}, {"-3", -3}};
  for (const auto& r : dec) {
    DeviceCatalog catalog;
    ASSERT_TRUE(LoadText(catalog, OneMode(std::string("device_type=\"") + r.type + "\"", std::string("value=\"") + r.type + "\"")));
    ASSERT_EQ(catalog.Models().size(), 1u);
    EXPECT_EQ(catalog.Models()[0].device_type, r.expected) << r.type;
    EXPECT_EQ(catalog.Modes()[0].mode, r.expected) << r.type;
  }
  // Absent attributes: empty texts and zeros.
  DeviceCatalog bare;
  ASSERT_TRUE(LoadText(bare, OneMode("", "")));
  EXPECT_EQ(bare.Modes()[0], CatalogEntry{});
}

TEST(CatalogTest, ModelsModesAndSupportedRecords) {
  DeviceCatalog catalog;
  ASSERT_TRUE(LoadText(catalog, R"(<config>
<device>
<mouse name="Plain" device_type="101" device_attr="DB0">
<mode value="0" desc="wired" vid="1209" pid="0001" hid_interface="VID_1209&amp;PID_0001"/>
<mode value="1" desc="dongle" vid="1209" pid="0001"/>
</mouse>
<mouse name="NoModes" device_type="102" device_attr="DB1"/>
<mouse name="Other" device_type="201" device_attr="DB2"><mode value="3" vid="1209" pid="0005" desc="r"/></mouse>
<mouse name="Second" device_type="101" device_attr="DB3"><mode value="2" vid="abcd" pid="ef01"/></mouse>
</device>
</config>)"));
  ASSERT_EQ(catalog.Models().size(), 4u);
  // A model carries fresh mode fields.
  EXPECT_EQ(catalog.Models()[1], (CatalogEntry{L"NoModes", 102, L"DB1", 0, 0, 0, L"", L""}));
  // Mode fields carry over: the second mode has no hid_interface of its own.
  const std::vector<CatalogEntry> expected_modes = {
      {L"Plain", 101, L"DB0", 0, 0x1209, 0x0001, L"wired", L"VID_1209&PID_0001"},
      {L"Plain", 101, L"DB0", 1, 0x1209, 0x0001, L"dongle", L""},
      {L"Other", 201, L"DB2", 3, 0x1209, 0x0005, L"r", L""},
      {L"Second", 101, L"DB3", 2, 0xABCD, 0xEF01, L"", L""},
  };
  EXPECT_EQ(catalog.Modes(), expected_modes);

  // Equal ids with different modes both become records, first one first;
  // other device types never do.
  const auto records = catalog.SupportedRecords(kProductDeviceType);
  ASSERT_EQ(records.size(), 3u);
  EXPECT_EQ(records[0].mode, 0);
  EXPECT_EQ(records[1].mode, 1);
  EXPECT_EQ(records[2].device_attr, L"DB3");
  EXPECT_EQ(catalog.SupportedRecords(201), std::vector<CatalogEntry>{expected_modes[2]});
  EXPECT_TRUE(catalog.SupportedRecords(102).empty());

  // Database names: the first model of the type, modes or not; else the default.
  EXPECT_EQ(catalog.DatabaseName(101, L""), L"DB0");
  EXPECT_EQ(catalog.DatabaseName(102, L""), L"DB1");
  EXPECT_EQ(catalog.DatabaseName(201, L""), L"DB2");
  EXPECT_EQ(catalog.DatabaseName(300, L"Mouse"), L"Mouse");
}

TEST(CatalogTest, SoftwareFactsFollowDocumentOrder) {
  DeviceCatalog catalog;
  ASSERT_TRUE(LoadText(catalog, R"(<config><device/>
<software caption="x" version="9.8"><store url="s"/><website url="w"/><copyright info="c"/><upgrade url="u"/></software>
</config>)"));
  // store lies before website and copyright before upgrade: neither is found.
  EXPECT_EQ(catalog.Software().version, L"9.8");
  EXPECT_EQ(catalog.Software().website, L"w");
  EXPECT_EQ(catalog.Software().store, L"");
  EXPECT_EQ(catalog.Software().upgrade, L"u");
  EXPECT_EQ(catalog.Software().notice, L"");
  EXPECT_TRUE(catalog.Models().empty());

  // software before device: found only when there is no device element.
  ASSERT_TRUE(LoadText(catalog, R"(<config><software version="1"/><device><mouse device_type="101"/></device></config>)"));
  EXPECT_EQ(catalog.Software().version, L"");
  EXPECT_EQ(catalog.Models().size(), 1u);
  ASSERT_TRUE(LoadText(catalog, R"(<config><software version="1"><upgrade url="u"/><copyright info="c &amp; d"/></software></config>)"));
  EXPECT_EQ(catalog.Software().version, L"1");
  EXPECT_EQ(catalog.Software().upgrade, L"u");
  EXPECT_EQ(catalog.Software().notice, L"c & d");
}

TEST(CatalogTest, UnreadableCataloguesLeaveEverythingEmpty) {
  const char* const bodies[] = {
      "<config><device><mouse device_type=\"101\"><mode vid=\"1\"/></mouse></device>",  // unended
      "<config/><config/>",                                                        // two roots
      "<catalog><device><mouse device_type=\"101\"/></device></catalog>",          // wrong root
  };
  for (const char* body : bodies) {
    DeviceCatalog catalog;
    EXPECT_FALSE(LoadText(catalog, body)) << body;
    EXPECT_TRUE(catalog.Models().empty()) << body;
    EXPECT_TRUE(catalog.Modes().empty()) << body;
    EXPECT_EQ(catalog.Software().version, L"") << body;
    EXPECT_EQ(catalog.DatabaseName(kProductDeviceType, L""), L"");
  }
  DeviceCatalog catalog;
  ASSERT_TRUE(LoadText(catalog, OneMode("device_type=\"101\"", "vid=\"1\"")));
  TempDir empty;
  EXPECT_FALSE(catalog.Load(empty.wide() + L"config.xml"));  // a reload empties the old lists
  EXPECT_TRUE(catalog.Modes().empty());
  EXPECT_TRUE(catalog.SupportedRecords(kProductDeviceType).empty());
}

// A catalogue that is a named pipe (an ordinary open would wait for a writer
// for good), a link to an endless device, or a folder is refused at once.
TEST(CatalogTest, PipesDevicesAndFoldersAreRefused) {
  TempDir dir;
  ASSERT_EQ(::mkfifo((dir.path() / "pipe.xml").c_str(), 0600), 0);
  std::filesystem::create_symlink("/dev/zero", dir.path() / "zero.xml");
  std::filesystem::create_directory(dir.path() / "folder.xml");
  for (const wchar_t* name : {L"pipe.xml", L"zero.xml", L"folder.xml"}) {
    DeviceCatalog catalog;
    EXPECT_FALSE(catalog.Load(dir.wide() + name)) << ToUtf8(name);
    EXPECT_TRUE(catalog.Modes().empty());
  }
}

TEST(CatalogTest, ShippedCatalogue) {
  DeviceCatalog catalog;
  ASSERT_TRUE(catalog.Load(FromUtf8(TK410_SOURCE_DATA_DIR) + L"/config.xml"));
  EXPECT_EQ(catalog.Software().version, L"1.2.0.1");
  EXPECT_EQ(catalog.DatabaseName(kProductDeviceType, L""), L"TK410");
  EXPECT_EQ(catalog.DatabaseName(201, L""), L"TK410N");

  struct Row { int type; int mode; int pid; };
  const Row expected[] = {{101, 0, 0x0001}, {101, 1, 0x0002}, {201, 0, 0x0003}, {201, 1, 0x0004}, {201, 3, 0x0005}};
  ASSERT_EQ(catalog.Modes().size(), std::size(expected));
  for (size_t i = 0; i < std::size(expected); ++i) {
    const CatalogEntry& m = catalog.Modes()[i];
    EXPECT_EQ(m.device_type, expected[i].type) << i;
    EXPECT_EQ(m.mode, expected[i].mode) << i;
    EXPECT_EQ(m.vid, 0x1209) << i;
    EXPECT_EQ(m.pid, expected[i].pid) << i;
    // Compared with upper-cased interface paths: must be upper case itself.
    EXPECT_EQ(m.hid_interface, UpperAscii(m.hid_interface)) << i;
    EXPECT_EQ(m.hid_interface, FormatW(L"VID_%04X&PID_%04X", m.vid, m.pid)) << i;
  }
  EXPECT_EQ(catalog.SupportedRecords(kProductDeviceType).size(), 2u);
}

}  // namespace
}  // namespace tk410
