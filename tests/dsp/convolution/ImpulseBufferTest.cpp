#include "dsp/convolution/ImpulseBuffer.h"

#include <gtest/gtest.h>

namespace {

TEST(ImpulseBuffer, ChannelCountIsClamped) {
  struct Case { int asked, got; };
  for (const Case& c : {Case{5, 2}, Case{2, 2}, Case{1, 1}, Case{0, 1}, Case{-3, 1}}) {
    ImpulseBuffer buffer;
    buffer.SetNumChannels(c.asked);
    EXPECT_EQ(buffer.GetNumChannels(), c.got) << c.asked;
  }
  ImpulseBuffer fresh;
  EXPECT_EQ(fresh.GetNumChannels(), 1);
  EXPECT_EQ(fresh.GetLength(0), 0);
  EXPECT_EQ(fresh.samplerate, 44100.0);
}

TEST(ImpulseBuffer, LengthChangesKeepSamplesAndZeroTheNewOnes) {
  ImpulseBuffer buffer;
  ASSERT_EQ(buffer.SetLength(3), 3);
  double* s = buffer.GetSamples(0);
  s[0] = 1.0;
  s[1] = 2.0;
  s[2] = 3.0;
  ASSERT_EQ(buffer.SetLength(6), 6);
  s = buffer.GetSamples(0);
  EXPECT_EQ(s[0], 1.0);
  EXPECT_EQ(s[2], 3.0);
  EXPECT_EQ(s[3], 0.0);
  EXPECT_EQ(s[5], 0.0);
  EXPECT_EQ(buffer.SetLength(2), 2);
  EXPECT_EQ(buffer.GetSamples(0)[1], 2.0);
  EXPECT_EQ(buffer.SetLength(-4), 0);
  EXPECT_EQ(buffer.GetSamples(0), nullptr);
  EXPECT_EQ(buffer.GetSamples(2), nullptr);
  EXPECT_EQ(buffer.GetLength(-1), 0);
}

TEST(ImpulseBuffer, NewChannelCopiesChannelZeroAndDroppedChannelsEmpty) {
  ImpulseBuffer buffer;
  buffer.SetLength(4);
  for (int i = 0; i < 4; ++i) buffer.GetSamples(0)[i] = i + 0.5;
  buffer.SetNumChannels(2);
  ASSERT_EQ(buffer.GetLength(1), 4);
  for (int i = 0; i < 4; ++i) EXPECT_EQ(buffer.GetSamples(1)[i], i + 0.5);

  // Both channels follow later length changes.
  EXPECT_EQ(buffer.SetLength(8), 8);
  EXPECT_EQ(buffer.GetLength(1), 8);
  EXPECT_EQ(buffer.GetSamples(1)[7], 0.0);

  buffer.SetNumChannels(1);
  EXPECT_EQ(buffer.GetLength(1), 0);
  EXPECT_EQ(buffer.GetLength(0), 8);
}

}  // namespace
