#include "store/sql_query.h"

#include "base/text.h"

namespace tk410 {

SqlValue::SqlValue(std::wstring_view wide) : is_text(true), text(ToUtf8(wide)) {}

int SqlQuery::Prepare(const char* sql, std::initializer_list<SqlValue> params) {
  // The old statement may still read the old texts; finalise it before they go.
  statement_.Finalize();
  params_.assign(params.begin(), params.end());
  const int result = db_.Prepare(statement_, sql, -1);
  for (size_t i = 0; i < params_.size(); ++i) {
    const SqlValue& value = params_[i];
    const int index = static_cast<int>(i) + 1;
    if (value.is_text) {
      statement_.BindText(index, value.text.c_str(), static_cast<int>(value.text.size()));
    } else {
      statement_.BindInt(index, value.number);
    }
  }
  return result;
}

std::wstring SqlQuery::Text(int column) const {
  const char* text = statement_.ColumnText(column);
  if (!text) return std::wstring();
  return FromUtf8(std::string_view(text, static_cast<size_t>(statement_.ColumnBytes(column))));
}

}  // namespace tk410
