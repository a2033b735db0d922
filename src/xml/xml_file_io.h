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
// Documents with more elements are refused before they are indexed whole.
// A genuine file has a few hundred (buttons, lighting modes, DPI stages, or
// the steps of one macro); a 32 MiB file of "<item/>" would have 4.8 million,
// and the index alone would take 170 MB.
constexpr size_t kMaxImportElements = 1u << 18;

// Starts `doc` with the XML declaration (UTF-8) and nothing else.
void StartXmlDocument(XmlDocument& doc);

// Loads and parses `path` when it names a regular file of at most
// kMaxImportFileBytes with at most kMaxImportElements elements, then finds
// the root element `root`. True only when every step succeeded; the cursor
// then stands on the root. The file is the user's choice, so a link to a
// regular file is followed; pipes, devices and folders are refused without
// being read (doc.GetReadResult() says why a file was not read).
bool LoadXmlFileWithRoot(XmlDocument& doc, const std::wstring& path, const wchar_t* root);

// The integer value of an attribute of the current element (_wtoi rules: a
// missing or non-numeric text reads as 0).
int IntAttribute(const XmlDocument& doc, const wchar_t* name);

}  // namespace tk410
