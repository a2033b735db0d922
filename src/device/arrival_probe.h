#pragma once
// The arrival probe: does a newly arrived HID interface carry the wired
// family's vendor collection (top-level usage page 0xFF01, usage 0x10)? Any
// vendor and product id count; only the collection matters.

#include <cstddef>
#include <cstdint>
#include <string>

namespace tk410 {

// True when a top-level collection of the report descriptor is the wired
// vendor collection. A malformed descriptor gives false.
bool DescriptorHasWiredCollection(const uint8_t* descriptor, size_t length);

// Opens the hidraw node for reading and writing and reads its report
// descriptor (HIDIOCGRDESC). False when the node cannot be opened (missing,
// no permission) or the descriptor has no wired vendor collection.
bool ProbeHidrawNode(const std::string& node);

}  // namespace tk410
