#include "xml/xml_document.h"

#include <algorithm>
#include <cstdio>
#include <memory>
#include <unordered_map>

#include "base/atomic_file.h"
#include "base/text.h"
#include "xml/xml_encoding.h"

namespace tk410 {

namespace {

constexpr wchar_t kLineEnd[] = L"\r\n";

bool IsSpace(wchar_t c) { return c == L' ' || c == L'\t' || c == L'\r' || c == L'\n'; }

bool IsNameStart(wchar_t c) {
  return (c >= L'a' && c <= L'z') || (c >= L'A' && c <= L'Z') || c == L'_' || c == L':' || c >= 0x80;
}

// Everything up to white space or a markup character belongs to a name.
bool IsNameChar(wchar_t c) {
  return !IsSpace(c) && c != L'/' && c != L'>' && c != L'<' && c != L'=' && c != L'"' && c != L'\'' &&
         c != L'&' && c > 0;
}

size_t NameLength(std::wstring_view text, size_t at) {
  size_t i = at;
  while (i < text.size() && IsNameChar(text[i])) ++i;
  return i - at;
}

// Where a start tag ends: the position of its '>', scanned from `from` (just
// after the name). A quote anywhere in the tag opens a run up to the same
// quote, whose '>' and '<' do not count. A '<' outside quotes means a new tag
// began first: *broken is set and its position returned. The text's size is
// returned when it ends first.
size_t StartTagEnd(std::wstring_view s, size_t from, bool* broken) {
  *broken = false;
  const size_t n = s.size();
  size_t j = from;
  for (; j < n && s[j] != L'>'; ++j) {
    const wchar_t c = s[j];
    if (c == L'"' || c == L'\'') {
      const size_t close = s.find(c, j + 1);
      if (close == std::wstring_view::npos) return n;
      j = close;
    } else if (c == L'<') {
      *broken = true;
      return j;
    }
  }
  return j;
}

struct FileCloser {
  void operator()(FILE* f) const { std::fclose(f); }
};
using FilePtr = std::unique_ptr<FILE, FileCloser>;

// Decodes "&...;" at text[at] into *out; returns the length consumed, or 0
// when the reference is unknown or malformed.
size_t DecodeReference(std::wstring_view text, size_t at, wchar_t* out) {
  static constexpr struct { std::wstring_view name; wchar_t c; } kNamed[] = {
      {L"&lt;", L'<'}, {L"&amp;", L'&'}, {L"&gt;", L'>'}, {L"&apos;", L'\''}, {L"&quot;", L'"'}};
  const std::wstring_view rest = text.substr(at);
  for (const auto& n : kNamed) {
    if (rest.starts_with(n.name)) {
      *out = n.c;
      return n.name.size();
    }
  }
  if (!rest.starts_with(L"&#")) return 0;
  size_t i = 2;
  int base = 10;
  if (i < rest.size() && (rest[i] == L'x' || rest[i] == L'X')) {
    base = 16;
    ++i;
  }
  const size_t digits_from = i;
  char32_t value = 0;
  for (; i < rest.size() && rest[i] != L';'; ++i) {
    const wchar_t c = rest[i];
    int d = -1;
    if (c >= L'0' && c <= L'9') d = c - L'0';
    else if (base == 16 && c >= L'a' && c <= L'f') d = c - L'a' + 10;
    else if (base == 16 && c >= L'A' && c <= L'F') d = c - L'A' + 10;
    if (d < 0 || i - digits_from >= 8) return 0;  // 8 digits exceed Unicode in either base
    value = value * base + d;
  }
  if (i >= rest.size() || i == digits_from) return 0;
  if (value == 0 || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF)) return 0;
  *out = static_cast<wchar_t>(value);
  return i + 1;
}

}  // namespace

bool IsXmlName(std::wstring_view name) {
  return !name.empty() && IsNameStart(name[0]) && NameLength(name, 0) == name.size();
}

XmlDocument::XmlDocument() { ResetIndex(); }

std::wstring XmlDocument::EscapeText(std::wstring_view text) {
  std::wstring out;
  out.reserve(text.size());
  for (wchar_t c : text) {
    switch (c) {
      case L'<': out += L"&lt;"; break;
      case L'&': out += L"&amp;"; break;
      case L'>': out += L"&gt;"; break;
      case L'\'': out += L"&apos;"; break;
      case L'"': out += L"&quot;"; break;
      default: out.push_back(c);
    }
  }
  return out;
}

std::wstring XmlDocument::UnescapeText(std::wstring_view text) {
  std::wstring out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size();) {
    wchar_t c = 0;
    const size_t used = text[i] == L'&' ? DecodeReference(text, i, &c) : 0;
    if (used == 0) {
      out.push_back(text[i++]);
    } else {
      out.push_back(c);
      i += used;
    }
  }
  return out;
}

void XmlDocument::ResetIndex() {
  elems_.assign(1, ElemPos{});
  elems_[0].length = static_cast<uint32_t>(text_.size());
  parent_ = current_ = child_ = 0;
}

size_t XmlDocument::ExpectedElements() const {
  const std::wstring_view s(text_);
  const size_t cap = element_limit_ == SIZE_MAX ? SIZE_MAX : element_limit_ + 1;
  size_t count = 0;
  for (size_t lt = s.find(L'<'); lt != std::wstring_view::npos && count < cap; lt = s.find(L'<', lt + 1)) {
    if (lt + 1 < s.size() && IsNameStart(s[lt + 1])) ++count;
  }
  return count;
}

void XmlDocument::AddResult(std::wstring_view word) {
  result_.append(word);
  result_.push_back(L' ');
}

std::wstring_view XmlDocument::ElementName(int elem) const {
  const ElemPos& e = elems_[elem];
  return std::wstring_view(text_).substr(e.start + 1, e.name_len);
}

bool XmlDocument::SetDocText(std::wstring_view text) {
  if (text.size() > kMaxTextLength) {
    result_.clear();
    AddResult(L"too_large");
    return false;
  }
  text_.assign(text);
  load_log_len_ = 0;
  return ParseDocument();
}

bool XmlDocument::LoadFile(const std::wstring& path, size_t max_bytes, FileLinks links) {
  result_.clear();
  load_log_len_ = 0;
  text_.clear();
  ResetIndex();
  std::string bytes;
  read_result_ = ReadRegularFile(path, max_bytes, links, &bytes);
  if (read_result_ != FileRead::kOk) {
    static constexpr struct { FileRead result; const wchar_t* word; } kWords[] = {
        {FileRead::kMissing, L"missing_file"},
        {FileRead::kNotRegular, L"not_regular_file"},
        {FileRead::kTooLarge, L"file_too_large"},
        {FileRead::kReadError, L"read_error"}};
    AddResult(L"file_error");
    for (const auto& w : kWords)
      if (w.result == read_result_) AddResult(w.word);
    return false;
  }
  AddResult(L"read");
  std::wstring text = DecodeXmlBytes(bytes, &result_);
  bytes = std::string();  // the bytes are done with before the text is indexed
  if (text.size() > kMaxTextLength) {
    AddResult(L"too_large");
    return false;
  }
  text_ = std::move(text);
  load_log_len_ = result_.size();
  ResetIndex();
  return true;
}

bool XmlDocument::SaveFile(const std::wstring& path) {
  result_.clear();
  load_log_len_ = 0;
  const std::string bytes = EncodeXmlText(text_, &result_);
  // Replaced whole: a failed save leaves an existing file as it was.
  if (!WriteFileAtomically(path, bytes)) {
    AddResult(L"file_error");
    return false;
  }
  AddResult(L"write");
  return true;
}

int XmlDocument::AppendElement(int parent, size_t start, size_t start_len, size_t name_len) {
  ElemPos e;
  e.start = static_cast<uint32_t>(start);
  e.start_len = static_cast<uint32_t>(start_len);
  e.length = static_cast<uint32_t>(start_len);
  e.name_len = static_cast<uint32_t>(name_len);
  e.parent = parent;
  const int index = static_cast<int>(elems_.size());
  elems_.push_back(e);
  LinkAfter(parent, elems_[parent].last_child, index);
  return index;
}

void XmlDocument::LinkAfter(int parent, int after, int elem) {
  ElemPos& p = elems_[parent];
  ElemPos& e = elems_[elem];
  e.parent = parent;
  e.next = after ? elems_[after].next : p.first_child;
  if (after) elems_[after].next = elem;
  else p.first_child = elem;
  if (!e.next) p.last_child = elem;
}

bool XmlDocument::ParseDocument() {
  // One forward pass; every search starts where the last one ended, so the
  // time is linear in the text whatever the input.
  result_.resize(std::min(result_.size(), load_log_len_));  // keep the words of the load
  load_log_len_ = 0;
  ResetIndex();
  if (text_.size() > kMaxTextLength) {  // grown past the index by editing
    AddResult(L"too_large");
    return false;
  }
  elems_.reserve(ExpectedElements() + 1);
  const std::wstring_view s(text_);
  const size_t n = s.size();
  std::vector<int> open;                                // start tags awaiting their end tag
  std::unordered_map<std::wstring_view, int> open_names;  // how many of each name are open
  bool ill_formed = false;
  bool seen_markup = false;
  auto flag = [&](const wchar_t* word) {
    if (!ill_formed || result_.find(word) == std::wstring::npos) AddResult(word);
    ill_formed = true;
  };
  auto close_unended = [&](int elem, size_t end) {
    ElemPos& e = elems_[elem];
    e.length = static_cast<uint32_t>(end - e.start);
    e.end_len = 0;
    --open_names[ElementName(elem)];
    flag(L"unended_start_tag");
  };

  size_t i = 0;
  while (i < n) {
    const size_t lt = s.find(L'<', i);
    if (lt == std::wstring_view::npos) break;
    const bool first = !seen_markup;
    seen_markup = true;
    const std::wstring_view rest = s.substr(lt);
    // Declarations, processing instructions, comments and CDATA sections hold
    // no elements: skip them whole.
    static constexpr struct { std::wstring_view open, close; } kSkipped[] = {
        {L"<?", L"?>"}, {L"<!--", L"-->"}, {L"<![CDATA[", L"]]>"}};
    bool skipped = false;
    for (const auto& k : kSkipped) {
      if (!rest.starts_with(k.open)) continue;
      const size_t end = s.find(k.close, lt + k.open.size());
      i = end == std::wstring_view::npos ? n : end + k.close.size();
      if (end == std::wstring_view::npos) flag(L"unended_markup");
      skipped = true;
      break;
    }
    if (skipped) continue;
    if (rest.starts_with(L"<!")) {
      // DOCTYPE and other declarations: up to the '>' outside quotes and outside
      // the internal subset's brackets.
      size_t j = lt + 2;
      int depth = 0;
      wchar_t quote = 0;
      for (; j < n; ++j) {
        const wchar_t c = s[j];
        if (quote) {
          if (c == quote) quote = 0;
        } else if (c == L'"' || c == L'\'') {
          quote = c;
        } else if (c == L'[') {
          ++depth;
        } else if (c == L']') {
          if (depth > 0) --depth;
        } else if (c == L'>' && depth == 0) {
          break;
        }
      }
      if (j >= n) {
        flag(L"unended_markup");
        break;
      }
      i = j + 1;
      continue;
    }
    if (rest.starts_with(L"</")) {
      const size_t name_len = NameLength(s, lt + 2);
      size_t j = lt + 2 + name_len;
      while (j < n && IsSpace(s[j])) ++j;
      if (name_len == 0 || j >= n || s[j] != L'>') {
        flag(first ? L"first_tag_syntax" : L"tag_syntax");
        i = lt + 1;
        continue;
      }
      const std::wstring_view name = s.substr(lt + 2, name_len);
      i = j + 1;
      const auto it = open_names.find(name);
      if (it == open_names.end() || it->second <= 0) {
        flag(L"lone_end_tag");
        continue;
      }
      // Start tags left open inside the one this end tag closes are unended.
      while (ElementName(open.back()) != name) {
        close_unended(open.back(), lt);
        open.pop_back();
      }
      ElemPos& e = elems_[open.back()];
      e.length = static_cast<uint32_t>(i - e.start);
      e.end_len = static_cast<uint32_t>(i - lt);
      --open_names[name];
      open.pop_back();
      continue;
    }
    // A start tag or an empty-element tag.
    const size_t name_len = lt + 1 < n && IsNameStart(s[lt + 1]) ? NameLength(s, lt + 1) : 0;
    if (name_len == 0) {
      flag(first ? L"first_tag_syntax" : L"tag_syntax");
      i = lt + 1;
      continue;
    }
    bool broken = false;
    const size_t j = StartTagEnd(s, lt + 1 + name_len, &broken);
    if (broken || j >= n) {
      flag(first ? L"first_tag_syntax" : L"unended_start_tag");
      i = broken ? j : n;
      continue;
    }
    if (elems_.size() > element_limit_) {
      // Nothing of a document this large is used: the index is let go whole.
      std::vector<ElemPos>().swap(elems_);
      ResetIndex();
      AddResult(L"too_many_elements");
      return false;
    }
    const int parent = open.empty() ? 0 : open.back();
    const int elem = AppendElement(parent, lt, j + 1 - lt, name_len);
    i = j + 1;
    if (s[j - 1] == L'/') {
      elems_[elem].empty_tag = true;
    } else {
      open.push_back(elem);
      ++open_names[ElementName(elem)];
    }
  }
  while (!open.empty()) {
    close_unended(open.back(), n);
    open.pop_back();
  }

  const int root = elems_[0].first_child;
  if (root == 0) {
    AddResult(L"no_root_element");
  } else if (elems_[root].next != 0) {
    AddResult(L"root_has_sibling");
  }
  return root != 0 && elems_[root].next == 0 && !ill_formed;
}

bool XmlDocument::FindElement(std::wstring_view name) {
  int e = current_ ? elems_[current_].next : elems_[parent_].first_child;
  for (; e != 0; e = elems_[e].next) {
    if (ElementName(e) == name) {
      current_ = e;
      child_ = 0;
      return true;
    }
  }
  return false;
}

bool XmlDocument::EnterElement() {
  if (current_ == 0) return false;
  parent_ = current_;
  current_ = child_;
  child_ = 0;
  return true;
}

bool XmlDocument::LeaveElement() {
  if (parent_ == 0) return false;
  child_ = current_;
  current_ = parent_;
  parent_ = elems_[parent_].parent;
  return true;
}

bool XmlDocument::FindAttribute(int elem, std::wstring_view name, AttrSpan* span) const {
  const ElemPos& e = elems_[elem];
  const std::wstring_view s(text_);
  // Attributes lie between the name and the closing '>' (or "/>").
  const size_t tag_end = std::min(size_t{e.start} + e.start_len, s.size()) - 1;
  size_t i = e.start + 1 + e.name_len;
  while (i < tag_end) {
    while (i < tag_end && IsSpace(s[i])) ++i;
    const size_t name_len = std::min(NameLength(s, i), tag_end - i);
    if (name_len == 0) {
      ++i;  // a stray character ('/', a quote, '=')
      continue;
    }
    AttrSpan a;
    a.begin = i;
    i += name_len;
    a.value_begin = a.value_end = a.end = i;
    size_t j = i;
    while (j < tag_end && IsSpace(s[j])) ++j;
    if (j < tag_end && s[j] == L'=') {
      ++j;
      while (j < tag_end && IsSpace(s[j])) ++j;
      if (j < tag_end && (s[j] == L'"' || s[j] == L'\'')) {
        const size_t close = s.find(s[j], j + 1);
        a.value_begin = j + 1;
        a.value_end = close == std::wstring_view::npos || close > tag_end ? tag_end : close;
        a.end = std::min(a.value_end + 1, tag_end);
      } else {
        a.value_begin = j;
        while (j < tag_end && !IsSpace(s[j]) && s[j] != L'>') ++j;
        a.value_end = a.end = j;
      }
      i = a.end;
    }
    if (s.substr(a.begin, name_len) == name) {
      *span = a;
      return true;
    }
  }
  return false;
}

std::wstring XmlDocument::GetAttribute(std::wstring_view name) const {
  AttrSpan a;
  if (current_ == 0 || !FindAttribute(current_, name, &a)) return {};
  return UnescapeText(std::wstring_view(text_).substr(a.value_begin, a.value_end - a.value_begin));
}

void XmlDocument::ReplaceText(size_t pos, size_t old_len, std::wstring_view with) {
  text_.replace(pos, old_len, with);
  const auto delta = static_cast<std::ptrdiff_t>(with.size()) - static_cast<std::ptrdiff_t>(old_len);
  const size_t pos_end = pos + old_len;
  for (size_t k = 1; k < elems_.size(); ++k) {
    ElemPos& e = elems_[k];
    if (e.start >= pos_end) {
      e.start = static_cast<uint32_t>(e.start + delta);
    } else if (e.start < pos && e.End() > pos_end) {
      e.length = static_cast<uint32_t>(e.length + delta);
    }
  }
  elems_[0].length = static_cast<uint32_t>(text_.size());
}

bool XmlDocument::SetAttribute(std::wstring_view name, std::wstring_view value) {
  if (current_ == 0 || !IsXmlName(name)) return false;
  if (text_.size() + name.size() + 6 * value.size() + 4 > kMaxTextLength) return false;
  std::wstring attr(name);
  attr += L"=\"";
  attr += EscapeText(value);
  attr += L'"';
  ElemPos& e = elems_[current_];
  const uint32_t old_length = e.length;
  const uint32_t old_start_len = e.start_len;
  AttrSpan a;
  size_t pos = 0;
  std::wstring replaced;
  if (FindAttribute(current_, name, &a)) {
    pos = a.begin;
    replaced = text_.substr(a.begin, a.end - a.begin);
  } else {
    // Before "/>" or ">", after the last character that is not white space.
    pos = e.start + e.start_len - 1;
    if (e.empty_tag) --pos;
    while (pos > e.start + 1 + e.name_len && IsSpace(text_[pos - 1])) --pos;
    attr.insert(0, 1, L' ');
  }
  ReplaceText(pos, replaced.size(), attr);
  // ReplaceText resized the whole element; the start tag changed by the same amount.
  e.start_len += e.length - old_length;
  // In a malformed start tag (stray or unclosed quotes) the new text can land
  // inside another attribute's value, where it would not read back; and an
  // unquoted value the edit rewrote can have held a quote or the '/' of "/>"
  // the tag's structure rests on. Such an edit is undone and refused: the tag
  // must still end where the index says, as the same kind of tag.
  const size_t begin = attr[0] == L' ' ? pos + 1 : pos;
  const size_t tag_end = e.start + e.start_len - 1;
  bool broken = false;
  const bool same_tag = StartTagEnd(text_, e.start + 1 + e.name_len, &broken) == tag_end && !broken &&
                        (text_[tag_end - 1] == L'/') == e.empty_tag;
  if (same_tag && FindAttribute(current_, name, &a) && a.begin == begin && a.end == pos + attr.size()) {
    return true;
  }
  ReplaceText(pos, attr.size(), replaced);
  e.start_len = old_start_len;
  return false;
}

bool XmlDocument::AddElement(std::wstring_view name) {
  if (!IsXmlName(name)) return false;
  if (text_.size() + 2 * name.size() + 16 > kMaxTextLength) return false;
  const std::wstring tag = L"<" + std::wstring(name) + L"/>";
  int after = current_;
  if (after == 0) after = elems_[parent_].last_child;
  size_t start = 0;
  if (after != 0) {
    // A sibling on its own line after `after`.
    const size_t pos = elems_[after].End();
    ReplaceText(pos, 0, kLineEnd + tag);
    start = pos + 2;
  } else if (parent_ == 0) {
    // The first element of the document, at its end.
    std::wstring insert = tag + kLineEnd;
    if (!text_.empty() && text_.back() != L'\n') insert.insert(0, kLineEnd);
    start = text_.size() + (insert.size() - tag.size() - 2);
    ReplaceText(text_.size(), 0, insert);
  } else {
    ElemPos& p = elems_[parent_];
    if (p.empty_tag) {
      // <p .../> becomes <p ...> CR LF <name/> CR LF </p>
      const size_t slash = p.start + p.start_len - 2;
      const std::wstring insert = L">" + std::wstring(kLineEnd) + tag + kLineEnd + L"</" +
                                  std::wstring(ElementName(parent_)) + L">";
      const size_t old_length = p.length;
      ReplaceText(slash, 2, insert);
      ElemPos& grown = elems_[parent_];
      grown.empty_tag = false;
      grown.start_len -= 1;
      grown.end_len = grown.name_len + 3;
      grown.length = static_cast<uint32_t>(old_length + insert.size() - 2);
      start = slash + 3;
    } else {
      // Before the end tag (or at the end of an element whose end tag is missing).
      const size_t pos = p.End() - p.end_len;
      std::wstring insert = tag + kLineEnd;
      if (pos < 2 || text_.compare(pos - 2, 2, kLineEnd) != 0) insert.insert(0, kLineEnd);
      start = pos + (insert.size() - tag.size() - 2);
      ReplaceText(pos, 0, insert);
      if (p.end_len == 0) elems_[parent_].length += insert.size();
    }
  }
  ElemPos e;
  e.start = static_cast<uint32_t>(start);
  e.start_len = e.length = static_cast<uint32_t>(tag.size());
  e.name_len = static_cast<uint32_t>(name.size());
  e.empty_tag = true;
  const int index = static_cast<int>(elems_.size());
  elems_.push_back(e);
  LinkAfter(parent_, after, index);
  current_ = index;
  child_ = 0;
  return true;
}

}  // namespace tk410
