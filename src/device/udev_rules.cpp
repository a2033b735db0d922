#include "device/udev_rules.h"

#include <algorithm>
#include <cstdio>

namespace tk410 {

namespace {

// The ids the catalogue ships with: pid.codes' vendor id and its product ids
// reserved for testing.
constexpr int kTestVendor = 0x1209;
constexpr int kLastTestProduct = 0x0010;

// The USB interface number that a hid_interface text names ("MI_" and two
// upper-case hex digits, as the interface path is written), or -1.
int InterfaceNumber(const std::wstring& hid_interface) {
  const size_t at = hid_interface.find(L"MI_");
  if (at == std::wstring::npos || at + 5 > hid_interface.size()) return -1;
  int number = 0;
  for (size_t i = at + 3; i < at + 5; ++i) {
    const wchar_t c = hid_interface[i];
    if (c >= L'0' && c <= L'9') number = number * 16 + (c - L'0');
    else if (c >= L'A' && c <= L'F') number = number * 16 + (c - L'A' + 10);
    else return -1;
  }
  return number;
}

// What the catalogue says about one vendor/product id.
struct IdAccess {
  int vid = 0;
  int pid = 0;
  bool every_interface = false;  // a mode of these ids names no interface
  std::vector<int> interfaces;   // in catalogue order, each once
};

std::vector<IdAccess> CollectIds(const std::vector<CatalogEntry>& modes) {
  std::vector<IdAccess> ids;
  for (const CatalogEntry& mode : modes) {
    if (mode.vid <= 0 || mode.vid > 0xFFFF || mode.pid < 0 || mode.pid > 0xFFFF) continue;
    auto it = std::find_if(ids.begin(), ids.end(), [&](const IdAccess& id) {
      return id.vid == mode.vid && id.pid == mode.pid;
    });
    if (it == ids.end()) it = ids.insert(ids.end(), IdAccess{mode.vid, mode.pid});
    const int number = InterfaceNumber(mode.hid_interface);
    if (number < 0) {
      it->every_interface = true;
    } else if (std::find(it->interfaces.begin(), it->interfaces.end(), number) ==
               it->interfaces.end()) {
      it->interfaces.push_back(number);
    }
  }
  return ids;
}

std::string IdLine(const char* bus, const std::string& ids) {
  return "SUBSYSTEM==\"hidraw\", KERNELS==\"" + std::string(bus) + ":" + ids +
         ".*\", TAG+=\"uaccess\"\n";
}

}  // namespace

std::string BuildUdevRules(const std::vector<CatalogEntry>& modes) {
  const std::vector<IdAccess> ids = CollectIds(modes);
  std::string text =
      "# TEVO TK410: lets the user at the seat open the mouse's hidraw nodes.\n"
      "# Built from config.xml by \"tk410ctl udev-rules\". Install as\n"
      "# /etc/udev/rules.d/70-tk410.rules, then run\n"
      "#   sudo udevadm control --reload && sudo udevadm trigger\n"
      "# and plug the mouse in again.\n";
  if (std::any_of(ids.begin(), ids.end(), [](const IdAccess& id) {
        return id.vid == kTestVendor && id.pid <= kLastTestProduct;
      })) {
    text +=
        "#\n"
        "# The ids 1209:0001 to 1209:0010 below are pid.codes test ids, shared by\n"
        "# many hobby devices: these lines open every such device to the user at\n"
        "# the seat. Replace them in config.xml with your mouse's real ids (lsusb)\n"
        "# and build this file again.\n";
  }
  for (const IdAccess& id : ids) {
    char hex[16];
    std::snprintf(hex, sizeof hex, "%04X:%04X", id.vid, id.pid);
    const std::string vid_pid = hex;
    if (id.every_interface) {
      text += IdLine("0003", vid_pid);
    } else {
      // The interface number belongs to another parent than the ids: the
      // first line marks the ids' nodes, the next ones match the interface.
      text += "SUBSYSTEM==\"hidraw\", KERNELS==\"0003:" + vid_pid + ".*\", ENV{TK410_USB_ID}=\"" +
              vid_pid + "\"\n";
      for (int number : id.interfaces) {
        std::snprintf(hex, sizeof hex, "%02x", number);  // sysfs writes it in lower case
        text += "SUBSYSTEM==\"hidraw\", ENV{TK410_USB_ID}==\"" + vid_pid +
                "\", ATTRS{bInterfaceNumber}==\"" + hex + "\", TAG+=\"uaccess\"\n";
      }
    }
    text += IdLine("0005", vid_pid);
  }
  return text;
}

}  // namespace tk410
