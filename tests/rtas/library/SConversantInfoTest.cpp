#include "rtas/library/SConversantInfo.h"

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>
#include <vector>

namespace {

// A record whose port calls are noted ("A1" reactivates talker 1, "B"
// deactivates talkers, "C" and "D" the same for listeners) and fail where
// the test says.
struct NotedInfo : SConversantInfo {
  uint8_t IsFeatureSupported(int32_t feature) const override { return marked.count(feature) ? 1 : 0; }
  std::vector<std::string> calls;
  std::map<std::string, int32_t> failures;
  std::set<int32_t> marked;
};

int32_t Note(SConversantInfo* info, const char* op, int32_t index) {
  auto* noted = static_cast<NotedInfo*>(info);
  const std::string call = op + std::to_string(index);
  noted->calls.push_back(call);
  auto failure = noted->failures.find(call);
  return failure == noted->failures.end() ? 0 : failure->second;
}

const SFicConnectionsAPI kNotingAPI = {
    [](SConversantInfo* i, int32_t n) { return Note(i, "A", n); },
    [](SConversantInfo* i, int32_t n) { return Note(i, "B", n); },
    [](SConversantInfo* i, int32_t n) { return Note(i, "C", n); },
    [](SConversantInfo* i, int32_t n) { return Note(i, "D", n); },
    nullptr, nullptr, nullptr, nullptr,
};

NotedInfo Record(int32_t inputs, int32_t outputs) {
  NotedInfo info;
  info.mAPI = &kNotingAPI;
  info.mInputCount = inputs;
  info.mFirstInput = 1;
  info.mOutputCount = outputs;
  info.mFirstOutput = 1;
  return info;
}

using Calls = std::vector<std::string>;

}  // namespace

TEST(ConnectionRoutines, EachWalksItsPortsInOrderAndUndoesOnFailure) {
  struct Row {
    int32_t (*routine)(SConversantInfo*);
    const char* failAt;
    int32_t failure;
    int32_t expected;
    Calls calls;
  };
  const Row rows[] = {
      {DeactivateTalkers, "", 0, 0, {"B1", "B2", "B3"}},
      {DeactivateTalkers, "B3", -30, -30, {"B1", "B2", "B3", "A1", "A2"}},
      {ReactivateTalkers, "A2", -31, -31, {"A1", "A2", "B1"}},
      {ReactivateTalkers, "A1", -32, -32, {"A1"}},
      // A port that is already in the state counts as done.
      {ReactivateTalkers, "A2", -7103, 0, {"A1", "A2", "A3"}},
      {DeactivateListeners, "D2", -33, -33, {"D1", "D2", "C1"}},
      {ReactivateListeners, "", 0, 0, {"C1", "C2"}},
  };
  for (const Row& row : rows) {
    NotedInfo info = Record(2, 3);
    if (*row.failAt) info.failures[row.failAt] = row.failure;
    EXPECT_EQ(row.routine(&info), row.expected) << row.failAt;
    EXPECT_EQ(info.calls, row.calls) << row.failAt;
  }
}

TEST(ConnectionRoutines, TheSideChainFollowsTheInputsAndMarkedInputsAreSkipped) {
  NotedInfo info = Record(3, 1);
  info.mHasSideChain = 1;
  info.mSideChainIndex = 9;
  EXPECT_EQ(DeactivateListeners(&info), 0);
  EXPECT_EQ(info.calls, (Calls{"D1", "D2", "D3", "D9"}));

  info.calls.clear();
  info.marked = {2, 9};
  EXPECT_EQ(ReactivateListeners(&info), 0);
  EXPECT_EQ(info.calls, (Calls{"C1", "C3", "C9"}));

  // Undone in order, the side chain included.
  info.calls.clear();
  info.marked.clear();
  info.failures["C9"] = -34;
  EXPECT_EQ(ReactivateListeners(&info), -34);
  EXPECT_EQ(info.calls, (Calls{"C1", "C2", "C3", "C9", "D1", "D2", "D3"}));

  // Talkers never have a side chain.
  info.calls.clear();
  EXPECT_EQ(DeactivateTalkers(&info), 0);
  EXPECT_EQ(info.calls, (Calls{"B1"}));
}
