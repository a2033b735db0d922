// ConfigDatabase::RunTransaction: all statements of its body or none.

#include <gtest/gtest.h>

#include "store/store_fixture.h"

namespace tk410::testing {
namespace {

TEST_F(StoreTest, RunTransactionCommitsAWholeBodyOrNothing) {
  EXPECT_FALSE(db_.RunTransaction([] { return true; }));  // no database open
  ASSERT_TRUE(Open());
  ASSERT_EQ(db_.EnsureDefaultProfiles(), 1);
  KeyMacroRecord key;
  key.profile = 2;
  key.key_code = 3;
  key.macro_value = 1;

  // A body that gives up half-way leaves nothing behind, savepoints of the
  // row operations included.
  EXPECT_FALSE(db_.RunTransaction([&] {
    db_.SetConfigValue(2, L"dpi_index", L"0");
    db_.SaveKeyRecord(key);
    return false;
  }));
  std::wstring value;
  ASSERT_TRUE(db_.GetConfigValue(2, L"dpi_index", value));
  EXPECT_EQ(value, L"2");
  EXPECT_FALSE(db_.GetKeyRecord(2, 0, 3, key));

  // A body inside another one is refused and leaves the outer one going.
  EXPECT_TRUE(db_.RunTransaction([&] {
    EXPECT_FALSE(db_.RunTransaction([] { return true; }));
    return db_.SetConfigValue(2, L"dpi_index", L"3") && db_.SaveKeyRecord(key) > 0;
  }));
  ASSERT_TRUE(db_.GetConfigValue(2, L"dpi_index", value));
  EXPECT_EQ(value, L"3");
  RawDb raw(FilePath());
  EXPECT_EQ(raw.Int("SELECT count(*) FROM t_key_macro_data WHERE profile = 2"), 1);
}

}  // namespace
}  // namespace tk410::testing
