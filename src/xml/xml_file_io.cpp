#include "xml/xml_file_io.h"

#include "base/text.h"

namespace tk410 {

void StartXmlDocument(XmlDocument& doc) {
  doc.SetDocText(L"<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n");
}

bool LoadXmlFileWithRoot(XmlDocument& doc, const std::wstring& path, const wchar_t* root) {
  doc.SetElementLimit(kMaxImportElements);
  return doc.LoadFile(path, kMaxImportFileBytes, FileLinks::kFollow) && doc.ParseDocument() &&
         doc.FindElement(root);
}

int IntAttribute(const XmlDocument& doc, const wchar_t* name) {
  return WToI(doc.GetAttribute(name));
}

}  // namespace tk410
