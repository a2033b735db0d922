#pragma once
// The udev rule that lets the user at the seat open the mouse's hidraw
// nodes: hidraw nodes belong to root unless a rule says otherwise. The
// nodes are tagged "uaccess"; the file must sort before 73-seat-late.rules,
// where the tag takes effect.
//
// What the catalogue can express, and so what the rule matches:
//  * vendor and product id of every mode: the kernel's name of the HID
//    device above the node, "BBBB:VVVV:PPPP.NNNN", bus 0003 (USB) and 0005
//    (Bluetooth);
//  * the USB interface, where a mode's hid_interface names one ("MI_xx",
//    two upper-case hex digits, as the interface path is written): the rule
//    then opens only that interface's node. The interface number
//    (bInterfaceNumber) sits on the USB interface and the ids on the HID
//    device, two different parents, and one udev rule line may match
//    attributes of one parent only; so a first line marks the ids' nodes
//    (ENV{TK410_USB_ID}="VVVV:PPPP") and a second matches the interface.
//    A mode of the same ids without an interface opens every interface.
//    Bluetooth has no interfaces and keeps the id line.
// The model name in the catalogue is a display name, not the product string
// the device reports, so the rule does not match on it.

#include <string>
#include <vector>

#include "device/catalog.h"

namespace tk410 {

// File name of the rule under /etc/udev/rules.d/.
constexpr const char* kUdevRulesFileName = "70-tk410.rules";

// The rules file text for the distinct vendor/product ids of `modes`, in
// catalogue order; ids outside 0x0001..0xFFFF (vendor) or 0x0000..0xFFFF
// (product) are left out. The header warns when the ids are the test ids
// the program ships with.
std::string BuildUdevRules(const std::vector<CatalogEntry>& modes);

}  // namespace tk410
