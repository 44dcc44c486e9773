#include "rtas/binding/IPlugRTAS.h"

#include <gtest/gtest.h>

#include "framework/LatencyDelayLine.h"
#include "framework/Utilities.h"

namespace {

class RtasPlug : public IPlugRTAS {
 public:
  explicit RtasPlug(int latency)
      : IPlugRTAS(3, 3, "1-1 2-2", 1, "Brimlow", "", "Kestrelbay", 0x30203, FourCharCode("KB30"),
                  FourCharCode("KBYX"), latency, false, true, false, 0) {}
};

}  // namespace

TEST(IPlugRTAS, ConstructionConnectsChannelsAndMakesTheDelayLine) {
  RtasPlug plug(128);
  EXPECT_EQ(plug.GetAPI(), IPlugBase::kAPIRTAS);
  EXPECT_EQ(plug.NInChannels(), 2);
  EXPECT_TRUE(plug.IsInChannelConnected(1));
  EXPECT_TRUE(plug.IsOutChannelConnected(1));
  EXPECT_EQ(plug.GetBlockSize(), 1024);
  ASSERT_NE(plug.GetLatencyDelayLine(), nullptr);
  EXPECT_EQ(plug.GetLatencyDelayLine()->GetLength(), 128);
  EXPECT_EQ(plug.GetUniqueID(), 0x4B423330);
}

TEST(IPlugRTAS, HostIsProToolsOnFirstAsk) {
  RtasPlug plug(0);
  EXPECT_EQ(plug.GetHost(), 2);
  EXPECT_EQ(plug.GetHostVersion(), 10);
  RtasPlug versioned(0);
  versioned.SetHostProcessVersion(0x0A0300);
  EXPECT_EQ(versioned.GetHost(), 2);
  EXPECT_EQ(versioned.GetHostVersion(), 0x0A0300);
  EXPECT_STREQ(versioned.GetHostName().Get(), "ProTools");
}
