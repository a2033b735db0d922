#pragma once
// The arrival probe: does a newly arrived HID interface carry the vendor
// collection of the family the program serves (top-level usage page 0xFF01,
// usage 0x10 for the wired family; 0xFF0A, 0x01 for the Nordic family)? Any
// vendor and product id count; only the collection matters.

#include <cstddef>
#include <cstdint>
#include <string>

namespace tk410 {

// A top-level collection by its usage page and usage.
struct VendorCollection {
  uint16_t usage_page = 0;
  uint16_t usage = 0;
};

// The vendor collection of a device type's family: the Nordic family's above
// type 200, the wired family's otherwise.
VendorCollection VendorCollectionOf(int device_type);

// True when a top-level collection of the report descriptor is `wanted`. A
// malformed descriptor gives false.
bool DescriptorHasCollection(const uint8_t* descriptor, size_t length, VendorCollection wanted);

// Opens the hidraw node for reading and writing and reads its report
// descriptor (HIDIOCGRDESC). False when the node cannot be opened (missing,
// no permission) or the descriptor has no `wanted` collection.
bool ProbeHidrawNode(const std::string& node, VendorCollection wanted);

}  // namespace tk410
