// Checks the shipped language files against the texts the program shows.

#include <gtest/gtest.h>

#include <set>

#include "app/app_paths.h"
#include "app/ini_file.h"
#include "app/language_files.h"
#include "base/text.h"

namespace tk410 {
namespace {

// Every TextId the program looks up, by where it shows.
constexpr int kUsedTextIds[] = {
    // frame, message boxes, dialogs
    5, 6, 7, 20, 21, 22, 23, 25, 26, 27, 30, 31, 32, 36, 39,
    // connection state and refusals
    50, 51, 52, 53, 54, 56, 57,
    // tabs and the button markers
    71, 72, 73, 74, 76, 80, 103,
    // buttons page
    101, 111, 112, 113, 114, 115,
    // function texts stored with assignments (wired and Nordic reads)
    90, 91, 106, 107, 108, 109, 110, 117, 118, 119, 120, 121, 122, 123, 124, 125, 126, 127,
    128, 129, 130, 131, 132, 133, 134, 139,
    // function lists and the assignment dialog
    150, 151, 152, 153, 154, 155, 156, 160, 161, 162, 163, 164, 170, 175, 176, 177, 178, 179,
    180, 181, 182, 185, 186, 187, 188, 189, 190, 191, 192, 193, 194,
    // confirmations and results
    200, 201, 210, 212,
    // DPI and performance page
    249, 253, 255, 257, 258, 259, 260, 261, 500, 531, 532, 533, 534, 535, 536, 537, 560,
    573, 575, 576, 577, 578, 579, 581, 582, 585, 586, 587, 600, 601, 602, 605, 606, 607,
    610, 611, 613,
    // macro page
    350, 351, 352, 353, 357, 358, 359, 360, 361, 362, 363, 364, 365, 366, 367, 368, 385,
    386, 387, 388, 389, 390, 391, 392, 393, 394, 395, 396, 397, 398, 400, 401, 402, 403,
    405, 406, 407, 408, 409, 410, 411, 412, 413, 414, 415,
    // settings page
    630, 631, 632, 633, 634, 635, 636, 637, 638, 639, 641, 650, 651, 652, 653, 654, 657,
    658, 659, 670, 671, 672, 675, 676,
    // default profile names
    800, 801, 811, 821, 831,
    // device access and the virtual mouse
    900, 901, 902, 903, 904, 905, 906, 907, 908,
    // keys the mouse cannot send
    970, 971,
    // the pointer value the desktop may not apply
    980,
    // macro files refused on import
    930, 931, 932, 933,
    // the double-click time's unit; help of the DPI, rate, scroll and game panels
    990, 991, 992, 993, 994,
};

std::set<int> IdsOf(const IniFile& file) {
  std::set<int> ids;
  for (const auto& section : file.sections()) {
    if (section.name != kLanguageSection) continue;
    for (const auto& [key, value] : section.entries) {
      EXPECT_EQ(FormatInt(WToI(key)), key) << "key is not a plain decimal number";
      ids.insert(WToI(key));
    }
  }
  return ids;
}

TEST(LanguageDataTest, BothLanguagesCarryEveryUsedTextWithinTheLimit) {
  const std::wstring folder = LanguageFileTexts::DefaultDirectory();
  std::set<int> ids[2];
  int index = 0;
  for (int language : {kLanguageEnglish, kLanguageChinese}) {
    SCOPED_TRACE(language);
    std::string bytes;
    ASSERT_TRUE(ReadFileBytes(folder + FormatInt(language) + L".lan", bytes));
    EXPECT_EQ(DecodeTextFile(bytes).find(L'\uFFFD'), std::wstring::npos) << "not UTF-8";
    const IniFile file = IniFile::Parse(bytes);
    ids[index] = IdsOf(file);
    for (const auto& section : file.sections()) {
      for (const auto& [key, raw] : section.entries) {
        EXPECT_LE(raw.size(), kMaxProfileText + 2) << ToUtf8(key);  // + a pair of quotes
        EXPECT_FALSE(file.GetString(kLanguageSection, key).empty()) << ToUtf8(key);
      }
    }
    for (int id : kUsedTextIds) EXPECT_TRUE(ids[index].count(id)) << "missing text " << id;
    ++index;
  }
  EXPECT_EQ(ids[0], ids[1]);
}

TEST(LanguageDataTest, TextsTheProgramComposesWithRead) {
  LanguageFileTexts english(LanguageFileTexts::DefaultDirectory(), kLanguageEnglish);
  LanguageFileTexts chinese(LanguageFileTexts::DefaultDirectory(), kLanguageChinese);
  // The macro list recognises these words in names made under the other language.
  const LanguageTexts& through_interface = english;
  EXPECT_EQ(through_interface.GetLangText(351), L"Custom");
  EXPECT_EQ(chinese.GetLangText(351), L"自定义");
  EXPECT_EQ(english.GetLangText(31), L"Copy");
  EXPECT_EQ(chinese.GetLangText(31), L"复制");
  // DPI stage captions are text 261 directly followed by the stage number.
  EXPECT_EQ(english.GetLangText(261) + L"1", L"Stage 1");
  EXPECT_EQ(english.GetLangText(800), L"Profile 1");
  EXPECT_EQ(chinese.GetLangText(831), L"配置 5");
  // The permission text names the command that installs the access rule.
  EXPECT_NE(english.GetLangText(901).find(L"tk410ctl udev-rules"), std::wstring::npos);
  EXPECT_NE(chinese.GetLangText(901).find(L"70-tk410.rules"), std::wstring::npos);
}

}  // namespace
}  // namespace tk410
