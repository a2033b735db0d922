#include "assign/key_tables.h"

#include <gtest/gtest.h>

namespace tk410 {
namespace {

TEST(KeyTablesTest, VirtualKeysMapOntoKeyboardUsages) {
  struct Case { int key; int usage; };
  const Case cases[] = {
      {65, 4},    {90, 29},   {49, 30},   {57, 38},   {48, 39},   {13, 40},
      {27, 41},   {8, 42},    {9, 43},    {32, 44},   {189, 45},  {220, 49},
      {666, 50},  {186, 51},  {191, 56},  {20, 57},   {112, 58},  {123, 69},
      {124, 104}, {135, 115}, {44, 70},   {145, 71},  {19, 72},   {45, 73},
      {34, 78},   {39, 79},   {37, 80},   {40, 81},   {38, 82},   {144, 83},
      {111, 84},  {108, 88},  {97, 89},   {105, 97},  {96, 98},   {110, 99},
      {162, 224}, {160, 225}, {164, 226}, {91, 227},  {163, 228}, {161, 229},
      {165, 230}, {92, 231},  {93, 101},  {226, 100}, {254, 175}, {136, 136},
      {139, 139}, {301, 236}, {302, 235},
      // Generic Shift, Ctrl, Alt have no usage of their own; unknown codes neither.
      {16, 0},    {17, 0},    {18, 0},    {0, 0},     {140, 0},   {-1, 0},
  };
  for (const auto& c : cases) EXPECT_EQ(VirtualKeyToUsage(c.key), c.usage) << c.key;
}

TEST(KeyTablesTest, UsageNamesAndModifierBits) {
  struct Case { int usage; const wchar_t* name; };
  const Case cases[] = {
      {4, L"A"},        {29, L"Z"},        {30, L"1"},       {39, L"0"},
      {40, L"Enter"},   {88, L"Enter"},    {44, L"Space"},   {49, L"\\"},
      {50, L""},        {53, L"`"},        {57, L"Caps Lock"}, {69, L"F12"},
      {71, L"Scrlk"},   {78, L"Page Down"}, {82, L"Up"},     {83, L"Num"},
      {84, L"//"},      {87, L"Num +"},    {89, L"Num 1"},   {98, L"Num 0"},
      {99, L"Num Del"}, {100, L""},        {101, L"Menu"},   {104, L""},
      {115, L""},       {175, L"Fn"},      {224, L"Ctrl"},   {228, L"Ctrl"},
      {229, L"Shift"},  {230, L"Alt"},     {227, L"Windows"}, {231, L""},
      {0, L""},         {3, L""},
  };
  for (const auto& c : cases) EXPECT_EQ(UsageName(c.usage), c.name) << c.usage;

  for (int usage = 224; usage <= 231; ++usage) EXPECT_EQ(ModifierBit(usage), 1 << (usage - 224));
  EXPECT_EQ(ModifierBit(4), 4);
  EXPECT_EQ(ModifierBit(223), 223);
  EXPECT_EQ(ModifierBit(232), 232);
}

}  // namespace
}  // namespace tk410
