// HID report descriptors as a device (or a hostile one) gives them: parsed
// into top-level collections, and the input report ids of each collection.

#include <cstddef>
#include <cstdint>

#include "device/report_descriptor.h"
#include "support/check.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace tk410;
  const auto collections = ParseReportDescriptor(data, size);
  if (!collections) return 0;
  for (size_t i = 0; i < collections->size(); ++i) {
    const TopLevelCollection& c = (*collections)[i];
    for (uint8_t id : c.input_report_ids) TK410_FUZZ_CHECK(c.report_ids.count(id) == 1);
    const auto own = OwnInputReportIds(*collections, i);
    for (uint8_t id : own) TK410_FUZZ_CHECK(c.input_report_ids.count(id) == 1);
  }
  (void)OwnInputReportIds(*collections, collections->size());  // past the end: empty, no read
  return 0;
}
