#include "device/report_descriptor.h"

#include <gtest/gtest.h>

#include <vector>

namespace tk410 {
namespace {

// Mouse: Usage Page 1, Usage 2, Collection(Application), Report ID 1,
// Usage 1 (pointer), Collection(Physical) with buttons and X/Y, two End
// Collections. hidapi 0.13 lists the nested pointer as a second entry.
const std::vector<uint8_t> kMouse = {
    0x05, 0x01, 0x09, 0x02, 0xA1, 0x01, 0x85, 0x01, 0x09, 0x01, 0xA1, 0x00,
    0x05, 0x09, 0x19, 0x01, 0x29, 0x03, 0x15, 0x00, 0x25, 0x01, 0x95, 0x03,
    0x75, 0x01, 0x81, 0x02, 0x95, 0x01, 0x75, 0x05, 0x81, 0x01, 0x05, 0x01,
    0x09, 0x30, 0x09, 0x31, 0x15, 0x81, 0x25, 0x7F, 0x75, 0x08, 0x95, 0x02,
    0x81, 0x06, 0xC0, 0xC0};
// Vendor: Usage Page 0xFF01 (3-byte item), Usage 0x10, 64-byte input and
// output without report id, then Report ID 0x51 for a feature report.
const std::vector<uint8_t> kVendor = {
    0x06, 0x01, 0xFF, 0x09, 0x10, 0xA1, 0x01, 0x09, 0x01, 0x75, 0x08, 0x95,
    0x40, 0x81, 0x02, 0x09, 0x02, 0x91, 0x02, 0x85, 0x51, 0x09, 0x03, 0x95,
    0x14, 0xB1, 0x02, 0xC0};
// Keyboard without report ids: Usage Page 1, Usage 6, modifiers and keys.
const std::vector<uint8_t> kKeyboard = {
    0x05, 0x01, 0x09, 0x06, 0xA1, 0x01, 0x05, 0x07, 0x19, 0xE0, 0x29, 0xE7,
    0x15, 0x00, 0x25, 0x01, 0x75, 0x01, 0x95, 0x08, 0x81, 0x02, 0x95, 0x06,
    0x75, 0x08, 0x81, 0x00, 0xC0};
// Keyboard with Report ID 2.
const std::vector<uint8_t> kKeyboardId2 = {
    0x05, 0x01, 0x09, 0x06, 0xA1, 0x01, 0x85, 0x02, 0x05, 0x07, 0x75, 0x08,
    0x95, 0x08, 0x81, 0x00, 0xC0};

std::vector<uint8_t> Cat(std::initializer_list<std::vector<uint8_t>> parts) {
  std::vector<uint8_t> all;
  for (const auto& p : parts) all.insert(all.end(), p.begin(), p.end());
  return all;
}

TEST(ReportDescriptor, KeepsOnlyTopLevelCollectionsWithTheirReportIds) {
  // The unnumbered vendor collection comes first: a Report ID is a global
  // item and would otherwise carry over into it.
  const auto d = Cat({kVendor, kMouse, kKeyboardId2});
  auto parsed = ParseReportDescriptor(d.data(), d.size());
  ASSERT_TRUE(parsed);
  ASSERT_EQ(parsed->size(), 3u);  // the nested pointer collection is not one
  EXPECT_EQ((*parsed)[0].usage_page, 0xFF01);
  EXPECT_EQ((*parsed)[0].usage, 0x10);
  EXPECT_TRUE((*parsed)[0].has_unnumbered);
  EXPECT_EQ((*parsed)[0].report_ids, (std::set<uint8_t>{0x51}));
  EXPECT_EQ((*parsed)[1].usage_page, 0x01);
  EXPECT_EQ((*parsed)[1].usage, 0x02);
  EXPECT_EQ((*parsed)[1].report_ids, (std::set<uint8_t>{1}));
  EXPECT_FALSE((*parsed)[1].has_unnumbered);
  EXPECT_EQ((*parsed)[2].usage, 0x06);
  EXPECT_EQ((*parsed)[2].report_ids, (std::set<uint8_t>{2}));

  // Whose input reports are whose: the vendor collection's input report
  // carries no report id (its feature report does), so every input report
  // of the interface counts as its own; the mouse owns those numbered 1.
  EXPECT_TRUE((*parsed)[0].has_unnumbered_input);
  EXPECT_TRUE(OwnInputReportIds(*parsed, 0).empty());
  EXPECT_EQ(OwnInputReportIds(*parsed, 1), (std::set<uint8_t>{1}));
  EXPECT_EQ(OwnInputReportIds(*parsed, 2), (std::set<uint8_t>{2}));
  // A Report ID set in one collection carries over into the next.
  const auto carried = Cat({kKeyboardId2, kVendor});
  auto c = ParseReportDescriptor(carried.data(), carried.size());
  ASSERT_TRUE(c);
  EXPECT_EQ((*c)[1].report_ids, (std::set<uint8_t>{2, 0x51}));
  EXPECT_EQ(OwnInputReportIds(*c, 1), (std::set<uint8_t>{2}));
  EXPECT_TRUE(OwnInputReportIds(*parsed, 9).empty());
}

TEST(ReportDescriptor, KeyboardWithoutReportIdsAndExtendedUsage) {
  auto kb = ParseReportDescriptor(kKeyboard.data(), kKeyboard.size());
  ASSERT_TRUE(kb);
  ASSERT_EQ(kb->size(), 1u);
  EXPECT_EQ((*kb)[0].usage, 0x06);
  EXPECT_TRUE((*kb)[0].report_ids.empty());
  EXPECT_TRUE((*kb)[0].has_unnumbered);

  // Usage 0xFF0A0001 as one 4-byte item carries its own page.
  const std::vector<uint8_t> extended = {0x0B, 0x01, 0x00, 0x0A, 0xFF, 0xA1, 0x01, 0xC0};
  auto ext = ParseReportDescriptor(extended.data(), extended.size());
  ASSERT_TRUE(ext);
  ASSERT_EQ(ext->size(), 1u);
  EXPECT_EQ((*ext)[0].usage_page, 0xFF0A);
  EXPECT_EQ((*ext)[0].usage, 0x01);

  // A long item (0xFE, size, tag, data) is skipped.
  const std::vector<uint8_t> with_long = Cat({{0xFE, 0x02, 0x10, 0xAB, 0xCD}, kKeyboard});
  auto lng = ParseReportDescriptor(with_long.data(), with_long.size());
  ASSERT_TRUE(lng);
  EXPECT_EQ(lng->size(), 1u);
}

TEST(ReportDescriptor, RejectsMalformedDescriptors) {
  const std::vector<std::vector<uint8_t>> bad = {
      {0x06, 0x01},                          // item data runs past the end
      {0x05, 0x01, 0x09, 0x02, 0xA1, 0x01},  // collection left open
      {0xC0},                                // End Collection without Collection
      {0x05, 0x01, 0xA1, 0x01, 0xC0, 0xC0},  // one End Collection too many
      {0xFE, 0x05, 0x00, 0x01},              // long item cut short
      {0xB4},                                // Pop without Push
  };
  for (const auto& d : bad) {
    EXPECT_FALSE(ParseReportDescriptor(d.data(), d.size())) << "size " << d.size();
  }
  auto empty = ParseReportDescriptor(nullptr, 0);
  ASSERT_TRUE(empty);
  EXPECT_TRUE(empty->empty());
}

}  // namespace
}  // namespace tk410
