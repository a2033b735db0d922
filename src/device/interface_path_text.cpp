#include "device/interface_path_text.h"

#include <cctype>
#include <cstdio>
#include <vector>

#include "base/text.h"

namespace tk410 {

namespace {

constexpr int kBusBluetooth = 0x05;

// Parses hex digits [begin, end) of `text`; nothing when empty or not hex.
std::optional<int> ParseHex(const std::string& text, size_t begin, size_t end) {
  if (begin >= end || end > text.size() || end - begin > 8) return std::nullopt;
  long value = 0;
  for (size_t i = begin; i < end; ++i) {
    const char c = text[i];
    if (!std::isxdigit(static_cast<unsigned char>(c))) return std::nullopt;
    value = value * 16 + (std::isdigit(static_cast<unsigned char>(c)) ? c - '0'
                                                                      : std::toupper(c) - 'A' + 10);
  }
  return static_cast<int>(value);
}

std::optional<int> ParseDecimal(const std::string& text, size_t begin) {
  if (begin >= text.size() || text.size() - begin > 4) return std::nullopt;
  int value = 0;
  for (size_t i = begin; i < text.size(); ++i) {
    if (!std::isdigit(static_cast<unsigned char>(text[i]))) return std::nullopt;
    value = value * 10 + (text[i] - '0');
  }
  return value;
}

std::vector<std::string> SplitPath(const std::string& path) {
  std::vector<std::string> parts;
  size_t start = 0;
  while (start <= path.size()) {
    const size_t slash = path.find('/', start);
    const size_t end = slash == std::string::npos ? path.size() : slash;
    if (end > start) parts.push_back(path.substr(start, end - start));
    if (slash == std::string::npos) break;
    start = slash + 1;
  }
  return parts;
}

// "0003:00001209:00000001": bus, vendor, product.
bool IdsFromHidId(const std::string& hid_id, InterfaceIds* ids) {
  const size_t a = hid_id.find(':');
  const size_t b = a == std::string::npos ? a : hid_id.find(':', a + 1);
  if (b == std::string::npos) return false;
  const auto bus = ParseHex(hid_id, 0, a);
  const auto vid = ParseHex(hid_id, a + 1, b);
  const auto pid = ParseHex(hid_id, b + 1, hid_id.size());
  if (!bus || !vid || !pid || *vid > 0xFFFF || *pid > 0xFFFF) return false;
  ids->bus = *bus;
  ids->vendor_id = *vid;
  ids->product_id = *pid;
  return true;
}

// The kernel's hid device name "BBBB:VVVV:PPPP.NNNN".
bool IdsFromHidName(const std::string& name, InterfaceIds* ids) {
  if (name.size() != 19 || name[4] != ':' || name[9] != ':' || name[14] != '.') return false;
  const auto bus = ParseHex(name, 0, 4);
  const auto vid = ParseHex(name, 5, 9);
  const auto pid = ParseHex(name, 10, 14);
  if (!bus || !vid || !pid || !ParseHex(name, 15, 19)) return false;
  ids->bus = *bus;
  ids->vendor_id = *vid;
  ids->product_id = *pid;
  return true;
}

// A USB interface name "1-2:1.1" or "1-2.3:1.0": the number after the last dot
// following the colon.
std::optional<int> InterfaceOfUsbName(const std::string& name) {
  const size_t colon = name.find(':');
  if (colon == std::string::npos || colon == 0) return std::nullopt;
  if (!std::isdigit(static_cast<unsigned char>(name[0]))) return std::nullopt;
  const size_t dot = name.find('.', colon);
  if (dot == std::string::npos) return std::nullopt;
  return ParseDecimal(name, dot + 1);
}

}  // namespace

std::wstring InterfacePathText(const InterfaceIds& ids, const std::string& node) {
  const std::wstring last = UpperAscii(FromUtf8(node));
  if (ids.bus == kBusBluetooth) {
    return FormatW(L"HID\\{00001812-0000-1000-8000-00805F9B34FB}_VID_%04X&PID_%04X_KBD\\%ls",
                   ids.vendor_id, ids.product_id, last.c_str());
  }
  if (ids.interface_number >= 0) {
    return FormatW(L"HID\\VID_%04X&PID_%04X&MI_%02X\\%ls", ids.vendor_id, ids.product_id,
                   ids.interface_number, last.c_str());
  }
  return FormatW(L"HID\\VID_%04X&PID_%04X\\%ls", ids.vendor_id, ids.product_id, last.c_str());
}

std::optional<InterfaceIds> IdsFromUdevFacts(const HidrawUdevFacts& facts) {
  InterfaceIds ids;
  const std::vector<std::string> parts = SplitPath(facts.devpath);
  bool known = IdsFromHidId(facts.hid_id, &ids);
  if (!known) {
    for (const std::string& part : parts) {
      if (IdsFromHidName(part, &ids)) {
        known = true;
        break;
      }
    }
  }
  if (!known) return std::nullopt;

  if (auto number = ParseHex(facts.interface_number, 0, facts.interface_number.size())) {
    ids.interface_number = *number;
  } else if (const size_t input = facts.hid_phys.rfind("input"); input != std::string::npos) {
    if (auto n = ParseDecimal(facts.hid_phys, input + 5)) ids.interface_number = *n;
  }
  if (ids.interface_number < 0) {
    for (const std::string& part : parts) {
      if (auto n = InterfaceOfUsbName(part)) ids.interface_number = *n;
    }
  }
  return ids;
}

std::wstring PathTextFromUdevFacts(const HidrawUdevFacts& facts) {
  const auto ids = IdsFromUdevFacts(facts);
  if (!ids) return std::wstring();
  std::string node = facts.sysname;
  if (node.empty()) {
    const std::vector<std::string> parts = SplitPath(facts.devpath);
    if (!parts.empty()) node = parts.back();
  }
  return InterfacePathText(*ids, node);
}

std::string HidrawNodeOfPathText(const std::wstring& interface_path) {
  const size_t slash = interface_path.rfind(L'\\');
  const std::wstring last =
      slash == std::wstring::npos ? interface_path : interface_path.substr(slash + 1);
  static constexpr std::wstring_view kPrefix = L"HIDRAW";
  if (!StartsWith(UpperAscii(last), kPrefix) || last.size() == kPrefix.size() ||
      last.size() > kPrefix.size() + 4) {
    return std::string();
  }
  std::string node = "/dev/hidraw";
  for (size_t i = kPrefix.size(); i < last.size(); ++i) {
    if (last[i] < L'0' || last[i] > L'9') return std::string();
    node.push_back(static_cast<char>(last[i]));
  }
  return node;
}

}  // namespace tk410
