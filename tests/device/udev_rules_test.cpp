// The udev rules file built from the device catalogue: which hidraw nodes it
// opens to the user at the seat, and what its header says.

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "base/text.h"
#include "device/catalog.h"
#include "device/udev_rules.h"
#include "support/temp_dir.h"

namespace tk410 {
namespace {

CatalogEntry Mode(int vid, int pid, const wchar_t* hid_interface) {
  CatalogEntry entry;
  entry.vid = vid;
  entry.pid = pid;
  entry.hid_interface = hid_interface;
  return entry;
}

// The rule lines of a rules text, without comments.
std::string RuleLines(const std::string& text) {
  std::string rules;
  size_t pos = 0;
  while (pos < text.size()) {
    size_t end = text.find('\n', pos);
    if (end == std::string::npos) end = text.size();
    const std::string line = text.substr(pos, end - pos);
    if (!line.empty() && line[0] != '#') rules += line + "\n";
    pos = end + 1;
  }
  return rules;
}

// An interface number in hid_interface ("MI_xx", upper-case hex as the
// interface path is written) narrows the USB rule to that interface. The USB
// interface carries the number and the USB device the ids, so one line marks
// the ids' nodes and a second matches the interface; Bluetooth has no
// interfaces and keeps the id rule.
TEST(UdevRulesTest, RulesFollowTheInterfacesTheCatalogueNames) {
  struct Case {
    const char* label;
    std::vector<CatalogEntry> modes;
    std::string rules;
  };
  const std::string usb_1209 =
      "SUBSYSTEM==\"hidraw\", KERNELS==\"0003:1209:0001.*\", TAG+=\"uaccess\"\n";
  const std::string bt_1209 =
      "SUBSYSTEM==\"hidraw\", KERNELS==\"0005:1209:0001.*\", TAG+=\"uaccess\"\n";
  const std::string mark_25a7 =
      "SUBSYSTEM==\"hidraw\", KERNELS==\"0003:25A7:FA70.*\", ENV{TK410_USB_ID}=\"25A7:FA70\"\n";
  const std::string bt_25a7 =
      "SUBSYSTEM==\"hidraw\", KERNELS==\"0005:25A7:FA70.*\", TAG+=\"uaccess\"\n";
  auto interface_25a7 = [](const char* number) {
    return std::string("SUBSYSTEM==\"hidraw\", ENV{TK410_USB_ID}==\"25A7:FA70\", "
                       "ATTRS{bInterfaceNumber}==\"") +
           number + "\", TAG+=\"uaccess\"\n";
  };
  const Case cases[] = {
      {"ids only", {Mode(0x1209, 1, L"VID_1209&PID_0001")}, usb_1209 + bt_1209},
      {"empty hid_interface", {Mode(0x1209, 1, L"")}, usb_1209 + bt_1209},
      {"one interface",
       {Mode(0x25A7, 0xFA70, L"VID_25A7&PID_FA70&MI_01")},
       mark_25a7 + interface_25a7("01") + bt_25a7},
      {"hex interface number, written as sysfs does",
       {Mode(0x25A7, 0xFA70, L"VID_25A7&PID_FA70&MI_0A")},
       mark_25a7 + interface_25a7("0a") + bt_25a7},
      {"two interfaces of one id, one repeated",
       {Mode(0x25A7, 0xFA70, L"MI_00"), Mode(0x25A7, 0xFA70, L"MI_02"),
        Mode(0x25A7, 0xFA70, L"MI_00")},
       mark_25a7 + interface_25a7("00") + interface_25a7("02") + bt_25a7},
      {"a mode without interface opens every interface of the id",
       {Mode(0x25A7, 0xFA70, L"MI_01"), Mode(0x25A7, 0xFA70, L"VID_25A7&PID_FA70")},
       "SUBSYSTEM==\"hidraw\", KERNELS==\"0003:25A7:FA70.*\", TAG+=\"uaccess\"\n" + bt_25a7},
      {"malformed or lower-case interface parts are no interface",
       {Mode(0x1209, 1, L"VID_1209&PID_0001&MI_0G"), Mode(0x1209, 1, L"mi_01")},
       usb_1209 + bt_1209},
      {"ids in catalogue order, duplicates once",
       {Mode(0x1209, 1, L""), Mode(0x25A7, 0xFA70, L"MI_01"), Mode(0x1209, 1, L"")},
       usb_1209 + bt_1209 + mark_25a7 + interface_25a7("01") + bt_25a7},
      {"ids that are no USB ids are left out",
       {Mode(0, 1, L""), Mode(0x10000, 1, L""), Mode(0x1209, -1, L""), Mode(0x1209, 0x10000, L"")},
       ""},
  };
  for (const Case& c : cases) EXPECT_EQ(RuleLines(BuildUdevRules(c.modes)), c.rules) << c.label;
  EXPECT_LT(std::string(kUdevRulesFileName), std::string("73-seat-late.rules"));
}

// The shipped catalogue carries pid.codes test ids, shared by many hobby
// devices: the file says so, and says it only then.
TEST(UdevRulesTest, HeaderWarnsAboutTheShippedTestIds) {
  DeviceCatalog catalog;
  ASSERT_TRUE(catalog.Load(FromUtf8(TK410_SOURCE_DATA_DIR) + L"/config.xml"));
  const std::string shipped = BuildUdevRules(catalog.Modes());
  EXPECT_NE(shipped.find("test ids"), std::string::npos) << shipped;
  EXPECT_NE(shipped.find("config.xml"), std::string::npos) << shipped;
  for (const char* pid : {"0001", "0002", "0003", "0004", "0005"}) {
    for (const char* bus : {"0003", "0005"}) {
      EXPECT_NE(shipped.find(std::string("KERNELS==\"") + bus + ":1209:" + pid + ".*\""),
                std::string::npos)
          << bus << ":" << pid;
    }
  }
  const std::string real = BuildUdevRules({Mode(0x25A7, 0xFA70, L"MI_01"), Mode(0x1209, 0x0011, L"")});
  EXPECT_EQ(real.find("test ids"), std::string::npos) << real;
}

// udevadm checks the file's syntax where it can (systemd 253 and later).
TEST(UdevRulesTest, UdevadmAcceptsTheFile) {
  if (std::system("udevadm verify --help >/dev/null 2>&1") != 0)
    GTEST_SKIP() << "udevadm verify is not available on this machine";
  testing::TempDir dir;
  const std::filesystem::path file = dir.path() / "70-tk410.rules";
  {
    std::ofstream out(file, std::ios::binary);
    out << BuildUdevRules({Mode(0x1209, 1, L""), Mode(0x25A7, 0xFA70, L"MI_01")});
  }
  const std::string command = "udevadm verify '" + file.string() + "' 2>&1";
  EXPECT_EQ(std::system(command.c_str()), 0) << command;
}

}  // namespace
}  // namespace tk410
