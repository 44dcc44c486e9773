#include "graphics/mac/MacKeyTable.h"

#include <gtest/gtest.h>

namespace {

struct KeyCase {
  int keyCode;
  int character;
  int expected;  // -1: not the editor's
};

class MacKeys : public ::testing::TestWithParam<KeyCase> {};

TEST_P(MacKeys, MapByKeyCodeThenByCharacter) {
  const KeyCase c = GetParam();
  EXPECT_EQ(MacKeyToIGraphicsKey(c.keyCode, c.character), c.expected);
}

// Key codes are the Mac's: 26 types "7", 12 "q", 0 "a"; 96 is F5, whose
// character is the function-key code 0x10.
INSTANTIATE_TEST_SUITE_P(
    Table, MacKeys,
    ::testing::Values(KeyCase{49, ' ', 0}, KeyCase{126, 0x1E, 1}, KeyCase{125, 0x1F, 2}, KeyCase{123, 0x1C, 3},
                      KeyCase{124, 0x1D, 4}, KeyCase{29, '0', 5}, KeyCase{26, '7', 12}, KeyCase{25, '9', 14},
                      KeyCase{0, 'A', 15}, KeyCase{0, 'a', 15}, KeyCase{12, 'q', 31}, KeyCase{12, 'Q', 31},
                      KeyCase{6, 'z', 40}, KeyCase{6, 'Z', 40}, KeyCase{96, 0x10, -1}, KeyCase{36, '\r', -1},
                      KeyCase{27, '-', -1}, KeyCase{50, '`', -1}, KeyCase{0, '@', -1}, KeyCase{0, '[', -1},
                      // Only the space bar's key code makes a space: a typed blank from
                      // another key is not the editor's.
                      KeyCase{0, ' ', -1}));

}  // namespace
