#pragma once
// The udev rule that lets the user at the seat open the mouse's hidraw
// nodes: hidraw nodes belong to root unless a rule says otherwise. One line
// per catalogued vendor/product id and bus (USB 0003, Bluetooth 0005),
// tagging the node "uaccess"; the file must sort before 73-seat-late.rules,
// where the tag takes effect.

#include <string>
#include <vector>

#include "device/catalog.h"

namespace tk410 {

// File name of the rule under /etc/udev/rules.d/.
constexpr const char* kUdevRulesFileName = "70-tk410.rules";

// The rules file text for every distinct vendor/product id of `modes`, in
// catalogue order.
std::string BuildUdevRules(const std::vector<CatalogEntry>& modes);

}  // namespace tk410
