// XmlDocument, the component under the profile, macro and catalogue files:
// any file is loaded (byte-order marks, declared encodings) and parsed, then
// walked and edited by a script, saved and loaded again.
//
// Input: the file; after a NUL NUL pair, the script. Checked: a value set
// reads back; edits keep a well-formed document well-formed; what is saved
// in UTF-8 loads as the same text; escaping is undone by unescaping.

#include <fuzzer/FuzzedDataProvider.h>

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "base/text.h"
#include "xml/xml_document.h"
#include "xml/xml_encoding.h"
#include "xml/xml_file_io.h"
#include "support/check.h"
#include "support/scratch.h"

namespace {

using namespace tk410;

// Names the program's own files use, so the walk finds something.
const wchar_t* const kNames[] = {
    L"profile", L"profileinfo", L"keyitems",  L"item",   L"Lightitems", L"Mouse_DPI", L"DPI1",
    L"Mouse",   L"macro",       L"macroinfo", L"macroitems", L"config", L"mouse",     L"mode",
    L"key_code", L"value",      L"name",      L"desc",   L"vid",        L"pid"};

std::wstring Name(FuzzedDataProvider& in) {
  if (in.ConsumeBool()) return kNames[in.ConsumeIntegralInRange<size_t>(0, std::size(kNames) - 1)];
  return FromUtf8(in.ConsumeRandomLengthString(16));
}

// Walks and edits; a value set must read back at once.
void RunScript(XmlDocument& doc, FuzzedDataProvider& in) {
  int depth = 0;
  for (int step = 0; step < 64 && in.remaining_bytes() > 0; ++step) {
    switch (in.ConsumeIntegralInRange<int>(0, 5)) {
      case 0:
        (void)doc.FindElement(Name(in));
        break;
      case 1:
        if (doc.EnterElement()) ++depth;
        break;
      case 2:
        if (doc.LeaveElement()) --depth;
        break;
      case 3:
        (void)doc.GetAttribute(Name(in));
        break;
      case 4:
        // Inside the root only: a second top-level element is no document.
        if (depth > 0) (void)doc.AddElement(Name(in));
        break;
      case 5: {
        const std::wstring name = Name(in);
        const std::wstring value = FromUtf8(in.ConsumeRandomLengthString(32));
        if (doc.SetAttribute(name, value)) TK410_FUZZ_CHECK(doc.GetAttribute(name) == value);
        break;
      }
    }
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  const size_t split = input.find(std::string_view("\0\0", 2));
  const std::string path = fuzz::WriteScratchFile("doc.xml", input.substr(0, split));
  if (path.empty()) return 0;
  FuzzedDataProvider script(split == std::string_view::npos ? nullptr : data + split + 2,
                            split == std::string_view::npos ? 0 : size - split - 2);

  XmlDocument doc;
  doc.SetElementLimit(kMaxImportElements);
  if (!doc.LoadFile(FromUtf8(path))) return 0;
  const bool well_formed = doc.ParseDocument();
  RunScript(doc, script);
  const std::wstring text = doc.GetDocText();
  TK410_FUZZ_CHECK(XmlDocument::UnescapeText(XmlDocument::EscapeText(text)) == text);

  XmlDocument reparsed;
  const bool reparsed_ok = reparsed.SetDocText(text);
  if (well_formed) TK410_FUZZ_CHECK(reparsed_ok);

  const std::wstring saved_path = FromUtf8(fuzz::ScratchDir() + "saved.xml");
  if (!doc.SaveFile(saved_path)) return 0;
  const bool lossless = doc.GetResult().find(L"conversion_loss") == std::wstring::npos;
  XmlDocument loaded;
  TK410_FUZZ_CHECK(loaded.LoadFile(saved_path));
  const bool utf8 = EncodingFromName(DeclaredEncoding(std::wstring_view(text))) == XmlEncoding::kUtf8;
  if (utf8 && lossless && text.find(L'\0') == std::wstring::npos) {
    TK410_FUZZ_CHECK(loaded.GetDocText() == text);
  }
  if (reparsed_ok && lossless) TK410_FUZZ_CHECK(loaded.ParseDocument());
  return 0;
}
