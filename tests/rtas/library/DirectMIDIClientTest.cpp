#include "rtas/library/DirectMIDIClient.h"

#include <gtest/gtest.h>

#include "rtas/library/HostFrameworkAccess.h"
#include "tests/rtas/library/StandInFrameworks.h"

TEST(DirectMIDIClient, TheEngineIsToldWhichProcessLeaves) {
  StandInFrameworks frameworks(StandInFrameworks::kDAE);
  int process = 0;
  EXPECT_EQ(UnregisterDirectMIDIClient(&process), -2812);  // the engine not loaded yet
  ASSERT_EQ(InitDAELibAccess(), 0);
  EXPECT_EQ(UnregisterDirectMIDIClient(&process), 0);
  SStandInCall call{};
  const int32_t last = frameworks.DAE()->mCommon.CountCalls(nullptr) - 1;
  ASSERT_TRUE(frameworks.DAE()->mCommon.GetCall(last, &call));
  EXPECT_STREQ(call.mName, "FicUnRegisterDirectMIDIClient");
  EXPECT_EQ(call.mArgs[0], reinterpret_cast<intptr_t>(&process));
}
