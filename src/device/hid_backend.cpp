#include "device/hid_backend.h"

#include <cerrno>

#include "device/report_descriptor.h"

namespace tk410 {

bool HidOpenResult::PermissionDenied() const {
  return device == nullptr && (error == EACCES || error == EPERM);
}

std::vector<HidCollectionInfo> CollectionsOfInterface(const HidCollectionInfo& base,
                                                      const uint8_t* descriptor, size_t length) {
  std::vector<HidCollectionInfo> out;
  auto parsed = ParseReportDescriptor(descriptor, length);
  if (!parsed) return out;
  for (size_t i = 0; i < parsed->size(); ++i) {
    HidCollectionInfo info = base;
    info.usage_page = (*parsed)[i].usage_page;
    info.usage = (*parsed)[i].usage;
    info.input_report_ids = OwnInputReportIds(*parsed, i);
    out.push_back(std::move(info));
  }
  return out;
}

}  // namespace tk410
