#include "assign/wired_key_store.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "store/config_database.h"
#include "support/temp_dir.h"

namespace tk410 {
namespace {

class WiredKeyStoreTest : public ::testing::Test {
 protected:
  WiredKeyStoreTest() {
    std::filesystem::create_directories(dir_.path() / "db");
    EXPECT_TRUE(db_.OpenForDevice(dir_.wide(), L"TK410"));
  }

  std::optional<KeyMacroRecord> Key(int profile, int key_code) {
    KeyMacroRecord row;
    if (!db_.GetKeyRecord(profile, 0, key_code, row)) return std::nullopt;
    return row;
  }

  testing::TempDir dir_;
  ConfigDatabase db_;
};

// Slot codes as read: 20 10 00 00 forward, 20 08 00 00 backward, 70 pos .. macro.
TEST_F(WiredKeyStoreTest, ReadSlotsBecomeRowsOfTheGivenProfile) {
  EXPECT_TRUE(DecodeWiredKey(db_, 2, 3, {0x20, 0x10, 0x00, 0x00}));
  EXPECT_TRUE(DecodeWiredKey(db_, 2, 4, {0x20, 0x08, 0x00, 0x00}));
  ASSERT_TRUE(Key(2, 5).has_value());
  EXPECT_EQ(Key(2, 5)->macro_type, 5);
  EXPECT_EQ(Key(2, 5)->macro_desc, L"124");
  ASSERT_TRUE(Key(2, 4).has_value());
  EXPECT_EQ(Key(2, 4)->macro_type, 6);
  EXPECT_FALSE(Key(1, 5).has_value());

  const int first = db_.AddMacro(L"one");
  const int second = db_.AddMacro(L"two");
  ASSERT_GT(first, 0);
  EXPECT_TRUE(DecodeWiredKey(db_, 2, 0, {0x70, 0x01, 0x01, 0x00}));
  ASSERT_TRUE(Key(2, 1).has_value());
  EXPECT_EQ(Key(2, 1)->macro_value, second);
  EXPECT_EQ(Key(2, 1)->macro_desc, L"two");

  // Empty, unset and unknown codes and missing macros leave the row alone.
  EXPECT_FALSE(DecodeWiredKey(db_, 2, 3, {0x00, 0x00, 0x00, 0x00}));
  EXPECT_FALSE(DecodeWiredKey(db_, 2, 3, {0xFF, 0xFF, 0x01, 0x00}));
  EXPECT_FALSE(DecodeWiredKey(db_, 2, 3, {0x21, 0x62, 0x00, 0x00}));
  EXPECT_FALSE(DecodeWiredKey(db_, 2, 0, {0x70, 0x05, 0x01, 0x00}));
  EXPECT_EQ(Key(2, 5)->macro_type, 5);
  EXPECT_EQ(Key(2, 1)->macro_value, second);

  // A keyboard code without key and modifiers clears the button.
  EXPECT_TRUE(DecodeWiredKey(db_, 2, 3, {0x10, 0x00, 0x00, 0x00}));
  EXPECT_FALSE(Key(2, 5).has_value());
}

}  // namespace
}  // namespace tk410
