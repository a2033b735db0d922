// The physical key table: every key it knows is stored as a code the mouse
// can send, except the media keys, and no two keys share a code while the
// keypad types digits. A key held while Shift or Num Lock changes is
// released as the key it was pressed as.

#include <gtest/gtest.h>

#include <map>
#include <set>

#include "assign/key_tables.h"
#include "assign/physical_keys.h"

namespace tk410 {
namespace {

TEST(PhysicalKeys, EveryKeyButTheMediaKeysHasAUsageAndItsOwnCode) {
  const std::set<int> media = {173, 174, 175, 176, 177, 178, 179};  // no HID keyboard usage
  std::map<int, int> keycode_of_code;
  int known = 0;
  for (int keycode = 0; keycode < 256; ++keycode) {
    if (!IsPhysicalKey(keycode)) {
      EXPECT_EQ(VirtualKeyOfPhysicalKey(keycode, true), 0) << keycode;
      continue;
    }
    ++known;
    for (bool digits : {true, false}) {
      const int code = VirtualKeyOfPhysicalKey(keycode, digits);
      EXPECT_NE(code, 0) << keycode;
      if (media.count(code) == 0) {
        EXPECT_NE(VirtualKeyToUsage(code), 0) << keycode << " code " << code;
      }
    }
    const int code = VirtualKeyOfPhysicalKey(keycode, true);
    auto [it, inserted] = keycode_of_code.emplace(code, keycode);
    EXPECT_TRUE(inserted) << "keycodes " << it->second << " and " << keycode << " both give " << code;
  }
  EXPECT_GT(known, 100);
  EXPECT_FALSE(IsPhysicalKey(8));  // evdev code 0 is no key
  EXPECT_FALSE(TypesCharacter(65));  // Space types a blank: named "Space"
  EXPECT_TRUE(TypesCharacter(94));   // the ISO key beside left Shift
}

TEST(PhysicalKeys, HeldKeysAreReleasedAsPressed) {
  HeldPhysicalKeys held;
  // Shift + keypad 1 (End), Shift released first, then keypad 1.
  EXPECT_EQ(held.Press(87, 35), 35);
  EXPECT_EQ(held.Press(87, 97), 35);  // auto-repeat after Shift went up
  EXPECT_EQ(held.Release(87, 97), 35);
  // Released again, or never pressed: the release's own code.
  EXPECT_EQ(held.Release(87, 97), 97);
  EXPECT_EQ(held.Press(87, 97), 97);
  EXPECT_EQ(held.Release(87, 97), 97);
}

}  // namespace
}  // namespace tk410
