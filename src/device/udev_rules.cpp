#include "device/udev_rules.h"

#include <cstdio>
#include <set>
#include <utility>

namespace tk410 {

std::string BuildUdevRules(const std::vector<CatalogEntry>& modes) {
  std::string text =
      "# TEVO TK410: lets the user at the seat open the mouse's hidraw nodes.\n"
      "# Install as /etc/udev/rules.d/70-tk410.rules, then run\n"
      "#   sudo udevadm control --reload && sudo udevadm trigger\n"
      "# and plug the mouse in again.\n";
  std::set<std::pair<int, int>> seen;
  for (const CatalogEntry& mode : modes) {
    const int vid = mode.vid & 0xFFFF;
    const int pid = mode.pid & 0xFFFF;
    if (!seen.insert({vid, pid}).second) continue;
    for (const char* bus : {"0003", "0005"}) {
      char line[128];
      std::snprintf(line, sizeof(line),
                    "SUBSYSTEM==\"hidraw\", KERNELS==\"%s:%04X:%04X.*\", TAG+=\"uaccess\"\n", bus,
                    vid, pid);
      text += line;
    }
  }
  return text;
}

}  // namespace tk410
