#include "rtas/library/CSet.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

struct Port {
  int id;
};

std::vector<int> Ids(const CSet<Port>& set) {
  std::vector<int> ids;
  for (int32_t i = 1; i <= set.GetCount(); ++i) ids.push_back(set.GetAt(i)->id);
  return ids;
}

}  // namespace

TEST(CSet, KeepsInsertionOrderAndEachMemberOnce) {
  Port a{1}, b{2}, c{3};
  CSet<Port> set;
  set.Add(&a);
  set.Add(&b);
  set.Add(&a);
  EXPECT_EQ(set.GetCount(), 2);
  EXPECT_EQ(set.GetAt(1), &a);
  EXPECT_EQ(set.GetAt(2), &b);
  EXPECT_EQ(set.GetAt(3), nullptr);
  EXPECT_EQ(set.GetAt(0), nullptr);
  EXPECT_EQ(set.GetAt(-1), nullptr);

  set.Remove(&c);  // not a member
  EXPECT_EQ(Ids(set), (std::vector<int>{1, 2}));
  set.Add(&c);
  set.Remove(&b);
  EXPECT_EQ(Ids(set), (std::vector<int>{1, 3}));
  set.Remove(&a);
  set.Remove(&c);
  EXPECT_EQ(set.GetCount(), 0);
  EXPECT_EQ(set.GetAt(1), nullptr);
  set.Add(&b);  // the chain mends to empty and starts again
  EXPECT_EQ(Ids(set), (std::vector<int>{2}));
  EXPECT_TRUE(set.Contains(&b));
  EXPECT_FALSE(set.Contains(&a));
}

TEST(CSet, AddAllAndRemoveAll) {
  Port a{1}, b{2}, c{3};
  CSet<Port> first, second;
  first.Add(&a);
  first.Add(&b);
  second.Add(&b);
  second.Add(&c);
  second.AddAll(first);
  EXPECT_EQ(Ids(second), (std::vector<int>{2, 3, 1}));
  second.RemoveAll();
  EXPECT_EQ(second.GetCount(), 0);
  EXPECT_FALSE(second.Contains(&b));
  second.Add(&a);
  EXPECT_EQ(Ids(second), (std::vector<int>{1}));
}

TEST(CSet, HighWaterMarkOfLiveSets) {
  CSetStatistics::ResetMaxSetCount();
  const int32_t live = CSetStatistics::GetLiveSetCount();
  EXPECT_STREQ(CSetStatistics::GetMaxSetCountName(), "Maximum # of CSet<T>");
  {
    auto one = std::make_unique<CSet<Port>>();
    CSet<Port> two, three;
    EXPECT_EQ(CSetStatistics::GetLiveSetCount(), live + 3);
    one.reset();
    CSet<int> four, five;
    EXPECT_EQ(CSetStatistics::GetMaxSetCount(), live + 4);
  }
  EXPECT_EQ(CSetStatistics::GetLiveSetCount(), live);
  EXPECT_EQ(CSetStatistics::GetMaxSetCount(), live + 4);
  CSetStatistics::ResetMaxSetCount();
  EXPECT_EQ(CSetStatistics::GetMaxSetCount(), 0);
}
