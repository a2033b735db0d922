#include "base/code_page.h"

#include <iconv.h>

#include <cerrno>

#include "base/text.h"

namespace tk410 {

namespace {

constexpr wchar_t kReplacement = 0xFFFD;

// Names are passed to iconv_open only in a plain form: letters, digits and
// "-_.:()", so that no "//TRANSLIT" or "//IGNORE" suffix or path can ride in.
bool IsPlainName(std::string_view name) {
  if (name.empty() || name.size() > 40) return false;
  for (char c : name) {
    const bool ok = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') ||
                    c == '-' || c == '_' || c == '.' || c == ':' || c == '(' || c == ')';
    if (!ok) return false;
  }
  return true;
}

std::string ConverterName(std::string_view name) {
  std::string upper = UpperAscii(name);
  if (upper == "GB2312" || upper == "GB_2312-80" || upper == "EUC-CN") return "GBK";
  return upper;
}

class Converter {
 public:
  explicit Converter(const std::string& from) : cd_(iconv_open("WCHAR_T", from.c_str())) {}
  ~Converter() {
    if (ok()) iconv_close(cd_);
  }
  Converter(const Converter&) = delete;
  Converter& operator=(const Converter&) = delete;
  bool ok() const { return cd_ != reinterpret_cast<iconv_t>(-1); }

  // Converts all of `bytes`, appending to `out`; returns the bytes replaced.
  size_t Convert(std::string_view bytes, std::wstring* out) {
    iconv(cd_, nullptr, nullptr, nullptr, nullptr);  // initial shift state
    size_t replaced = 0;
    char* in = const_cast<char*>(bytes.data());
    size_t in_left = bytes.size();
    wchar_t chunk[4096];
    for (;;) {
      char* to = reinterpret_cast<char*>(chunk);
      size_t to_left = sizeof chunk;
      const size_t before = in_left;
      // With no input left, one more call writes what a stateful code page
      // still holds back.
      const size_t result = in_left > 0 ? iconv(cd_, &in, &in_left, &to, &to_left)
                                        : iconv(cd_, nullptr, nullptr, &to, &to_left);
      const int error = errno;
      const size_t made = (sizeof chunk - to_left) / sizeof(wchar_t);
      out->append(chunk, made);
      if (result != static_cast<size_t>(-1)) {
        if (before == 0) return replaced;
        continue;
      }
      if (error == E2BIG && made > 0) continue;
      // EILSEQ, EINVAL (cut off at the end) or no progress at all: one byte
      // becomes U+FFFD and the conversion goes on behind it.
      if (in_left == 0) return replaced;
      out->push_back(kReplacement);
      ++replaced;
      ++in;
      --in_left;
    }
  }

 private:
  iconv_t cd_;
};

}  // namespace

CodePageDecoding DecodeCodePage(std::string_view bytes, std::string_view name, std::wstring* out) {
  CodePageDecoding result;
  if (!IsPlainName(name)) return result;
  Converter converter(ConverterName(name));
  if (!converter.ok()) return result;
  // ASCII must come out as itself (UTF-32, UTF-7 and EBCDIC do not).
  constexpr std::string_view kProbe = "<?xml version=\"1.0\" encoding='x'?><a b=\"c\"/>\r\n\t;&#:[]";
  std::wstring probe;
  if (converter.Convert(kProbe, &probe) != 0 || probe != FromUtf8(kProbe)) return result;
  result.known = true;
  out->reserve(out->size() + bytes.size());
  result.replaced = converter.Convert(bytes, out);
  return result;
}

}  // namespace tk410
