#pragma once
// XmlDocument: a small text-based XML document with a cursor.
//
// The whole document is kept as one wide text, exactly as it will be written,
// plus an index of element positions (where each start tag begins, how long
// the start tag and the whole element are, and the parent/child/sibling
// links; 36 bytes an element, 32-bit offsets, so a text holds at most
// kMaxTextLength characters). Elements are addressed by their number in the index; the numbers
// stay valid while the text grows, because every edit shifts the positions
// of the elements behind it. There are no node objects, no namespaces and no
// validation: the component builds, saves, loads and walks the profile, macro
// and catalogue files of this program.
//
// Output form: one element per line, CR LF line ends, no indentation; an
// element without children is written as an empty-element tag and turns into
// a start tag plus end tag when it receives its first child. Attribute values
// are written in double quotes with < & > ' " escaped.
//
// Failures are bool results; a failed operation leaves the cursor unchanged.
// Any input text yields either false or a document that can be walked safely.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "base/safe_file.h"

namespace tk410 {

class XmlDocument {
 public:
  // The longest text the element index can address.
  static constexpr size_t kMaxTextLength = INT32_MAX;
  // The largest file LoadFile reads unless told otherwise.
  static constexpr size_t kDefaultMaxFileBytes = 32u << 20;

  XmlDocument();

  // Replaces the text and parses it; the cursor stands before the root. A
  // text longer than kMaxTextLength is refused and the document kept.
  bool SetDocText(std::wstring_view text);
  const std::wstring& GetDocText() const { return text_; }

  // Reads and decodes a file (byte-order mark, declared encoding, UTF-8 by
  // default). The element index is emptied; call ParseDocument next. The file
  // is read as ReadRegularFile does: a regular file of at most `max_bytes`,
  // a link at the path followed or refused as `links` says; anything else is
  // "file_error" with the reason in GetReadResult().
  bool LoadFile(const std::wstring& path, size_t max_bytes = kDefaultMaxFileBytes,
                FileLinks links = FileLinks::kFollow);
  FileRead GetReadResult() const { return read_result_; }
  // Indexes every element. True when there is exactly one root element and
  // no ill-formed tag. The cursor stands before the root.
  bool ParseDocument();
  // The most elements ParseDocument indexes: a text with more is refused
  // ("too_many_elements") as soon as the next one is found, and the index is
  // left empty. No limit unless set.
  void SetElementLimit(size_t count) { element_limit_ = count; }
  // Writes the text in the encoding its declaration names (UTF-8 when none),
  // without a byte-order mark. The file is replaced whole (atomic_file.h):
  // false, and an existing file unchanged, when it cannot be written.
  bool SaveFile(const std::wstring& path);

  // Inserts a new empty element after the current one (as the last child of
  // the parent when there is no current element); it becomes current.
  bool AddElement(std::wstring_view name);
  // Adds or replaces an attribute of the current element.
  bool SetAttribute(std::wstring_view name, std::wstring_view value);
  // Finds the next sibling named `name` after the current element.
  bool FindElement(std::wstring_view name);
  bool EnterElement();
  bool LeaveElement();
  // The decoded value, or empty text when the current element lacks it.
  std::wstring GetAttribute(std::wstring_view name) const;

  // Result words of the last load, save or parse, separated by spaces
  // (for example "read bom endian_swap" or "root_has_sibling").
  const std::wstring& GetResult() const { return result_; }

  // The five-character escaping of attribute values, and its reverse (which
  // also decodes &#NN; and &#xNN;). Unknown or malformed references are kept.
  static std::wstring EscapeText(std::wstring_view text);
  static std::wstring UnescapeText(std::wstring_view text);

 private:
  // One index entry. Element 0 stands for the document itself: its children
  // are the top-level elements. Offsets and lengths fit 31 bits because the
  // text is at most kMaxTextLength long; links are element numbers.
  struct ElemPos {
    uint32_t start = 0;      // offset of '<'
    uint32_t start_len = 0;  // length of the start tag (or the empty-element tag)
    uint32_t length = 0;     // length of the whole element, end tag included
    uint32_t name_len = 0;
    uint32_t end_len : 31 = 0;   // length of the end tag; 0 for empty or unended elements
    uint32_t empty_tag : 1 = 0;  // written as <name .../>
    int32_t parent = 0;
    int32_t first_child = 0;
    int32_t last_child = 0;
    int32_t next = 0;
    size_t End() const { return size_t{start} + length; }
  };
  static_assert(sizeof(ElemPos) == 36);

  // Where one attribute lies in a start tag.
  struct AttrSpan {
    size_t begin = 0;  // first character of the name
    size_t end = 0;    // just after the closing quote (or the name/value)
    size_t value_begin = 0;
    size_t value_end = 0;
  };

  void ResetIndex();
  // How many elements the index will hold at most: the '<' that can begin a
  // start tag, up to the element limit plus one.
  size_t ExpectedElements() const;
  void AddResult(std::wstring_view word);
  int AppendElement(int parent, size_t start, size_t start_len, size_t name_len);
  std::wstring_view ElementName(int elem) const;
  bool FindAttribute(int elem, std::wstring_view name, AttrSpan* span) const;
  // Replaces text_[pos, pos + old_len) and moves every element behind the
  // edit; elements that enclose the edit grow or shrink with it.
  void ReplaceText(size_t pos, size_t old_len, std::wstring_view with);
  void LinkAfter(int parent, int after, int elem);

  std::wstring text_;
  std::vector<ElemPos> elems_;
  int parent_ = 0;
  int current_ = 0;
  int child_ = 0;
  std::wstring result_;
  size_t load_log_len_ = 0;  // words of the last LoadFile at the front of result_
  size_t element_limit_ = SIZE_MAX;
  FileRead read_result_ = FileRead::kOk;
};

// True when `name` can be written as an element or attribute name.
bool IsXmlName(std::wstring_view name);

}  // namespace tk410
