#pragma once
// The device catalogue: the mouse models this program knows, their connection
// modes with USB vendor/product ids, and facts about the software, read once
// from config.xml beside the program. Nothing writes the file.

#include <string>
#include <vector>

namespace tk410 {

// One model (mode fields at their fresh values) or one connection mode
// (carrying its model's fields as well).
struct CatalogEntry {
  std::wstring name;
  int device_type = 0;
  std::wstring device_attr;  // names the model's settings database
  int mode = 0;              // dev_mode: 0 direct, 1 and 3 receiver, 2 Bluetooth
  int vid = 0;
  int pid = 0;
  std::wstring desc;
  std::wstring hid_interface;  // upper-case piece of the HID interface path

  bool operator==(const CatalogEntry&) const = default;
};

struct SoftwareFacts {
  std::wstring version;
  std::wstring website;
  std::wstring store;
  std::wstring upgrade;
  std::wstring notice;
};

class DeviceCatalog {
 public:
  // config.xml in the folder of the shipped data files.
  static std::wstring ShippedPath();

  // Empties the lists and reads `path`. Whatever fails (missing file, a
  // document that is not well-formed, no config root) leaves what could not
  // be read empty; the result says whether the config root was read.
  bool Load(const std::wstring& path);
  void Clear();

  const std::vector<CatalogEntry>& Models() const { return models_; }
  const std::vector<CatalogEntry>& Modes() const { return modes_; }
  const SoftwareFacts& Software() const { return software_; }

  // device_attr of the first model of `device_type`, else `fallback`.
  std::wstring DatabaseName(int device_type, const std::wstring& fallback) const;
  // The modes of `product_type`, in catalogue order: the device scan turns
  // each into a supported-device record and keeps them as the active types.
  // Order matters: look-ups by vendor and product id take the first match.
  std::vector<CatalogEntry> SupportedRecords(int product_type) const;

 private:
  std::vector<CatalogEntry> models_;
  std::vector<CatalogEntry> modes_;
  SoftwareFacts software_;
};

}  // namespace tk410
