#include "graphics/mac/MenuItemPrefix.h"

#include <gtest/gtest.h>

namespace {

struct PrefixCase {
  int style;
  int position;
  const char* text;
  const char* expected;
};

class MenuItemPrefix : public ::testing::TestWithParam<PrefixCase> {};

TEST_P(MenuItemPrefix, NumbersByPositionWithAColonAndABlank) {
  const PrefixCase c = GetParam();
  EXPECT_EQ(PrefixedItemText(c.style, c.position, c.text), c.expected);
}

INSTANTIATE_TEST_SUITE_P(Table, MenuItemPrefix,
                         ::testing::Values(PrefixCase{0, 3, "Bell", "Bell"}, PrefixCase{1, 3, "Bell", "3: Bell"},
                                           PrefixCase{2, 3, "Bell", "03: Bell"}, PrefixCase{2, 10, "Peak", "10: Peak"},
                                           PrefixCase{3, 3, "Bell", "003: Bell"}, PrefixCase{1, 12, "x", "12: x"},
                                           PrefixCase{4, 3, "Bell", "Bell"}, PrefixCase{-1, 3, "Bell", "Bell"},
                                           PrefixCase{2, 1, nullptr, "01: "}, PrefixCase{2, 2, "", "02: "}));

}  // namespace
