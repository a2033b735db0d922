// The device catalogue (config.xml beside the programs): any file loads or
// is refused, the scan's records come from it, and the udev rule built from
// it holds only comments and rule lines.

#include <cstddef>
#include <cstdint>
#include <set>
#include <sstream>
#include <string>
#include <string_view>

#include "base/text.h"
#include "device/catalog.h"
#include "device/udev_rules.h"
#include "support/check.h"
#include "support/scratch.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace tk410;
  const std::string path =
      fuzz::WriteScratchFile("config.xml", std::string_view(reinterpret_cast<const char*>(data), size));
  if (path.empty()) return 0;
  DeviceCatalog catalog;
  const bool loaded = catalog.Load(FromUtf8(path));
  if (!loaded) TK410_FUZZ_CHECK(catalog.Models().empty() && catalog.Modes().empty());

  std::set<int> types;
  for (const CatalogEntry& model : catalog.Models()) types.insert(model.device_type);
  for (const CatalogEntry& mode : catalog.Modes()) types.insert(mode.device_type);
  for (int type : types) {
    (void)catalog.DatabaseName(type, L"fallback");
    for (const CatalogEntry& record : catalog.SupportedRecords(type)) {
      TK410_FUZZ_CHECK(record.device_type == type);
    }
  }

  std::istringstream rules(BuildUdevRules(catalog.Modes()));
  for (std::string line; std::getline(rules, line);) {
    TK410_FUZZ_CHECK(line.rfind("#", 0) == 0 || line.rfind("SUBSYSTEM==\"hidraw\", ", 0) == 0);
  }
  return 0;
}
