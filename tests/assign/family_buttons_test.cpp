// The button numbers each mouse family has.

#include "assign/family_buttons.h"

#include <gtest/gtest.h>

namespace tk410 {
namespace {

TEST(FamilyButtonsTest, BothFamiliesHaveButtonsOneToElevenOnly) {
  // Device type 200 is the last wired one, 201 the first Nordic one.
  for (int device_type : {101, 200, 201, 300}) {
    for (int key_code = -1; key_code <= 16; ++key_code) {
      EXPECT_EQ(IsFamilyButton(device_type, key_code), key_code >= 1 && key_code <= 11)
          << device_type << " " << key_code;
    }
    EXPECT_FALSE(IsFamilyButton(device_type, 1 << 30));
  }
}

}  // namespace
}  // namespace tk410
