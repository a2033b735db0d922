#include "ctl/udev_text.h"

#include <cstdio>
#include <set>
#include <utility>

namespace tk410::ctl_tool {

std::string UdevRulesText(const std::vector<CatalogEntry>& modes) {
  std::string text =
      "# TEVO TK410: access for the logged-in user to the mouse's HID interfaces.\n"
      "# Save as " + std::string(kUdevRulesFile) + ", then run\n"
      "# udevadm control --reload && udevadm trigger (or replug the mouse).\n";
  std::set<std::pair<int, int>> seen;
  for (const CatalogEntry& mode : modes) {
    if (mode.vid <= 0 || mode.vid > 0xFFFF || mode.pid < 0 || mode.pid > 0xFFFF) continue;
    if (!seen.insert({mode.vid, mode.pid}).second) continue;
    for (const char* bus : {"0003", "0005"}) {
      char line[160];
      std::snprintf(line, sizeof(line),
                    "SUBSYSTEM==\"hidraw\", KERNELS==\"%s:%04X:%04X.*\", TAG+=\"uaccess\"\n", bus,
                    mode.vid, mode.pid);
      text += line;
    }
  }
  return text;
}

}  // namespace tk410::ctl_tool
