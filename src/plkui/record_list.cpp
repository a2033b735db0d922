#include "plkui/record_list.h"

#include <algorithm>

namespace PLKUI {

namespace {

constexpr int kKeyDown = 2;
constexpr int kKeyUp = 3;
constexpr int kButtonDown = 4;
constexpr int kButtonUp = 5;

int DownKindOf(int up_type) {
  if (up_type == kKeyUp) return kKeyDown;
  if (up_type == kButtonUp) return kButtonDown;
  return 0;
}

}  // namespace

int CRecordList::AddString(const std::wstring& text, int type, int value, int timestamp) {
  return InsertString(-1, text, type, value, timestamp);
}

int CRecordList::InsertString(int index, const std::wstring& text, int type, int value,
                              int timestamp) {
  return InsertItem(index, RecordItem{text, type, value, timestamp});
}

int CRecordList::GetEventCount() const {
  std::lock_guard<std::mutex> lock(mutex_);
  const std::vector<RecordItem>& items = items_.Items();
  std::vector<bool> down_taken(items.size(), false);
  int count = 0;
  for (size_t i = 0; i < items.size(); ++i) {
    const int down_kind = DownKindOf(items[i].type);
    bool paired = false;
    if (down_kind) {
      for (size_t j = 0; j < items.size(); ++j) {
        if (!down_taken[j] && items[j].type == down_kind &&
            items[j].timestamp == items[i].timestamp) {
          down_taken[j] = true;
          paired = true;
          break;
        }
      }
    }
    if (!paired) ++count;
  }
  return count;
}

bool CRecordList::SwapItem(int a, int b) {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    RecordItem* first = items_.At(a);
    RecordItem* second = items_.At(b);
    if (!first || !second) return false;
    std::swap(*first, *second);
  }
  Changed();
  return true;
}

bool CRecordList::MoveTo(int index, bool top) {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    const RecordItem* at = items_.At(index);
    if (!at) return false;
    RecordItem item = *at;
    const bool was_selected = items_.Selected() == index;
    items_.Erase(index);
    const int placed = items_.Insert(top ? 0 : -1, std::move(item));
    if (was_selected) items_.Select(placed);
  }
  Changed();
  return true;
}

bool CRecordList::MoveTop(int index) { return MoveTo(index, true); }
bool CRecordList::MoveBottom(int index) { return MoveTo(index, false); }

std::vector<RecordItem> CRecordList::GetRecordItems() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return items_.Items();
}

bool CRecordList::GetRecordInfo(int index, std::wstring& text, int& type, int& value,
                                int& timestamp) const {
  std::lock_guard<std::mutex> lock(mutex_);
  const RecordItem* item = items_.At(index);
  if (!item) return false;
  text = item->text;
  type = item->type;
  value = item->value;
  timestamp = item->timestamp;
  return true;
}

bool CRecordList::SetRecordInfo(int index, const std::wstring& text, int type, int value,
                                int timestamp) {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    RecordItem* item = items_.At(index);
    if (!item) return false;
    *item = RecordItem{text, type, value, timestamp};
  }
  Changed();
  return true;
}

bool CRecordList::SetRecordInfo(int timestamp, int type, const std::wstring& text, int value) {
  bool found = false;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    for (int i = 0; i < items_.Count(); ++i) {
      RecordItem* item = items_.At(i);
      if (item->timestamp == timestamp && item->type == type) {
        item->text = text;
        item->value = value;
        found = true;
      }
    }
  }
  if (found) Changed();
  return found;
}

int CRecordList::GetRecrodTimeStamp(int index) const {
  std::lock_guard<std::mutex> lock(mutex_);
  const RecordItem* item = items_.At(index);
  return item ? item->timestamp : 0;
}

int CRecordList::DeleteTimeStamp(int timestamp) {
  int removed = 0;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    for (int i = items_.Count() - 1; i >= 0; --i) {
      if (items_.At(i)->timestamp == timestamp) {
        items_.Erase(i);
        ++removed;
      }
    }
  }
  if (removed) Changed();
  return removed;
}

void CRecordList::SetEditText(const std::wstring& text) { SetField(edit_text_, text); }
std::wstring CRecordList::GetEditText() const { return GetField(edit_text_); }
void CRecordList::SetMoreImage(const std::wstring& image, int) { SetField(more_image_, image); }

}  // namespace PLKUI
