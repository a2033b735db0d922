#include "xml/xml_encoding.h"

#include <algorithm>

#include "base/code_page.h"
#include "base/text.h"
#include "base/trace.h"

namespace tk410 {

namespace {

constexpr size_t kDeclarationScan = 1024;

void Note(std::wstring* log, const wchar_t* word) {
  if (!log) return;
  log->append(word);
  log->push_back(L' ');
}

bool IsSpace(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

std::wstring FromUtf16Bytes(std::string_view bytes, bool big_endian) {
  std::u16string units(bytes.size() / 2, u'\0');
  for (size_t i = 0; i < units.size(); ++i) {
    const auto b0 = static_cast<unsigned char>(bytes[2 * i]);
    const auto b1 = static_cast<unsigned char>(bytes[2 * i + 1]);
    units[i] = static_cast<char16_t>(big_endian ? (b0 << 8) | b1 : (b1 << 8) | b0);
  }
  return FromUtf16(units);
}

bool IsEncodable(wchar_t c) {
  const auto cp = static_cast<char32_t>(c);
  return cp <= 0x10FFFF && (cp < 0xD800 || cp > 0xDFFF);
}

}  // namespace

std::string DeclaredEncoding(std::string_view head) {
  head = head.substr(0, std::min(head.size(), kDeclarationScan));
  size_t i = 0;
  while (i < head.size() && IsSpace(head[i])) ++i;
  if (head.substr(i, 5) != "<?xml") return {};
  const size_t close = head.find("?>", i);
  const std::string_view decl = head.substr(i, close == std::string_view::npos ? head.size() - i : close - i);
  size_t at = decl.find("encoding");
  if (at == std::string_view::npos) return {};
  at += 8;
  while (at < decl.size() && IsSpace(decl[at])) ++at;
  if (at >= decl.size() || decl[at] != '=') return {};
  ++at;
  while (at < decl.size() && IsSpace(decl[at])) ++at;
  if (at >= decl.size() || (decl[at] != '"' && decl[at] != '\'')) return {};
  const char quote = decl[at++];
  const size_t end = decl.find(quote, at);
  if (end == std::string_view::npos) return {};
  return std::string(decl.substr(at, end - at));
}

std::string DeclaredEncoding(std::wstring_view head) {
  // The declaration is ASCII; anything else cannot be part of it.
  std::string narrow;
  const size_t n = std::min(head.size(), kDeclarationScan);
  narrow.reserve(n);
  for (size_t i = 0; i < n; ++i) narrow.push_back(head[i] > 0 && head[i] < 0x80 ? static_cast<char>(head[i]) : '\x7f');
  return DeclaredEncoding(std::string_view(narrow));
}

XmlEncoding EncodingFromName(std::string_view name) {
  const std::string upper = UpperAscii(name);
  if (upper.empty() || upper == "UTF-8" || upper == "UTF8") return XmlEncoding::kUtf8;
  if (upper == "UTF-16" || upper == "UTF-16LE" || upper == "UCS-2" || upper == "UNICODE") return XmlEncoding::kUtf16Le;
  if (upper == "UTF-16BE") return XmlEncoding::kUtf16Be;
  return XmlEncoding::kAnsi;
}

std::wstring DecodeXmlBytes(std::string_view bytes, std::wstring* log) {
  auto byte = [&](size_t i) { return i < bytes.size() ? static_cast<unsigned char>(bytes[i]) : 0x100u; };
  XmlEncoding encoding = XmlEncoding::kUtf8;
  std::string declared;
  if (byte(0) == 0xEF && byte(1) == 0xBB && byte(2) == 0xBF) {
    Note(log, L"bom");
    bytes.remove_prefix(3);
  } else if (byte(0) == 0xFF && byte(1) == 0xFE) {
    Note(log, L"bom");
    encoding = XmlEncoding::kUtf16Le;
    bytes.remove_prefix(2);
  } else if (byte(0) == 0xFE && byte(1) == 0xFF) {
    Note(log, L"bom");
    encoding = XmlEncoding::kUtf16Be;
    bytes.remove_prefix(2);
  } else if (byte(0) != 0 && byte(1) == 0) {
    // UTF-16 without a mark (as this component saves it): an ASCII character
    // with a zero byte, whose declaration cannot be read as 8-bit text.
    encoding = XmlEncoding::kUtf16Le;
  } else if (byte(0) == 0 && byte(1) != 0 && byte(1) < 0x100) {
    encoding = XmlEncoding::kUtf16Be;
  } else {
    declared = DeclaredEncoding(bytes);
    if (declared.empty()) Note(log, L"utf8_detection");
    // A UTF-16 name on 8-bit data is a stale declaration: read the bytes as UTF-8.
    encoding = EncodingFromName(declared) == XmlEncoding::kAnsi ? XmlEncoding::kAnsi : XmlEncoding::kUtf8;
  }

  std::wstring text;
  switch (encoding) {
    case XmlEncoding::kUtf8:
      text = FromUtf8(bytes);
      break;
    case XmlEncoding::kUtf16Le:
    case XmlEncoding::kUtf16Be:
      if (encoding == XmlEncoding::kUtf16Be) Note(log, L"endian_swap");
      if (bytes.size() % 2 != 0) Note(log, L"truncation_error");
      text = FromUtf16Bytes(bytes, encoding == XmlEncoding::kUtf16Be);
      break;
    case XmlEncoding::kAnsi: {
      Note(log, L"converted_from");
      const CodePageDecoding decoded = DecodeCodePage(bytes, declared, &text);
      if (decoded.replaced > 0) Note(log, L"conversion_loss");
      if (decoded.known) break;
      // A name no converter knows: byte for byte, as Latin-1.
      Trace(kTraceInfo, "XML file declares unknown encoding \"%.40s\"; read as Latin-1", declared.c_str());
      Note(log, L"unknown_encoding");
      text.reserve(bytes.size());
      for (char c : bytes) text.push_back(static_cast<wchar_t>(static_cast<unsigned char>(c)));
      break;
    }
  }
  const size_t before = text.size();
  std::erase(text, L'\0');
  if (text.size() != before) Note(log, L"nulls_removed");
  return text;
}

std::string EncodeXmlText(std::wstring_view text, std::wstring* log) {
  const XmlEncoding encoding = EncodingFromName(DeclaredEncoding(text));
  const bool lossy = !std::all_of(text.begin(), text.end(), IsEncodable);
  // The reader drops a leading byte-order mark, so a text that itself begins
  // with U+FEFF gets a mark in front to keep that character.
  const bool mark = !text.empty() && text.front() == L'\uFEFF';
  std::string bytes;
  switch (encoding) {
    case XmlEncoding::kUtf8:
      if (mark) bytes = "\xEF\xBB\xBF";
      bytes += ToUtf8(text);
      if (lossy) Note(log, L"conversion_loss");
      return bytes;
    case XmlEncoding::kUtf16Le:
    case XmlEncoding::kUtf16Be: {
      Note(log, L"converted_to");
      if (lossy) Note(log, L"conversion_loss");
      const std::u16string units = ToUtf16(text);
      const bool big = encoding == XmlEncoding::kUtf16Be;
      bytes.reserve(units.size() * 2 + 2);
      if (mark) bytes = big ? "\xFE\xFF" : "\xFF\xFE";
      for (char16_t u : units) {
        const char hi = static_cast<char>(u >> 8), lo = static_cast<char>(u & 0xFF);
        bytes.push_back(big ? hi : lo);
        bytes.push_back(big ? lo : hi);
      }
      return bytes;
    }
    case XmlEncoding::kAnsi: {
      Note(log, L"converted_to");
      bool lost = false;
      bytes.reserve(text.size());
      for (wchar_t c : text) {
        const bool fits = c >= 0 && c <= 0xFF;
        lost |= !fits;
        bytes.push_back(fits ? static_cast<char>(c) : '?');
      }
      if (lost) Note(log, L"conversion_loss");
      return bytes;
    }
  }
  return bytes;
}

}  // namespace tk410
