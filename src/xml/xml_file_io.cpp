#include "xml/xml_file_io.h"

#include <sys/stat.h>

#include "base/text.h"

namespace tk410 {

void StartXmlDocument(XmlDocument& doc) {
  doc.SetDocText(L"<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n");
}

bool LoadXmlFileWithRoot(XmlDocument& doc, const std::wstring& path, const wchar_t* root) {
  if (path.empty()) return false;
  struct stat info {};
  if (::stat(ToUtf8(path).c_str(), &info) != 0 || !S_ISREG(info.st_mode)) return false;
  if (static_cast<unsigned long long>(info.st_size) > kMaxImportFileBytes) return false;
  return doc.LoadFile(path) && doc.ParseDocument() && doc.FindElement(root);
}

int IntAttribute(const XmlDocument& doc, const wchar_t* name) {
  return WToI(doc.GetAttribute(name));
}

}  // namespace tk410
