#include "xml/xml_document.h"

#include <gtest/gtest.h>

#include "base/text.h"
#include "support/temp_dir.h"

namespace tk410 {
namespace {

using testing::TempDir;

constexpr wchar_t kDeclaration[] = L"<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n";

std::wstring PathOf(const TempDir& dir, const std::string& name) { return dir.wide() + FromUtf8(name); }

// The four-line profile example, as this component writes it:
//   <?xml version="1.0" encoding="UTF-8"?> CR LF
//   <profile> CR LF
//   <profileinfo name="A&amp;B"/> CR LF
//   </profile> CR LF
// UTF-8, no byte-order mark.
constexpr char kFourLines[] =
    "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n"
    "<profile>\r\n"
    "<profileinfo name=\"A&amp;B\"/>\r\n"
    "</profile>\r\n";

TEST(XmlDocumentTest, BuildsSavesAndReadsBackTheProfileExample) {
  TempDir dir;
  XmlDocument doc;
  EXPECT_FALSE(doc.SetDocText(kDeclaration));  // no root yet
  ASSERT_TRUE(doc.AddElement(L"profile"));
  ASSERT_TRUE(doc.EnterElement());
  ASSERT_TRUE(doc.AddElement(L"profileinfo"));
  ASSERT_TRUE(doc.SetAttribute(L"name", L"A&B"));
  ASSERT_TRUE(doc.SaveFile(PathOf(dir, "p.xml")));
  EXPECT_EQ(dir.Read("p.xml"), kFourLines);

  XmlDocument back;
  ASSERT_TRUE(back.LoadFile(PathOf(dir, "p.xml")));
  ASSERT_TRUE(back.ParseDocument());
  ASSERT_TRUE(back.FindElement(L"profile"));
  ASSERT_TRUE(back.EnterElement());
  ASSERT_TRUE(back.FindElement(L"profileinfo"));
  EXPECT_EQ(back.GetAttribute(L"name"), L"A&B");
  EXPECT_EQ(back.GetAttribute(L"missing"), L"");
}

TEST(XmlDocumentTest, EditsKeepTheIndexInStepWithTheText) {
  XmlDocument doc;
  doc.SetDocText(kDeclaration);
  ASSERT_TRUE(doc.AddElement(L"root"));
  ASSERT_TRUE(doc.EnterElement());
  ASSERT_TRUE(doc.AddElement(L"a"));
  ASSERT_TRUE(doc.AddElement(L"b"));
  ASSERT_TRUE(doc.SetAttribute(L"v", L"1"));
  ASSERT_TRUE(doc.EnterElement());
  ASSERT_TRUE(doc.AddElement(L"c"));
  ASSERT_TRUE(doc.SetAttribute(L"q", L"<'\">"));
  ASSERT_TRUE(doc.LeaveElement());
  ASSERT_TRUE(doc.AddElement(L"d"));
  EXPECT_FALSE(doc.SetAttribute(L"bad name", L"1"));
  EXPECT_FALSE(doc.AddElement(L"<x"));
  const std::wstring built = std::wstring(kDeclaration) +
                             L"<root>\r\n<a/>\r\n<b v=\"1\">\r\n<c q=\"&lt;&apos;&quot;&gt;\"/>\r\n</b>\r\n<d/>\r\n</root>\r\n";
  EXPECT_EQ(doc.GetDocText(), built);

  // Edits at the front move everything behind them: grow and shrink
  // attributes, insert a sibling in the middle, then keep walking.
  XmlDocument edit;
  ASSERT_TRUE(edit.SetDocText(built));
  ASSERT_TRUE(edit.FindElement(L"root") && edit.EnterElement() && edit.FindElement(L"a"));
  ASSERT_TRUE(edit.SetAttribute(L"x", L"long value"));
  ASSERT_TRUE(edit.SetAttribute(L"x", L""));
  ASSERT_TRUE(edit.SetAttribute(L"y", L"2"));
  ASSERT_TRUE(edit.AddElement(L"a2"));
  ASSERT_TRUE(edit.FindElement(L"b"));
  ASSERT_TRUE(edit.SetAttribute(L"v", L"22"));
  ASSERT_TRUE(edit.EnterElement() && edit.FindElement(L"c"));
  EXPECT_EQ(edit.GetAttribute(L"q"), L"<'\">");
  ASSERT_TRUE(edit.AddElement(L"c2"));
  ASSERT_TRUE(edit.LeaveElement() && edit.FindElement(L"d"));
  ASSERT_TRUE(edit.SetAttribute(L"w", L"3"));
  EXPECT_EQ(edit.GetDocText(),
            std::wstring(kDeclaration) +
                L"<root>\r\n<a x=\"\" y=\"2\"/>\r\n<a2/>\r\n<b v=\"22\">\r\n"
                L"<c q=\"&lt;&apos;&quot;&gt;\"/>\r\n<c2/>\r\n</b>\r\n<d w=\"3\"/>\r\n</root>\r\n");
  // The edited text parses into the same structure.
  XmlDocument again;
  ASSERT_TRUE(again.SetDocText(edit.GetDocText()));
  ASSERT_TRUE(again.FindElement(L"root") && again.EnterElement());
  ASSERT_TRUE(again.FindElement(L"b") && again.EnterElement() && again.FindElement(L"c2"));
  ASSERT_TRUE(again.LeaveElement() && again.FindElement(L"d"));
  EXPECT_EQ(again.GetAttribute(L"w"), L"3");
}

// A malformed start tag, as a hostile file holds it: the tag's quotes pair
// differently from how its attributes read, so a second attribute added to
// it lands inside x's open value and would not read back. The edit is
// refused and the text kept.
//   <p t"><i k="0" m=)1" ma" d="L"/><i x=">" c="1"/>
TEST(XmlDocumentTest, AttributeSetOnlyWhereItReadsBack) {
  XmlDocument doc;
  doc.SetDocText(L"<p t\"><i k=\"0\" m=)1\" ma\" d=\"L\"/><i x=\">\" c=\"1\"/>");
  ASSERT_TRUE(doc.FindElement(L"p"));
  ASSERT_TRUE(doc.SetAttribute(L"i", L"z"));
  EXPECT_EQ(doc.GetAttribute(L"i"), L"z");
  const std::wstring before = doc.GetDocText();
  EXPECT_FALSE(doc.SetAttribute(L"n", L"v"));
  EXPECT_EQ(doc.GetDocText(), before);
  // Nor where a value's own text would read as an attribute of that name.
  EXPECT_FALSE(doc.SetAttribute(L"v", L"1\" <D v=\"2\""));
  EXPECT_EQ(doc.GetDocText(), before);
  EXPECT_EQ(doc.GetAttribute(L"n"), L"");
  EXPECT_EQ(doc.GetAttribute(L"i"), L"z");
}

// Unquoted values in tags a parser still takes as well formed: a value read
// up to the next space can hold a quote that opens a run the tag's end is
// found past, or the '/' of an empty-element tag's "/>". Rewriting such a
// value as value="..." reads back, but would unbalance the quotes or drop the
// '/', and the saved file would no longer parse. Whatever an edit does, the
// document stays well formed.
//   <r><i k=a"b c"/><j k=/></r>
TEST(XmlDocumentTest, AttributeEditsKeepAWellFormedDocumentWellFormed) {
  XmlDocument doc;
  ASSERT_TRUE(doc.SetDocText(L"<r><i k=a\"b c\"/><j k=/></r>"));
  ASSERT_TRUE(doc.FindElement(L"r") && doc.EnterElement());
  for (const wchar_t* element : {L"i", L"j"}) {
    ASSERT_TRUE(doc.FindElement(element)) << ToUtf8(element);
    for (const wchar_t* attribute : {L"k", L"n"}) {
      // An edit made reads back; a refused one leaves the text as it was.
      const std::wstring before = doc.GetDocText();
      if (doc.SetAttribute(attribute, L"1")) {
        EXPECT_EQ(doc.GetAttribute(attribute), L"1");
      } else {
        EXPECT_EQ(doc.GetDocText(), before);
      }
      XmlDocument again;
      EXPECT_TRUE(again.SetDocText(doc.GetDocText())) << ToUtf8(doc.GetDocText());
    }
  }
}

TEST(XmlDocumentTest, FirstChildOfAnElementWithEndTag) {
  XmlDocument doc;
  ASSERT_TRUE(doc.SetDocText(L"<r><e a='1'></e></r>"));
  ASSERT_TRUE(doc.FindElement(L"r") && doc.EnterElement() && doc.FindElement(L"e"));
  ASSERT_TRUE(doc.EnterElement());
  ASSERT_TRUE(doc.AddElement(L"k"));
  ASSERT_TRUE(doc.SetAttribute(L"b", L"2"));
  ASSERT_TRUE(doc.LeaveElement());
  EXPECT_EQ(doc.GetAttribute(L"a"), L"1");
  EXPECT_EQ(doc.GetDocText(), L"<r><e a='1'>\r\n<k b=\"2\"/>\r\n</e></r>");
}

TEST(XmlDocumentTest, ParsesOnlyWellFormedSingleRootDocuments) {
  struct Row { const wchar_t* text; bool ok; const wchar_t* word; };
  const Row rows[] = {
      {L"<a/>", true, L""},
      {L"<?xml version='1.0'?><!-- <b> --><!DOCTYPE a [<!ENTITY x '>'>]><a><![CDATA[</a><z>]]></a>", true, L""},
      {L"<a/><b/>", false, L"root_has_sibling"},
      {L"", false, L"no_root_element"},
      {L"just text", false, L"no_root_element"},
      {L"<a></b></a>", false, L"lone_end_tag"},
      {L"<a><b></a>", false, L"unended_start_tag"},
      {L"<a>", false, L"unended_start_tag"},
      {L"< a/>", false, L"first_tag_syntax"},
      {L"<a><!-- never closed", false, L"unended_markup"},
      {L"<r><a x=\"1/></r>", false, L"unended_start_tag"},
  };
  for (const auto& r : rows) {
    XmlDocument doc;
    EXPECT_EQ(doc.SetDocText(r.text), r.ok) << ToUtf8(r.text);
    EXPECT_NE(doc.GetResult().find(r.word), std::wstring::npos) << ToUtf8(r.text) << " -> " << ToUtf8(doc.GetResult());
  }
}

TEST(XmlDocumentTest, CursorFollowsDocumentOrder) {
  XmlDocument doc;
  ASSERT_TRUE(doc.SetDocText(L"<r><A n='1'/><B><C/></B><A n='2'/></r>"));
  EXPECT_FALSE(doc.EnterElement());  // no current element yet
  EXPECT_FALSE(doc.LeaveElement());  // top level
  EXPECT_FALSE(doc.FindElement(L"A"));  // only the root is at the top level
  ASSERT_TRUE(doc.FindElement(L"r"));
  ASSERT_TRUE(doc.EnterElement());
  ASSERT_TRUE(doc.FindElement(L"B"));
  EXPECT_FALSE(doc.FindElement(L"a"));  // names are case-sensitive
  ASSERT_TRUE(doc.FindElement(L"A"));   // the A after B
  EXPECT_EQ(doc.GetAttribute(L"n"), L"2");
  EXPECT_FALSE(doc.FindElement(L"B"));  // B lies before: the cursor stays
  EXPECT_EQ(doc.GetAttribute(L"n"), L"2");
  EXPECT_FALSE(doc.FindElement(L"C"));  // grandchildren are not searched
  // Leaving remembers the element left, entering returns to it.
  XmlDocument nest;
  ASSERT_TRUE(nest.SetDocText(L"<r><B><C/><D/></B></r>"));
  ASSERT_TRUE(nest.FindElement(L"r") && nest.EnterElement() && nest.FindElement(L"B"));
  ASSERT_TRUE(nest.EnterElement() && nest.FindElement(L"C") && nest.LeaveElement());
  ASSERT_TRUE(nest.EnterElement());
  EXPECT_TRUE(nest.FindElement(L"D"));
}

TEST(XmlDocumentTest, AttributeValuesDecodeReferences) {
  XmlDocument doc;
  ASSERT_TRUE(doc.SetDocText(
      L"<a p=\"&lt;&amp;&gt;&apos;&quot;\" q='&#65;&#x42;&#X43;' r=\"&unknown; &#; &#xZZ; &#0; &#1114112; &\" "
      L"s = 'spaced' t=bare u/>"));
  ASSERT_TRUE(doc.FindElement(L"a"));
  EXPECT_EQ(doc.GetAttribute(L"p"), L"<&>'\"");
  EXPECT_EQ(doc.GetAttribute(L"q"), L"ABC");
  EXPECT_EQ(doc.GetAttribute(L"r"), L"&unknown; &#; &#xZZ; &#0; &#1114112; &");
  EXPECT_EQ(doc.GetAttribute(L"s"), L"spaced");
  EXPECT_EQ(doc.GetAttribute(L"t"), L"bare");
  EXPECT_EQ(doc.GetAttribute(L"u"), L"");
  EXPECT_EQ(XmlDocument::EscapeText(L"a<b&c>d'e\"f"), L"a&lt;b&amp;c&gt;d&apos;e&quot;f");
}

// One document in four byte forms; each loads to the same attribute values.
//   UTF-8 without a mark, UTF-8 with EF BB BF, UTF-16LE with FF FE,
//   UTF-16BE with FE FF (each character as two bytes, high byte first), and
//   both UTF-16 forms without a mark (recognised by the zero high bytes).
TEST(XmlDocumentTest, ByteOrderMarksAndUtf16LoadLikePlainUtf8) {
  const std::wstring text = L"<?xml version=\"1.0\" encoding=\"UTF-16\"?>\r\n<m n=\"\u00e9\u4e2d\U0001F600\"/>\r\n";
  const std::string utf8 = ToUtf8(text);
  std::string le = "\xFF\xFE", be = "\xFE\xFF";
  for (char16_t u : ToUtf16(text)) {
    le += static_cast<char>(u & 0xFF);
    le += static_cast<char>(u >> 8);
    be += static_cast<char>(u >> 8);
    be += static_cast<char>(u & 0xFF);
  }
  struct Row { const char* name; std::string bytes; const wchar_t* word; };
  const Row rows[] = {
      {"plain.xml", utf8, L"read"},
      {"bom8.xml", "\xEF\xBB\xBF" + utf8, L"bom"},
      {"le.xml", le, L"bom"},
      {"be.xml", be, L"endian_swap"},
      {"le-nomark.xml", le.substr(2), L"read"},
      {"be-nomark.xml", be.substr(2), L"endian_swap"},
  };
  TempDir dir;
  for (const auto& r : rows) {
    XmlDocument doc;
    dir.Write(r.name, r.bytes);
    ASSERT_TRUE(doc.LoadFile(PathOf(dir, r.name))) << r.name;
    EXPECT_EQ(doc.GetDocText(), text) << r.name;
    EXPECT_NE(doc.GetResult().find(r.word), std::wstring::npos) << r.name;
    ASSERT_TRUE(doc.ParseDocument()) << r.name;
    ASSERT_TRUE(doc.FindElement(L"m"));
    EXPECT_EQ(doc.GetAttribute(L"n"), L"\u00e9\u4e2d\U0001F600") << r.name;
  }
}

TEST(XmlDocumentTest, DeclaredEncodingsOnLoadAndSave) {
  TempDir dir;
  // Latin-1 stands for the ANSI code page: byte E9 is U+00E9.
  dir.Write("ansi.xml", "<?xml version=\"1.0\" encoding=\"windows-1252\"?><a v=\"caf\xE9\"/>");
  XmlDocument doc;
  ASSERT_TRUE(doc.LoadFile(PathOf(dir, "ansi.xml")) && doc.ParseDocument());
  ASSERT_TRUE(doc.FindElement(L"a"));
  EXPECT_EQ(doc.GetAttribute(L"v"), L"caf\u00e9");
  // NULs are dropped from the data.
  dir.Write("nul.xml", std::string("<a v=\"x\0y\"/>", 13));
  ASSERT_TRUE(doc.LoadFile(PathOf(dir, "nul.xml")) && doc.ParseDocument());
  EXPECT_NE(doc.GetResult().find(L"nulls_removed"), std::wstring::npos);
  ASSERT_TRUE(doc.FindElement(L"a"));
  EXPECT_EQ(doc.GetAttribute(L"v"), L"xy");

  // Saving in the declared ANSI encoding replaces what it cannot hold.
  //   "<?xml version="1.0" encoding="ISO-8859-1"?><a v="é?"/>" with é = E9
  ASSERT_TRUE(doc.SetDocText(L"<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?><a v=\"\u00e9\u4e2d\"/>"));
  ASSERT_TRUE(doc.SaveFile(PathOf(dir, "out.xml")));
  EXPECT_EQ(dir.Read("out.xml"), "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?><a v=\"\xE9?\"/>");
  EXPECT_NE(doc.GetResult().find(L"conversion_loss"), std::wstring::npos);
  // A UTF-16 declaration saves UTF-16LE without a mark, which loads again.
  ASSERT_TRUE(doc.SetDocText(L"<?xml version=\"1.0\" encoding=\"UTF-16\"?><a v=\"\u4e2d\"/>"));
  ASSERT_TRUE(doc.SaveFile(PathOf(dir, "u16.xml")));
  EXPECT_EQ(dir.Read("u16.xml").substr(0, 4), std::string("<\0?\0", 4));
  XmlDocument back;
  ASSERT_TRUE(back.LoadFile(PathOf(dir, "u16.xml")) && back.ParseDocument() && back.FindElement(L"a"));
  EXPECT_EQ(back.GetAttribute(L"v"), L"\u4e2d");

  EXPECT_FALSE(doc.LoadFile(PathOf(dir, "missing.xml")));
  EXPECT_NE(doc.GetResult().find(L"file_error"), std::wstring::npos);
  EXPECT_FALSE(doc.FindElement(L"a"));  // the old index is gone
  EXPECT_FALSE(doc.SaveFile(PathOf(dir, "no/such/dir.xml")));
}


// A file whose text itself begins with U+FEFF (a doubled mark, as some
// editors leave it) keeps that character through a save and a load: the
// reader takes the first mark as the mark, so the writer puts one in front.
//   UTF-8:  EF BB BF | EF BB BF "<a/>"
//   UTF-16: FF FE | FF FE "<" 00 ...
TEST(XmlDocumentTest, LeadingMarkCharacterSurvivesSaveAndLoad) {
  TempDir dir;
  for (const wchar_t* declaration : {L"", L"<?xml version=\"1.0\" encoding=\"UTF-16\"?>"}) {
    const std::wstring text = std::wstring(L"\uFEFF") + declaration + L"<a/>";
    XmlDocument doc;
    ASSERT_TRUE(doc.SetDocText(text));
    ASSERT_TRUE(doc.SaveFile(PathOf(dir, "mark.xml")));
    XmlDocument back;
    ASSERT_TRUE(back.LoadFile(PathOf(dir, "mark.xml")));
    EXPECT_EQ(back.GetDocText(), text) << dir.Read("mark.xml").size();
  }
  // Text without the character is written without a mark, as before.
  XmlDocument plain;
  ASSERT_TRUE(plain.SetDocText(L"<a/>") && plain.SaveFile(PathOf(dir, "plain.xml")));
  EXPECT_EQ(dir.Read("plain.xml"), "<a/>");
}

// The element limit counts elements, not '<' characters, and a refused text
// leaves nothing to walk.
TEST(XmlDocumentTest, ElementLimitRefusesLargerDocuments) {
  XmlDocument doc;
  doc.SetElementLimit(3);
  ASSERT_TRUE(doc.SetDocText(L"<a><!-- <x><y><z> --><b/><c/></a>"));
  ASSERT_TRUE(doc.FindElement(L"a") && doc.EnterElement() && doc.FindElement(L"c"));
  EXPECT_FALSE(doc.SetDocText(L"<a><b/><c/><d/></a>"));
  EXPECT_NE(doc.GetResult().find(L"too_many_elements"), std::wstring::npos);
  EXPECT_FALSE(doc.FindElement(L"a"));
  EXPECT_FALSE(doc.EnterElement());
  EXPECT_FALSE(doc.LeaveElement());
  EXPECT_EQ(doc.GetAttribute(L"x"), L"");
  doc.SetElementLimit(4);
  EXPECT_TRUE(doc.ParseDocument());
  EXPECT_TRUE(doc.FindElement(L"a"));
}

TEST(XmlDocumentTest, FilesOverTheBoundAreNotRead) {
  TempDir dir;
  dir.Write("four.xml", "<a/>");
  XmlDocument doc;
  EXPECT_FALSE(doc.LoadFile(PathOf(dir, "four.xml"), 3));
  EXPECT_EQ(doc.GetReadResult(), FileRead::kTooLarge);
  EXPECT_NE(doc.GetResult().find(L"file_too_large"), std::wstring::npos);
  EXPECT_TRUE(doc.LoadFile(PathOf(dir, "four.xml"), 4));
  EXPECT_EQ(doc.GetReadResult(), FileRead::kOk);
}

}  // namespace
}  // namespace tk410
