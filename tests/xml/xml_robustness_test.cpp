// Truncated and garbled files must load into a document that can be walked
// and edited safely (or fail cleanly). Run under AddressSanitizer to catch
// reads outside the text.

#include <gtest/gtest.h>

#include <filesystem>
#include <random>
#include <string>

#include "base/text.h"
#include "support/temp_dir.h"
#include "xml/xml_document.h"

namespace tk410 {
namespace {

using testing::TempDir;

const char kSample[] =
    "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n"
    "<!DOCTYPE profile [<!ENTITY e \"x>y\">]>\r\n"
    "<!-- exported profile -->\r\n"
    "<profile version=\"2\">\r\n"
    "<profileinfo name=\"A&amp;B &#x4E2D;&#65;\" index='3'/>\r\n"
    "<keys>\r\n"
    "<key id=\"0\" type=\"1\" value=\"&lt;L&gt;\"/>\r\n"
    "<key id=\"1\" type=\"2\" value=\"&quot;R&apos;\"></key>\r\n"
    "<key id=\"2\"><![CDATA[<not a=\"tag\">]]></key>\r\n"
    "</keys>\r\n"
    "<macros><macro id=\"7\" name=\"m\xC3\xA9\"><event t=\"1\" d=\"10\"/><?pi data?></macro></macros>\r\n"
    "<light mode = '4' color=\"#FF00FF\"/>\r\n"
    "</profile>\r\n";

const wchar_t* const kNames[] = {L"profile", L"profileinfo", L"keys", L"key", L"macros",
                                 L"macro", L"event", L"light", L"not"};
const wchar_t* const kAttributes[] = {L"name", L"id", L"value", L"mode", L"t", L"a", L"version"};

// Visits elements by name at every level (depth-limited), reading attributes.
size_t Walk(XmlDocument& doc, int depth) {
  size_t seen = 0;
  for (const wchar_t* name : kNames) {
    while (doc.FindElement(name)) {
      ++seen;
      for (const wchar_t* a : kAttributes) seen += doc.GetAttribute(a).size() > 0 ? 1 : 0;
      if (depth < 6 && doc.EnterElement()) {
        seen += Walk(doc, depth + 1);
        EXPECT_TRUE(doc.LeaveElement());
      }
    }
  }
  return seen;
}

// Loads, parses, walks, then edits the document and parses the edited text.
void Exercise(const TempDir& dir, const std::string& bytes) {
  // A fresh file each time: rewriting one file in place makes ext4 flush it
  // on every close, which costs far more than the parsing.
  static int serial = 0;
  const std::string name = "f" + std::to_string(++serial) + ".xml";
  const auto path = dir.Write(name, bytes);
  XmlDocument doc;
  const bool loaded = doc.LoadFile(dir.wide() + FromUtf8(name));
  std::filesystem::remove(path);
  if (!loaded) return;
  doc.ParseDocument();
  Walk(doc, 0);
  if (doc.FindElement(L"profile") && doc.EnterElement()) {
    doc.FindElement(L"keys");
    doc.AddElement(L"added");
    doc.SetAttribute(L"v", L"<&>");
    doc.SetAttribute(L"id", L"");
  }
  const std::wstring edited = doc.GetDocText();
  XmlDocument again;
  again.SetDocText(edited);
  Walk(again, 0);
}

TEST(XmlRobustnessTest, SampleIsWellFormed) {
  TempDir dir;
  dir.Write("f.xml", kSample);
  XmlDocument doc;
  ASSERT_TRUE(doc.LoadFile(dir.wide() + L"f.xml"));
  ASSERT_TRUE(doc.ParseDocument()) << ToUtf8(doc.GetResult());
  EXPECT_EQ(Walk(doc, 0), 21u);  // 10 elements and 11 attributes
}

TEST(XmlRobustnessTest, EveryPrefixLoadsSafely) {
  TempDir dir;
  const std::string sample(kSample);
  std::string utf16 = "\xFF\xFE";
  for (char16_t u : ToUtf16(FromUtf8(sample))) {
    utf16 += static_cast<char>(u & 0xFF);
    utf16 += static_cast<char>(u >> 8);
  }
  for (const std::string* full : {&sample, static_cast<const std::string*>(&utf16)}) {
    for (size_t n = 0; n <= full->size(); ++n) Exercise(dir, full->substr(0, n));
  }
}

TEST(XmlRobustnessTest, GarbledBytesLoadSafely) {
  TempDir dir;
  std::mt19937 rng(20240611);
  static const char kMarkup[] = "<>/\"'=&;#x![]?-\r\n\0\xFF\xFE\xEF\xBB\xBF";
  const std::string markup(kMarkup, sizeof kMarkup - 1);
  for (int round = 0; round < 1500; ++round) {
    std::string bytes(kSample);
    const int edits = 1 + static_cast<int>(rng() % 8);
    for (int k = 0; k < edits && !bytes.empty(); ++k) {
      const size_t at = rng() % bytes.size();
      // Markup characters break structure far more often than random bytes.
      const char c = rng() % 2 ? markup[rng() % markup.size()] : static_cast<char>(rng() & 0xFF);
      switch (rng() % 3) {
        case 0: bytes[at] = c; break;
        case 1: bytes.insert(bytes.begin() + static_cast<std::ptrdiff_t>(at), c); break;
        default: bytes.erase(at, 1 + rng() % 4); break;
      }
    }
    Exercise(dir, bytes);
  }
}

}  // namespace
}  // namespace tk410
