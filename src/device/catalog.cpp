#include "device/catalog.h"

#include "app/program_paths.h"
#include "base/text.h"
#include "base/trace.h"
#include "xml/xml_document.h"

namespace tk410 {

std::wstring DeviceCatalog::ShippedPath() { return ShippedDataDirectory() + L"config.xml"; }

void DeviceCatalog::Clear() {
  models_.clear();
  modes_.clear();
  software_ = SoftwareFacts{};
}

bool DeviceCatalog::Load(const std::wstring& path) {
  Clear();
  // The catalogue is shipped data, often installed through links: links are
  // followed. A catalogue of every model of the vendor is a few hundred
  // elements and kilobytes; the bounds leave room for far more.
  constexpr size_t kMaxCatalogueBytes = 4u << 20;
  constexpr size_t kMaxCatalogueElements = 1u << 16;
  XmlDocument doc;
  doc.SetElementLimit(kMaxCatalogueElements);
  if (!doc.LoadFile(path, kMaxCatalogueBytes, FileLinks::kFollow) || !doc.ParseDocument()) {
    Trace(kTraceError, "catalogue %s not read: %s", ToUtf8(path).c_str(), ToUtf8(doc.GetResult()).c_str());
    return false;
  }
  if (!doc.FindElement(L"config")) return false;
  doc.EnterElement();

  if (doc.FindElement(L"device")) {
    doc.EnterElement();
    while (doc.FindElement(L"mouse")) {
      CatalogEntry entry;
      entry.name = doc.GetAttribute(L"name");
      entry.device_type = WToI(doc.GetAttribute(L"device_type"));
      entry.device_attr = doc.GetAttribute(L"device_attr");
      models_.push_back(entry);
      doc.EnterElement();
      // The mode fields carry over from one mode to the next; each is overwritten.
      while (doc.FindElement(L"mode")) {
        entry.mode = WToI(doc.GetAttribute(L"value"));
        entry.desc = doc.GetAttribute(L"desc");
        entry.vid = static_cast<int>(WcsToL16(doc.GetAttribute(L"vid")));
        entry.pid = static_cast<int>(WcsToL16(doc.GetAttribute(L"pid")));
        entry.hid_interface = doc.GetAttribute(L"hid_interface");
        modes_.push_back(entry);
      }
      doc.LeaveElement();
    }
    doc.LeaveElement();
  }
  // Without a device element the search starts before config's first child.
  if (doc.FindElement(L"software")) {
    // "caption" names the program; nothing uses it.
    software_.version = doc.GetAttribute(L"version");
    doc.EnterElement();
    // Each search continues after the element found last.
    if (doc.FindElement(L"website")) software_.website = doc.GetAttribute(L"url");
    if (doc.FindElement(L"store")) software_.store = doc.GetAttribute(L"url");
    if (doc.FindElement(L"upgrade")) software_.upgrade = doc.GetAttribute(L"url");
    if (doc.FindElement(L"copyright")) software_.notice = doc.GetAttribute(L"info");
  }
  Trace(kTraceInfo, "catalogue: %zu models, %zu modes", models_.size(), modes_.size());
  return true;
}

std::wstring DeviceCatalog::DatabaseName(int device_type, const std::wstring& fallback) const {
  for (const CatalogEntry& m : models_) {
    if (m.device_type == device_type) return m.device_attr;
  }
  return fallback;
}

std::vector<CatalogEntry> DeviceCatalog::SupportedRecords(int product_type) const {
  std::vector<CatalogEntry> records;
  for (const CatalogEntry& m : modes_) {
    if (m.device_type == product_type) records.push_back(m);
  }
  return records;
}

}  // namespace tk410
