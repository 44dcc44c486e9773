#include "rtas/library/FindInstanceByNumber.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

struct FakeProcess {
  int32_t number;
  int32_t GetInstanceNumber() const { return number; }
};

}  // namespace

TEST(FindInstanceByNumber, FirstMatchOrTheEndAndNullEntriesPassedOver) {
  FakeProcess one{1}, three{3}, threeAgain{3};
  const std::vector<FakeProcess*> list = {&one, nullptr, &three, &threeAgain};
  EXPECT_EQ(FindInstanceByNumber(list.begin(), list.end(), 3) - list.begin(), 2);
  EXPECT_EQ(FindInstanceByNumber(list.begin(), list.end(), 1) - list.begin(), 0);
  EXPECT_EQ(FindInstanceByNumber(list.begin(), list.end(), 2), list.end());
  const std::vector<FakeProcess*> empty;
  EXPECT_EQ(FindInstanceByNumber(empty.begin(), empty.end(), 1), empty.end());
}
