#pragma once
// The udev rule that gives the logged-in user access to the catalogue's
// devices: one line per vendor/product pair, for USB (bus 0003) and
// Bluetooth (bus 0005), tagged "uaccess". The file must sort before
// 73-seat-late.rules, where the tag is applied.
#include <string>
#include <vector>

#include "device/catalog.h"

namespace tk410::ctl_tool {

inline constexpr char kUdevRulesFile[] = "/etc/udev/rules.d/70-tk410.rules";

std::string UdevRulesText(const std::vector<CatalogEntry>& modes);

}  // namespace tk410::ctl_tool
