#include "rtas/library/PortGroups.h"

#include <gtest/gtest.h>

#include <limits>

TEST(PortGroups, AnIdIsFoundInTheFirstGroupThatHoldsIt) {
  const SPortGroup inputs{1, 2}, sideChain{3, 1}, outputs{3, 4};
  const PortGroupList list = {&inputs, &sideChain, &outputs};
  struct Row {
    int32_t id;
    bool found;
    int32_t group, offset;
  };
  const Row rows[] = {
      {1, true, 0, 0}, {2, true, 0, 1},
      {3, true, 1, 0},  // one past the first group's last port starts the next
      {4, true, 2, 1}, {6, true, 2, 3}, {7, false, -1, -1}, {0, false, -1, -1}, {-1, false, -1, -1},
  };
  for (const Row& row : rows) {
    int32_t group = 99, offset = 99;
    EXPECT_EQ(FindPortID(list, row.id, &group, &offset), row.found) << row.id;
    EXPECT_EQ(group, row.group) << row.id;
    EXPECT_EQ(offset, row.offset) << row.id;
    EXPECT_EQ(ContainsPortID(list, row.id), row.found) << row.id;
  }
}

TEST(PortGroups, GroupsNearTheTopOfTheRangeAndEmptyLists) {
  const int32_t top = std::numeric_limits<int32_t>::max();
  const SPortGroup high{top - 1, 5};
  const PortGroupList list = {&high};
  int32_t group = 0, offset = 0;
  EXPECT_TRUE(FindPortID(list, top, &group, &offset));
  EXPECT_EQ(offset, 1);
  EXPECT_FALSE(ContainsPortID(PortGroupList(), 1));
}
