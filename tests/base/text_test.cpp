#include "base/text.h"

#include <gtest/gtest.h>

#include <climits>

namespace tk410 {
namespace {

TEST(TextTest, WToIFollowsTheCRuntimeRules) {
  struct Row { const wchar_t* in; int out; };
  const Row rows[] = {
      {L"101", 101},   {L"101abc", 101}, {L"abc", 0},        {L"", 0},
      {L"  \t42", 42}, {L"-5", -5},      {L"+7", 7},         {L"- 5", 0},
      {L"12 34", 12},  {L"0x10", 0},     {L"99999999999", INT_MAX},
      {L"-99999999999", INT_MIN},        {L"2147483647", INT_MAX},
      {L"-2147483648", INT_MIN},
  };
  for (const auto& r : rows) EXPECT_EQ(WToI(r.in), r.out) << "input: " << ToUtf8(r.in);
}

TEST(TextTest, WcsToL16AcceptsPrefixAndEitherCase) {
  struct Row { const wchar_t* in; long out; };
  const Row rows[] = {
      {L"046d", 0x046D}, {L"046D", 0x046D}, {L"0x046D", 0x046D}, {L"0X046d", 0x046D},
      {L"", 0},          {L"zz", 0},        {L"12g4", 0x12},     {L" 1209", 0x1209},
      {L"0x", 0},        {L"-10", -16},
  };
  for (const auto& r : rows) EXPECT_EQ(WcsToL16(r.in), r.out) << "input: " << ToUtf8(r.in);
}

TEST(TextTest, Utf8RoundTripsOutsideAscii) {
  const std::wstring samples[] = {L"Профиль", L"自定义 复制", L"emoji \U0001F600 end", L""};
  for (const auto& s : samples) EXPECT_EQ(FromUtf8(ToUtf8(s)), s);
  EXPECT_EQ(ToUtf8(L"\U0001F600"), "\xF0\x9F\x98\x80");
}

TEST(TextTest, MalformedUtf8NeverReadsPastTheInput) {
  // Truncated three-byte sequence, stray continuation byte, overlong form.
  EXPECT_EQ(FromUtf8(std::string("\xE4\xBD", 2)), L"\uFFFD");
  EXPECT_EQ(FromUtf8("\x80" "A"), L"\uFFFDA");
  EXPECT_EQ(FromUtf8("\xC0\xAF"), L"\uFFFD");
  EXPECT_EQ(FromUtf8("\xED\xA0\x80"), L"\uFFFD");  // encoded surrogate
}

TEST(TextTest, Utf16JoinsSurrogatePairs) {
  const std::u16string u = u"a\U0001F600b";
  EXPECT_EQ(FromUtf16(u), L"a\U0001F600b");
  EXPECT_EQ(ToUtf16(L"a\U0001F600b"), u);
  EXPECT_EQ(FromUtf16(std::u16string(1, char16_t(0xD800))), L"\uFFFD");
}

TEST(TextTest, FormattingAndCase) {
  EXPECT_EQ(FormatInt(-42), L"-42");
  EXPECT_EQ(FormatW(L"%ls_data_kvr.db", L"TK410"), L"TK410_data_kvr.db");
  EXPECT_EQ(FormatW(L"%d.%d", 1, 2), L"1.2");
  EXPECT_EQ(UpperAscii(std::wstring(L"hid\\vid_1209&pid_0001")), L"HID\\VID_1209&PID_0001");
  EXPECT_TRUE(Contains(L"ABC", L""));
  EXPECT_TRUE(EndsWith(L"name Copy", L"Copy"));
  EXPECT_FALSE(StartsWith(L"Cu", L"Custom"));
}

}  // namespace
}  // namespace tk410
