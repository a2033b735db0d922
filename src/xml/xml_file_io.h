#pragma once
// What the profile and macro files share: how a new document starts and how
// a chosen file is loaded before it is read.

#include <cstddef>
#include <string>

#include "xml/xml_document.h"

namespace tk410 {

// Files larger than this are refused without being read: the largest
// genuine profile or macro file is a few hundred kilobytes, and reading a
// huge file whole would freeze the window.
constexpr size_t kMaxImportFileBytes = 32u << 20;

// Starts `doc` with the XML declaration (UTF-8) and nothing else.
void StartXmlDocument(XmlDocument& doc);

// Loads and parses `path` when it names an existing regular file of at most
// kMaxImportFileBytes, then finds the root element `root`. True only when
// every step succeeded; the cursor then stands on the root.
bool LoadXmlFileWithRoot(XmlDocument& doc, const std::wstring& path, const wchar_t* root);

// The integer value of an attribute of the current element (_wtoi rules: a
// missing or non-numeric text reads as 0).
int IntAttribute(const XmlDocument& doc, const wchar_t* name);

}  // namespace tk410
