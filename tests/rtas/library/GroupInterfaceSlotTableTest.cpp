#include "rtas/library/GroupInterfaceSlotTable.h"

#include <gtest/gtest.h>

#include <map>
#include <set>

namespace {

using Row = SGroupInterfaceSlot;

// The process group's forwarding table, as the host library gives it: a
// run of group slots goes to a run of type slots of the same length.
struct ForwardRun {
  int firstGroupSlot, lastGroupSlot, firstTypeSlot;
};
const ForwardRun kForwardRuns[] = {
    {4, 6, 5},     {7, 10, 9},    {12, 12, 13},  {19, 20, 19},  {21, 21, 22},  {22, 22, 21},  {24, 24, 8},
    {26, 26, 23},  {30, 30, 28},  {33, 34, 30},  {35, 35, 32},  {38, 44, 33},  {56, 71, 42},  {73, 73, 24},
    {74, 76, 58},  {77, 77, 63},  {78, 78, 61},  {79, 79, 62},  {80, 96, 64},  {97, 99, 81},  {100, 102, 84},
    {106, 106, 88}, {111, 112, 91}, {114, 114, 93}, {117, 125, 96}, {126, 137, 105}, {138, 138, 117},
    {139, 141, 118}, {145, 145, 126}, {151, 151, 129}, {152, 152, 128}, {153, 154, 130}, {155, 168, 132},
};
// Group slots 8, 9 and 10 run the interface's default before forwarding.
const std::set<int> kDefaultThenForward = {8, 9, 10};

// The broadcasts: group slot to the type slot each type is called on.
const std::map<int, int> kBroadcasts = {{15, 15}, {16, 16}, {17, 17}, {25, 25},
                                        {27, 26}, {105, 87}, {108, 89}, {142, 121}};

// The slots the process group gives a behaviour of its own.
const std::set<int> kOwn = {0, 13, 28, 29, 32, 48, 49, 113, 115, 116, 146, 147, 148};

std::map<int, int> ExpandedForwarding() {
  std::map<int, int> forwarding;
  for (const ForwardRun& run : kForwardRuns) {
    for (int slot = run.firstGroupSlot; slot <= run.lastGroupSlot; ++slot) {
      forwarding[slot] = run.firstTypeSlot + (slot - run.firstGroupSlot);
    }
  }
  return forwarding;
}

}  // namespace

TEST(GroupInterfaceSlotTable, RowsAreTheSlotsInOrder) {
  ASSERT_EQ(kGroupInterfaceSlotCount, 172u);
  for (size_t i = 0; i < kGroupInterfaceSlotCount; ++i) {
    EXPECT_EQ(kGroupInterfaceSlots[i].mSlot, static_cast<int32_t>(i));
    EXPECT_NE(kGroupInterfaceSlots[i].mName[0], 0);
  }
}

TEST(GroupInterfaceSlotTable, EveryForwardedSlotReachesTheTypeSlotOfTheHostsTable) {
  const std::map<int, int> forwarding = ExpandedForwarding();
  std::map<int, int> table;
  for (size_t i = 0; i < kGroupInterfaceSlotCount; ++i) {
    const Row& row = kGroupInterfaceSlots[i];
    if (row.mGroup == Row::kForward || row.mGroup == Row::kDefaultForward) table[row.mSlot] = row.mTypeSlot;
    EXPECT_EQ(row.mGroup == Row::kDefaultForward, kDefaultThenForward.count(row.mSlot) == 1) << row.mSlot;
  }
  EXPECT_EQ(table, forwarding);
  // A type slot is the target of one group slot only.
  std::set<int> targets;
  for (const auto& [slot, typeSlot] : table) EXPECT_TRUE(targets.insert(typeSlot).second) << typeSlot;
}

TEST(GroupInterfaceSlotTable, BroadcastsAndOwnBehaviour) {
  std::map<int, int> broadcasts;
  std::set<int> own;
  for (size_t i = 0; i < kGroupInterfaceSlotCount; ++i) {
    const Row& row = kGroupInterfaceSlots[i];
    if (row.mGroup == Row::kBroadcast) broadcasts[row.mSlot] = row.mTypeSlot;
    if (row.mGroup == Row::kOwn) own.insert(row.mSlot);
    if (row.mGroup == Row::kKeep || row.mGroup == Row::kOwn) {
      EXPECT_EQ(row.mTypeSlot, -1) << row.mSlot;
    }
  }
  EXPECT_EQ(broadcasts, kBroadcasts);
  EXPECT_EQ(own, kOwn);
}

TEST(GroupInterfaceSlotTable, SelectorsFindTheirSlot) {
  // A few rows of the host's selector table, the irregular ones included.
  const std::map<int, int> selectorToSlot = {{0, 4},     {4, 8},     {12, 11},   {14, 23},  {19, 28},
                                             {20, 29},   {22, 32},   {35, 46},   {45, 62},  {46, 63},
                                             {73, 65},   {75, 72},   {79, 35},   {91, 113}, {99, 136},
                                             {128, 99},  {136, 47},  {144, 30},  {172, 168}, {175, 133}};
  for (const auto& [selector, slot] : selectorToSlot) {
    const Row* row = FindGroupSlotForSelector(selector);
    ASSERT_NE(row, nullptr) << selector;
    EXPECT_EQ(row->mSlot, slot) << selector;
  }
  // Adapters outside the table (38), selectors without an entry, stubs.
  for (int selector : {-1, 11, 13, 21, 26, 34, 38, 43, 60, 61, 98, 106, 107, 112, 119, 174, 176}) {
    EXPECT_EQ(FindGroupSlotForSelector(selector), nullptr) << selector;
  }
}
