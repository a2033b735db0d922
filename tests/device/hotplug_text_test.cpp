// Interface path texts from udev facts, the arrival probe on report
// descriptor bytes, and the udev rules file.

#include <gtest/gtest.h>

#include "device/arrival_probe.h"
#include "device/interface_path_text.h"
#include "device/udev_rules.h"

namespace tk410 {
namespace {

TEST(InterfacePathTextTest, BuildsFromCapturedUdevProperties) {
  struct Case {
    const char* name;
    HidrawUdevFacts facts;
    const wchar_t* expected;
  };
  const Case cases[] = {
      {"arrival with parents",
       {"/devices/pci0000:00/0000:00:14.0/usb1/1-2/1-2:1.1/0003:1209:0001.0005/hidraw/hidraw3",
        "hidraw3", "0003:00001209:00000001", "usb-0000:00:14.0-2/input1", "01"},
       L"HID\\VID_1209&PID_0001&MI_01\\HIDRAW3"},
      {"interface from HID_PHYS",
       {"", "hidraw4", "0003:0000046D:0000C52B", "usb-0000:00:14.0-3/input2", ""},
       L"HID\\VID_046D&PID_C52B&MI_02\\HIDRAW4"},
      {"removal: only the DEVPATH",
       {"/devices/pci0000:00/0000:00:14.0/usb1/1-2/1-2.4:1.0/0003:25A7:FA70.000B/hidraw/hidraw12",
        "hidraw12", "", "", ""},
       L"HID\\VID_25A7&PID_FA70&MI_00\\HIDRAW12"},
      {"bluetooth",
       {"/devices/virtual/misc/uhid/0005:1209:0006.0007/hidraw/hidraw5", "hidraw5",
        "0005:00001209:00000006", "", ""},
       L"HID\\{00001812-0000-1000-8000-00805F9B34FB}_VID_1209&PID_0006_KBD\\HIDRAW5"},
      {"no interface number", {"", "hidraw0", "0018:000004F3:00003125", "", ""},
       L"HID\\VID_04F3&PID_3125\\HIDRAW0"},
      {"no ids", {"/devices/virtual/hidraw/hidraw2", "hidraw2", "", "", ""}, L""},
      {"malformed HID_ID", {"", "hidraw1", "0003:zz:1", "", ""}, L""},
      {"malformed hid name", {"/devices/x/0003:1209:00G1.0001/hidraw/hidraw1", "", "", "", ""},
       L""},
  };
  for (const Case& c : cases) EXPECT_EQ(PathTextFromUdevFacts(c.facts), c.expected) << c.name;
}

TEST(InterfacePathTextTest, NodeOfPathText) {
  EXPECT_EQ(HidrawNodeOfPathText(L"HID\\VID_1209&PID_0001&MI_01\\HIDRAW3"), "/dev/hidraw3");
  EXPECT_EQ(HidrawNodeOfPathText(L"HID\\VID_1209&PID_0001\\HIDRAW"), "");
  EXPECT_EQ(HidrawNodeOfPathText(L"HID\\VID_1209&PID_0001\\HIDRAW3/../SDA"), "");
  EXPECT_EQ(HidrawNodeOfPathText(L"HID\\VID_1209&PID_0001\\VIRTUAL-HIDRAW3"), "");
  EXPECT_EQ(HidrawNodeOfPathText(L""), "");
}

// Wired vendor collection: Usage Page 0xFF01 (06 01 FF), Usage 0x10 (09 10),
// Collection Application (A1 01), 64 bytes in and out, End Collection (C0).
const std::vector<uint8_t> kVendorDescriptor = {0x06, 0x01, 0xFF, 0x09, 0x10, 0xA1, 0x01,
                                                0x09, 0x01, 0x75, 0x08, 0x95, 0x40, 0x81,
                                                0x02, 0x09, 0x02, 0x91, 0x02, 0xC0};
// Mouse (05 01 09 02 A1 01 ... C0) before the vendor collection.
const std::vector<uint8_t> kMouseDescriptor = {0x05, 0x01, 0x09, 0x02, 0xA1, 0x01,
                                               0x09, 0x01, 0xA1, 0x00, 0xC0, 0xC0};

// The Nordic receiver's vendor collection: Usage Page 0xFF0A (06 0A FF),
// Usage 0x01 (09 01), Collection Application, 64 bytes in and out.
const std::vector<uint8_t> kNordicDescriptor = {0x06, 0x0A, 0xFF, 0x09, 0x01, 0xA1, 0x01,
                                                0x09, 0x01, 0x75, 0x08, 0x95, 0x40, 0x81,
                                                0x02, 0x09, 0x02, 0x91, 0x02, 0xC0};

std::vector<uint8_t> Joined(std::vector<uint8_t> a, const std::vector<uint8_t>& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

TEST(ArrivalProbeTest, LooksForTheServedFamilysCollectionAtTopLevel) {
  const VendorCollection wired = VendorCollectionOf(101);
  const VendorCollection nordic = VendorCollectionOf(201);
  EXPECT_EQ(VendorCollectionOf(200).usage_page, 0xFF01);  // 200 is still wired
  EXPECT_EQ(VendorCollectionOf(0).usage_page, 0xFF01);    // before the first scan

  // The vendor collection nested inside the mouse collection is not top level.
  std::vector<uint8_t> nested = Joined({0x05, 0x01, 0x09, 0x02, 0xA1, 0x01}, kVendorDescriptor);
  nested.push_back(0xC0);
  // Usage 0x11 on the wired page; usage 0x02 on the Nordic page.
  std::vector<uint8_t> other_usage = kVendorDescriptor;
  other_usage[4] = 0x11;
  std::vector<uint8_t> other_nordic = kNordicDescriptor;
  other_nordic[4] = 0x02;

  struct Case {
    const char* name;
    std::vector<uint8_t> descriptor;
    bool wired, nordic;  // found when asked for that family's collection
  };
  const Case cases[] = {
      {"wired collection", kVendorDescriptor, true, false},
      {"mouse, then wired", Joined(kMouseDescriptor, kVendorDescriptor), true, false},
      {"mouse only", kMouseDescriptor, false, false},
      {"nested", nested, false, false},
      {"other usage", other_usage, false, false},
      {"truncated", {kVendorDescriptor.begin(), kVendorDescriptor.begin() + 2}, false, false},
      {"nordic collection", kNordicDescriptor, false, true},
      {"mouse, then nordic", Joined(kMouseDescriptor, kNordicDescriptor), false, true},
      {"other nordic usage", other_nordic, false, false},
      {"both families", Joined(kVendorDescriptor, kNordicDescriptor), true, true},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(DescriptorHasCollection(c.descriptor.data(), c.descriptor.size(), wired), c.wired) << c.name;
    EXPECT_EQ(DescriptorHasCollection(c.descriptor.data(), c.descriptor.size(), nordic), c.nordic) << c.name;
  }
  EXPECT_FALSE(DescriptorHasCollection(nullptr, 0, wired));
}

TEST(ArrivalProbeTest, MissingNodeFails) {
  EXPECT_FALSE(ProbeHidrawNode("/dev/hidraw-none", VendorCollectionOf(101)));
}

TEST(UdevRulesTest, OneUsbAndOneBluetoothLinePerDistinctId) {
  std::vector<CatalogEntry> modes(3);
  modes[0].vid = 0x1209, modes[0].pid = 0x0001;
  modes[1].vid = 0x25a7, modes[1].pid = 0xfa70;
  modes[2].vid = 0x1209, modes[2].pid = 0x0001;  // same ids, other mode
  const std::string rules = BuildUdevRules(modes);
  const std::string expected =
      "SUBSYSTEM==\"hidraw\", KERNELS==\"0003:1209:0001.*\", TAG+=\"uaccess\"\n"
      "SUBSYSTEM==\"hidraw\", KERNELS==\"0005:1209:0001.*\", TAG+=\"uaccess\"\n"
      "SUBSYSTEM==\"hidraw\", KERNELS==\"0003:25A7:FA70.*\", TAG+=\"uaccess\"\n"
      "SUBSYSTEM==\"hidraw\", KERNELS==\"0005:25A7:FA70.*\", TAG+=\"uaccess\"\n";
  ASSERT_GE(rules.size(), expected.size());
  EXPECT_EQ(rules.substr(rules.size() - expected.size()), expected);
  EXPECT_LT(std::string(kUdevRulesFileName), std::string("73-seat-late.rules"));
}

}  // namespace
}  // namespace tk410
