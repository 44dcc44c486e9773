#include "rtas/library/HostRequests.h"

#include <gtest/gtest.h>

#include <vector>

#include "platform/carboncore/MacMemory.h"
#include "rtas/library/CDAEError.h"
#include "rtas/library/HostCallback.h"
#include "rtas/library/HostFrameworkAccess.h"
#include "tests/rtas/library/StandInFrameworks.h"

namespace {

struct SRequest {
  int16_t selector;
  std::vector<HostWord> words;
};
std::vector<SRequest> gRequests;
int16_t gStatus = 0;
int32_t gAnswer = 0;
// Whether the host treats a selector-15 request's second word as the
// address of its answer.
bool gAnswersThroughWord = false;

int16_t Host(int16_t selector, ComponentRecord*, char** parameters) {
  const size_t count = static_cast<size_t>(GetHandleSize(parameters)) / sizeof(HostWord);
  const HostWord* words = reinterpret_cast<const HostWord*>(*parameters);
  gRequests.push_back({selector, std::vector<HostWord>(words, words + count)});
  if (gAnswersThroughWord && selector == 15 && gStatus == 0) *reinterpret_cast<int32_t*>(words[1]) = gAnswer;
  return gStatus;
}

class HostRequestsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    gRequests.clear();
    gStatus = 0;
    gAnswersThroughWord = false;
    SetHostCallbackProcedure(Host);
  }
  void TearDown() override { SetHostCallbackProcedure(nullptr); }
};

}  // namespace

TEST_F(HostRequestsTest, EachRequestIsItsWordsPaddedToItsSize) {
  EXPECT_EQ(RequestHost13(1, 2, 3), 0);
  EXPECT_EQ(RequestHost15(4, 5), 0);
  EXPECT_EQ(RequestHost19(6, 7, 8), 0);
  EXPECT_EQ(RequestHost20(9, 10), 0);
  ASSERT_EQ(gRequests.size(), 4u);
  EXPECT_EQ(gRequests[0].selector, 13);
  EXPECT_EQ(gRequests[0].words, (std::vector<HostWord>{1, 2, 3}));
  EXPECT_EQ(gRequests[1].selector, 15);
  EXPECT_EQ(gRequests[1].words, (std::vector<HostWord>{4, 5}));
  EXPECT_EQ(gRequests[2].selector, 19);
  EXPECT_EQ(gRequests[2].words, (std::vector<HostWord>{6, 7, 8, 0}));
  EXPECT_EQ(gRequests[3].selector, 20);
  EXPECT_EQ(gRequests[3].words, (std::vector<HostWord>{9, 10, 0, 0}));
  gStatus = -41;
  EXPECT_EQ(RequestHost13(1, 2, 3), -41);
  SetHostCallbackProcedure(nullptr);
  EXPECT_EQ(RequestHost20(1, 2), -7175);
}

TEST_F(HostRequestsTest, TheDriverAnswerComesBackThroughTheHostsWord) {
  StandInFrameworks frameworks;
  SetHostCallbackProcedure(Host);
  ASSERT_EQ(StartDSI(), 0);
  DsiDSP dsp = frameworks.DSI()->AddDSP(frameworks.DSI()->AddCard(21, 0), 1, 0, nullptr);
  gAnswer = 0x5150;
  gAnswersThroughWord = true;
  EXPECT_EQ(RequestDriverAnswer(dsp), 0x5150);
  ASSERT_EQ(gRequests.size(), 1u);
  EXPECT_EQ(gRequests[0].words[0], 0xEE90u);  // the stand-in's driver type for card 21
  gStatus = -42;
  try {
    RequestDriverAnswer(dsp);
    ADD_FAILURE() << "a failed request";
  } catch (const CDAEError& error) {
    EXPECT_EQ(error.Code(), -42);
  }
}
