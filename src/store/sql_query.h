#pragma once
// One row operation's statement: prepares an SQL text on a connection, binds
// its parameters in order and keeps their UTF-8 text alive for as long as the
// statement may read it (BindText binds without copying). Wide arguments are
// converted to UTF-8 here, and text columns back to wide text.

#include <initializer_list>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "store/sqlite_db.h"

namespace tk410 {

// One parameter: an integer, or wide text stored as UTF-8.
struct SqlValue {
  SqlValue(int number) : number(number) {}  // NOLINT: implicit on purpose
  SqlValue(std::wstring_view wide);         // NOLINT
  SqlValue(const wchar_t* wide) : SqlValue(std::wstring_view(wide)) {}  // NOLINT
  SqlValue(const std::wstring& wide) : SqlValue(std::wstring_view(wide)) {}  // NOLINT

  bool is_text = false;
  int number = 0;
  std::string text;
};

class SqlQuery {
 public:
  explicit SqlQuery(SQLiteDB& db) : db_(db) {}

  // Prepares `sql` into the one statement object (finalising the previous
  // one) and binds `params` from index 1. Returns the prepare result; bind
  // results are ignored. A failed prepare leaves no statement, so the next
  // Step returns 21.
  int Prepare(const char* sql, std::initializer_list<SqlValue> params = {});

  int Step() { return statement_.Step(); }
  // Steps once and applies the success rule.
  bool Run() { return StepSucceeded(Step()); }
  // Steps once; true when a row is available.
  bool NextRow() { return Step() == kSqliteRow; }

  int Int(int column) const { return statement_.ColumnInt(column); }
  // A NULL column reads as empty text.
  std::wstring Text(int column) const;

 private:
  SQLiteDB& db_;
  SQLiteStatement statement_;
  std::vector<SqlValue> params_;
};

// Appends one record per remaining row of `query`, filled by `read(query,
// record)`, and returns the list size.
template <typename Record, typename Reader>
int AppendRows(SqlQuery& query, std::vector<std::unique_ptr<Record>>& list, Reader read) {
  while (query.NextRow()) {
    auto record = std::make_unique<Record>();
    read(query, *record);
    list.push_back(std::move(record));
  }
  return static_cast<int>(list.size());
}

}  // namespace tk410
