#pragma once
// A small HID report descriptor parser: finds the top-level (depth 0)
// collections with their usage page and usage, the way the Windows HID
// parser's capabilities describe a collection, and the report ids each of
// them uses. Used by the hidapi backend (hidapi 0.13 on hidraw also lists
// nested collections) and by the arrival probe.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <set>
#include <vector>

namespace tk410 {

struct TopLevelCollection {
  uint16_t usage_page = 0;
  uint16_t usage = 0;
  // Report ids used by the main items of this collection (empty when its
  // reports carry no report id).
  std::set<uint8_t> report_ids;
  // Main items without a report id (report number 0).
  bool has_unnumbered = false;
  // The same for the input items alone.
  std::set<uint8_t> input_report_ids;
  bool has_unnumbered_input = false;
};

// Parses `descriptor`. Returns nothing for a malformed descriptor: an item
// running past the end, an End Collection without its Collection, a
// collection left open, or nesting deeper than 64.
std::optional<std::vector<TopLevelCollection>> ParseReportDescriptor(const uint8_t* descriptor,
                                                                      size_t length);

// For collection `index` of one interface: the report ids that mark its
// input reports. When all its input reports are numbered, these are their
// ids, and a report starting with any other byte belongs to another
// collection. When its input reports carry no report id the result is
// empty: HID does not allow numbered and unnumbered reports in one
// descriptor, so such a collection has its interface to itself and every
// input report on it is its own, whatever its first byte.
std::set<uint8_t> OwnInputReportIds(const std::vector<TopLevelCollection>& collections, size_t index);

}  // namespace tk410
