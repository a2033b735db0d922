#include "device/report_descriptor.h"

namespace tk410 {

namespace {

constexpr int kMaxDepth = 64;

// Item types and tags of short items.
constexpr int kTypeMain = 0;
constexpr int kTypeGlobal = 1;
constexpr int kTypeLocal = 2;
constexpr int kMainInput = 0x8;
constexpr int kMainOutput = 0x9;
constexpr int kMainCollection = 0xA;
constexpr int kMainFeature = 0xB;
constexpr int kMainEndCollection = 0xC;
constexpr int kGlobalUsagePage = 0x0;
constexpr int kGlobalReportId = 0x8;
constexpr int kGlobalPush = 0xA;
constexpr int kGlobalPop = 0xB;
constexpr int kLocalUsage = 0x0;
constexpr uint8_t kLongItemPrefix = 0xFE;

struct Globals {
  uint16_t usage_page = 0;
  uint8_t report_id = 0;
};

}  // namespace

std::optional<std::vector<TopLevelCollection>> ParseReportDescriptor(const uint8_t* d,
                                                                      size_t length) {
  if (d == nullptr && length != 0) return std::nullopt;
  std::vector<TopLevelCollection> result;
  Globals globals;
  std::vector<Globals> stack;
  // The first usage of the pending local state, with its page (an extended
  // 32-bit usage carries its own page).
  bool have_usage = false;
  uint32_t first_usage = 0;
  int depth = 0;
  size_t i = 0;
  while (i < length) {
    const uint8_t prefix = d[i];
    if (prefix == kLongItemPrefix) {
      if (i + 1 >= length) return std::nullopt;
      const size_t data_size = d[i + 1];
      if (i + 3 + data_size > length) return std::nullopt;
      i += 3 + data_size;
      continue;
    }
    size_t size = prefix & 0x3;
    if (size == 3) size = 4;
    const int type = (prefix >> 2) & 0x3;
    const int tag = prefix >> 4;
    if (i + 1 + size > length) return std::nullopt;
    uint32_t value = 0;
    for (size_t b = 0; b < size; ++b) value |= static_cast<uint32_t>(d[i + 1 + b]) << (8 * b);
    i += 1 + size;

    if (type == kTypeGlobal) {
      if (tag == kGlobalUsagePage) {
        globals.usage_page = static_cast<uint16_t>(value);
      } else if (tag == kGlobalReportId) {
        globals.report_id = static_cast<uint8_t>(value);
      } else if (tag == kGlobalPush) {
        if (stack.size() >= kMaxDepth) return std::nullopt;
        stack.push_back(globals);
      } else if (tag == kGlobalPop) {
        if (stack.empty()) return std::nullopt;
        globals = stack.back();
        stack.pop_back();
      }
    } else if (type == kTypeLocal) {
      if (tag == kLocalUsage && !have_usage) {
        have_usage = true;
        first_usage = size == 4 ? value : (static_cast<uint32_t>(globals.usage_page) << 16) |
                                              (value & 0xFFFF);
      }
    } else if (type == kTypeMain) {
      if (tag == kMainCollection) {
        if (depth == 0) {
          TopLevelCollection c;
          const uint32_t usage =
              have_usage ? first_usage : static_cast<uint32_t>(globals.usage_page) << 16;
          c.usage_page = static_cast<uint16_t>(usage >> 16);
          c.usage = static_cast<uint16_t>(usage & 0xFFFF);
          result.push_back(c);
        }
        if (++depth > kMaxDepth) return std::nullopt;
      } else if (tag == kMainEndCollection) {
        if (depth == 0) return std::nullopt;
        --depth;
      } else if (tag == kMainInput || tag == kMainOutput || tag == kMainFeature) {
        if (!result.empty() && depth > 0) {
          TopLevelCollection& c = result.back();
          if (globals.report_id != 0) {
            c.report_ids.insert(globals.report_id);
            if (tag == kMainInput) c.input_report_ids.insert(globals.report_id);
          } else {
            c.has_unnumbered = true;
            if (tag == kMainInput) c.has_unnumbered_input = true;
          }
        }
      }
      // Every main item ends the local state.
      have_usage = false;
    }
  }
  if (depth != 0) return std::nullopt;
  return result;
}

std::set<uint8_t> OwnInputReportIds(const std::vector<TopLevelCollection>& collections,
                                    size_t index) {
  if (index >= collections.size()) return {};
  const TopLevelCollection& c = collections[index];
  if (c.has_unnumbered_input) return {};
  return c.input_report_ids;
}

}  // namespace tk410
