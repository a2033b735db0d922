#pragma once
// CRecordList: the step list of a macro. Each item keeps the text shown, the
// step type, its value and its timestamp (the pairing key that a down/up pair
// created together shares). The list, not the program, holds the steps; the
// program reads them back with GetRecordItems when it saves.
//
// Event count (GetEventCount): every item is one event, except that an up
// item (type 3 key up, 5 button up) whose timestamp equals that of a down
// item of the same kind (2 key down, 4 button down) anywhere in the list
// counts together with that down item as one event. Each down item takes at
// most one such up item. Recorded steps each have their own timestamp and so
// count one by one; inserted pairs count once.
//
// Moves: SwapItem exchanges two items and leaves the selection index where it
// was; MoveTop / MoveBottom take the item out and put it first / last, and the
// selection follows the moved item. Selecting an item reports 2, a right
// click selects the item under the pointer and reports 9.

#include <string>
#include <vector>

#include "plkui/list_control.h"

namespace PLKUI {

struct RecordItem {
  std::wstring text;
  int type = 0;
  int value = 0;
  int timestamp = 0;
  bool operator==(const RecordItem&) const = default;
};

class CRecordList : public MListControl<RecordItem> {
 public:
  CRecordList() : MListControl(L"CRecordList") {}

  int AddString(const std::wstring& text, int type, int value, int timestamp);
  // Inserts at index; -1 (or past the end) appends. Returns the new index.
  int InsertString(int index, const std::wstring& text, int type, int value, int timestamp);
  int GetEventCount() const;
  bool SwapItem(int a, int b);
  bool MoveTop(int index);
  bool MoveBottom(int index);
  std::vector<RecordItem> GetRecordItems() const;
  bool GetRecordInfo(int index, std::wstring& text, int& type, int& value, int& timestamp) const;
  // Replaces the item at index.
  bool SetRecordInfo(int index, const std::wstring& text, int type, int value, int timestamp);
  // Replaces text and value of every item with this timestamp and type;
  // false when there is none.
  bool SetRecordInfo(int timestamp, int type, const std::wstring& text, int value);
  // The timestamp of the item at index; 0 for an index out of range.
  int GetRecrodTimeStamp(int index) const;
  // Removes every item with this timestamp; returns how many went.
  int DeleteTimeStamp(int timestamp);
  void SetEditText(const std::wstring& text);
  std::wstring GetEditText() const;
  void SetMoreImage(const std::wstring& image, int state = 0);


 private:
  bool MoveTo(int index, bool top);
  std::wstring edit_text_;
  std::wstring more_image_;
};

}  // namespace PLKUI
