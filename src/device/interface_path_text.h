#pragma once
// The interface path text of a HID interface, in the form the Windows HID
// stack gives device interfaces, upper-cased:
//
//   USB and other buses:  HID\VID_1209&PID_0001&MI_01\HIDRAW3
//   Bluetooth (bus 0x05): HID\{00001812-0000-1000-8000-00805F9B34FB}_VID_1209&PID_0001_KBD\HIDRAW3
//
// The catalogue's `hid_interface` texts ("VID_1209&PID_0001") are pieces of
// such a path. "&MI_xx" is left out when the interface number is unknown.
// A Bluetooth hidraw node carries every collection of the device, the
// keyboard one among them, so its text carries the HID service id and "KBD"
// that mark the Bluetooth keyboard collection. The last segment names the
// hidraw node (its kernel name) or, for the virtual bus, the virtual node.
//
// On Linux the facts come from udev: vendor and product from the parent
// `hid` device's HID_ID ("0003:00001209:00000001") or, when the parent is
// gone (removals), from the "BBBB:VVVV:PPPP.NNNN" name in the DEVPATH; the
// interface number from the USB interface's bInterfaceNumber, HID_PHYS
// ("usb-0000:00:14.0-2/input1") or the USB interface name in the DEVPATH
// ("1-2:1.1").

#include <optional>
#include <string>

namespace tk410 {

struct InterfaceIds {
  int bus = 0;  // kernel bus number: 0x03 USB, 0x05 Bluetooth
  int vendor_id = 0;
  int product_id = 0;
  int interface_number = -1;  // -1: unknown
};

// What udev tells about one hidraw device (empty texts when not known).
struct HidrawUdevFacts {
  std::string devpath;            // DEVPATH of the hidraw device
  std::string sysname;            // "hidraw3"
  std::string hid_id;             // HID_ID of the parent hid device
  std::string hid_phys;           // HID_PHYS of the parent hid device
  std::string interface_number;   // bInterfaceNumber of the USB interface (hex)
};

// The path text of an interface with these ids, its last segment `node`
// upper-cased.
std::wstring InterfacePathText(const InterfaceIds& ids, const std::string& node);

// The ids udev facts give; nothing when vendor and product are unknown.
std::optional<InterfaceIds> IdsFromUdevFacts(const HidrawUdevFacts& facts);

// The path text of a hidraw device; empty when vendor and product are unknown.
std::wstring PathTextFromUdevFacts(const HidrawUdevFacts& facts);

// The device node a path text names ("/dev/hidraw3"), or empty when its last
// segment is not a hidraw node name.
std::string HidrawNodeOfPathText(const std::wstring& interface_path);

}  // namespace tk410
