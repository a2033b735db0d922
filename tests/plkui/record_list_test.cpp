// The macro step list: insertion, moves, replacement by index and by
// timestamp, deletion by timestamp and the event count.

#include <gtest/gtest.h>

#include "plkui/record_list.h"

namespace tk410::test {
namespace {

using PLKUI::CRecordList;
using PLKUI::RecordItem;

std::vector<int> Timestamps(const CRecordList& list) {
  std::vector<int> out;
  for (const RecordItem& item : list.GetRecordItems()) out.push_back(item.timestamp);
  return out;
}

// Steps of a list built by the editor: a delay, an inserted key pair (one
// timestamp), a recorded key press and release (own timestamps).
void FillSample(CRecordList& list) {
  list.AddString(L" -   10 ms", 1, 10, 100);
  list.AddString(L"↓  A", 2, 65, 200);
  list.AddString(L"↑  A", 3, 65, 200);
  list.AddString(L"↓  B", 2, 66, 301);
  list.AddString(L"↑  B", 3, 66, 302);
}

TEST(RecordListTest, InsertKeepsOrderAndTheSelectionOnItsItem) {
  CRecordList list;
  FillSample(list);
  list.SetCurSel(2);
  EXPECT_EQ(list.InsertString(1, L"→  1, ↓  1", 12, 257, 400), 1);
  EXPECT_EQ(list.InsertString(-1, L" -   5 ms", 1, 5, 500), 6);
  EXPECT_EQ(list.InsertString(99, L" -   6 ms", 1, 6, 600), 7);
  EXPECT_EQ(Timestamps(list), (std::vector<int>{100, 400, 200, 200, 301, 302, 500, 600}));
  EXPECT_EQ(list.GetCurSel(), 3);
  EXPECT_EQ(list.GetItemCount(), 8);

  std::wstring text;
  int type = 0, value = 0, ts = 0;
  ASSERT_TRUE(list.GetRecordInfo(1, text, type, value, ts));
  EXPECT_EQ(text, L"→  1, ↓  1");
  EXPECT_EQ(type, 12);
  EXPECT_EQ(value, 257);
  EXPECT_EQ(ts, 400);
  EXPECT_FALSE(list.GetRecordInfo(8, text, type, value, ts));
  EXPECT_EQ(list.GetRecrodTimeStamp(7), 600);
  EXPECT_EQ(list.GetRecrodTimeStamp(-1), 0);
}

TEST(RecordListTest, SwapAndMovesReorderItems) {
  CRecordList list;
  FillSample(list);  // 100 200 200 301 302
  list.SetCurSel(3);
  EXPECT_TRUE(list.SwapItem(3, 2));
  EXPECT_EQ(Timestamps(list), (std::vector<int>{100, 200, 301, 200, 302}));
  EXPECT_EQ(list.GetCurSel(), 3);  // the program moves the selection itself
  EXPECT_FALSE(list.SwapItem(0, 5));

  list.SetCurSel(4);
  EXPECT_TRUE(list.MoveTop(4));
  EXPECT_EQ(Timestamps(list), (std::vector<int>{302, 100, 200, 301, 200}));
  EXPECT_EQ(list.GetCurSel(), 0);
  EXPECT_TRUE(list.MoveBottom(0));
  EXPECT_EQ(Timestamps(list), (std::vector<int>{100, 200, 301, 200, 302}));
  EXPECT_EQ(list.GetCurSel(), 4);
  EXPECT_TRUE(list.MoveBottom(1));  // an unselected item: the selection index follows its item
  EXPECT_EQ(Timestamps(list), (std::vector<int>{100, 301, 200, 302, 200}));
  EXPECT_EQ(list.GetCurSel(), 3);
  EXPECT_FALSE(list.MoveTop(-1));
}

TEST(RecordListTest, SetRecordInfoByIndexAndByTimestampAndType) {
  CRecordList list;
  FillSample(list);
  EXPECT_TRUE(list.SetRecordInfo(0, L" -   20 ms", 1, 20, 100));
  EXPECT_FALSE(list.SetRecordInfo(5, L"x", 1, 1, 1));

  // The key step editor renames both halves of the pair sharing timestamp 200.
  EXPECT_TRUE(list.SetRecordInfo(200, 2, std::wstring(L"↓  Z"), 90));
  EXPECT_TRUE(list.SetRecordInfo(200, 3, std::wstring(L"↑  Z"), 90));
  EXPECT_FALSE(list.SetRecordInfo(200, 4, std::wstring(L"↓  LB"), 1));
  EXPECT_FALSE(list.SetRecordInfo(999, 2, std::wstring(L"↓  Q"), 1));

  const std::vector<RecordItem> expected = {
      {L" -   20 ms", 1, 20, 100}, {L"↓  Z", 2, 90, 200}, {L"↑  Z", 3, 90, 200},
      {L"↓  B", 2, 66, 301},       {L"↑  B", 3, 66, 302}};
  EXPECT_EQ(list.GetRecordItems(), expected);
}

TEST(RecordListTest, DeleteTimeStampRemovesBothHalvesOfAPairOnly) {
  CRecordList list;
  FillSample(list);
  list.SetCurSel(4);
  EXPECT_EQ(list.DeleteTimeStamp(200), 2);
  EXPECT_EQ(Timestamps(list), (std::vector<int>{100, 301, 302}));
  EXPECT_EQ(list.GetCurSel(), 2);  // still on the "↑  B" item
  EXPECT_EQ(list.DeleteTimeStamp(301), 1);
  EXPECT_EQ(Timestamps(list), (std::vector<int>{100, 302}));
  EXPECT_EQ(list.DeleteTimeStamp(301), 0);
  list.SetCurSel(1);
  EXPECT_EQ(list.DeleteTimeStamp(302), 1);
  EXPECT_EQ(list.GetCurSel(), -1);
  list.DeleteAllItems();
  EXPECT_EQ(list.GetItemCount(), 0);
}

// Event count: items as (type, timestamp); an up item sharing the timestamp of
// a down item of its own kind is counted with it.
TEST(RecordListTest, EventCountCountsSharedTimestampPairsOnce) {
  struct Case {
    const char* name;
    std::vector<std::pair<int, int>> items;
    int events;
  };
  const Case cases[] = {
      {"empty", {}, 0},
      {"inserted key pair", {{2, 7}, {3, 7}}, 1},
      {"inserted button pair", {{4, 7}, {5, 7}}, 1},
      {"recorded key press and release", {{2, 7}, {3, 8}}, 2},
      {"delay and move count alone", {{1, 7}, {12, 7}}, 2},
      {"key down with button up of the same stamp", {{2, 7}, {5, 7}}, 2},
      {"one down takes one up", {{2, 7}, {3, 7}, {3, 7}}, 2},
      {"up before its down still pairs", {{3, 7}, {1, 9}, {2, 7}}, 2},
      {"two pairs", {{2, 1}, {3, 1}, {4, 2}, {5, 2}, {1, 3}}, 3},
  };
  for (const Case& c : cases) {
    CRecordList list;
    for (auto [type, ts] : c.items) list.AddString(L"step", type, 0, ts);
    EXPECT_EQ(list.GetEventCount(), c.events) << c.name;
    EXPECT_EQ(list.GetItemCount(), static_cast<int>(c.items.size())) << c.name;
  }
}

}  // namespace
}  // namespace tk410::test
